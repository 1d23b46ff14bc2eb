// The coloured elements of the incisal table and how one is chosen for a
// position from the inclination computed for it.
#pragma once

#include <string_view>

#include "fields.h"

namespace kx {

enum class TableElement { Blue, Green, Orange, OrangeYellow };
enum class TablePosition { Front, Wing };

// Each range includes its lower bound and excludes its upper one.
TableElement chooseElement(TablePosition position, float inclination);

struct ElementLook {
    Rgb box;
    Rgb back;
    Rgb fore;
};
ElementLook elementLook(TableElement e);

// The element's name in language 0 German, 1 English, 2 Italian (UTF-8).
std::string_view elementName(TableElement e, int langIndex);

}  // namespace kx
