#include "table_elements.h"

namespace kx {

namespace {
// The tiles' colours.
constexpr Rgb blue{0, 0, 255}, green{0, 255, 0}, orange{255, 128, 0}, white{255, 255, 255}, black{0, 0, 0};
}  // namespace

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
        case TableElement::Blue: return {blue, blue, white};
        case TableElement::Green: return {green, green, black};
        case TableElement::Orange:
        case TableElement::OrangeYellow: return {orange, orange, black};
    }
    return {};
}

}  // namespace kx
