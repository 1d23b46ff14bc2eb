#include "fields.h"

#include <array>

namespace kx {

std::string_view fieldName(Field f) {
    // clang-format off
    static constexpr std::array<std::string_view, kFieldCount> names = {
        "txtFrontX", "txtFrontZ",
        "SCIleft", "SCIright", "TCIleft", "TCIright",
        "txtLeftX", "txtLeftY", "txtLeftZ",
        "txtRightX", "txtRightY", "txtRightZ",
        "ag", "agtable", "canineright", "caninetableright", "canineleft", "caninetableleft",
        "lblRightTableColor", "txtRightTableColor",
        "lblLeftTableColor", "txtLeftTableColor",
        "lblFrontTableColor", "txtFrontTableColor",
    };
    // clang-format on
    return names[static_cast<std::size_t>(f)];
}

}  // namespace kx
