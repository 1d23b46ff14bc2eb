// The coloured elements of the incisal table and how one is chosen for a
// position from the inclination computed for it.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "worksheet.h"

namespace kx {

enum class TableElement { Blue, Green, Orange, OrangeYellow };
inline constexpr std::size_t kTableElementCount = 4;
// Each element's name as the tiles show it in one language, UTF-8.
using ElementNames = std::array<std::string, kTableElementCount>;
enum class TablePosition { Front, Wing };

// Each range includes its lower bound and excludes its upper one.
TableElement chooseElement(TablePosition position, float inclination);

struct ElementLook {
    Rgb box;
    Rgb back;
    Rgb fore;
};
ElementLook elementLook(TableElement e);

}  // namespace kx
