#include "table_elements.h"

namespace kx {

TableElement chooseElement(TablePosition position, float inclination) {
    struct Bounds {
        float green, orange, orangeYellow;
    };
    constexpr Bounds wing{53.0f, 56.5f, 61.5f};
    constexpr Bounds front{47.5f, 51.0f, 56.5f};
    const Bounds& b = position == TablePosition::Front ? front : wing;
    if (inclination < b.green)
        return TableElement::Blue;
    if (inclination < b.orange)
        return TableElement::Green;
    if (inclination < b.orangeYellow)
        return TableElement::Orange;
    // A NaN never reaches here: a run that would produce one faults first.
    return TableElement::OrangeYellow;
}

ElementLook elementLook(TableElement e) {
    switch (e) {
        case TableElement::Blue: return {colors::blue, colors::blue, colors::white};
        case TableElement::Green: return {colors::green, colors::green, colors::black};
        case TableElement::Orange:
        case TableElement::OrangeYellow: return {colors::orange, colors::orange, colors::black};
    }
    return {};
}

}  // namespace kx
