#include "worksheet.h"

namespace kx {

std::string_view fieldName(Field f) {
    // clang-format off
    static constexpr std::array<std::string_view, kFieldCount> names = {
        "txtFrontX", "txtFrontZ",
        "SCIleft", "SCIright", "TCIleft", "TCIright",
        "txtLeftX", "txtLeftY", "txtLeftZ",
        "txtRightX", "txtRightY", "txtRightZ",
        "ag", "agtable", "canineright", "caninetableright", "canineleft", "caninetableleft",
    };
    // clang-format on
    return names[static_cast<std::size_t>(f)];
}

TileControls tileControls(TilePosition position) {
    static constexpr std::array<TileControls, kTileCount> controls = {{
        {"lblRightTableColor", "txtRightTableColor"},
        {"lblLeftTableColor", "txtLeftTableColor"},
        {"lblFrontTableColor", "txtFrontTableColor"},
    }};
    return controls[static_cast<std::size_t>(position)];
}

}  // namespace kx
