// The coloured elements of the incisal table and how one is chosen for a
// position from the inclination computed for it.
#pragma once

#include <cstddef>

#include "fields.h"

namespace kx {

enum class TableElement { Blue, Green, Orange, OrangeYellow };
inline constexpr std::size_t kTableElementCount = 4;
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
