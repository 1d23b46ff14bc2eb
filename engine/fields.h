// The narrow interface through which the calculation reaches the window: the
// fields it reads and writes, the tiles it colours and the current language.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kx {

// Grouped one line per kind of field, as the window lays them out.
// clang-format off
enum class Field : std::uint8_t {
    // inputs
    txtFrontX, txtFrontZ,
    SCIleft, SCIright, TCIleft, TCIright,
    txtLeftX, txtLeftY, txtLeftZ,
    txtRightX, txtRightY, txtRightZ,
    // results
    ag, agtable, canineright, caninetableright, canineleft, caninetableleft,
    // the tiles: a box and the text field inside it
    lblRightTableColor, txtRightTableColor,
    lblLeftTableColor, txtLeftTableColor,
    lblFrontTableColor, txtFrontTableColor,
};
// clang-format on
inline constexpr std::size_t kFieldCount = 24;

// The control name of a field, as the window names its controls.
std::string_view fieldName(Field f);

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Rgb, Rgb) = default;
};

enum class TableElement;

class CalcFields {
public:
    virtual ~CalcFields() = default;
    virtual std::string text(Field f) const = 0;  // UTF-8
    virtual void setText(Field f, std::string_view utf8) = 0;
    virtual void setBackColor(Field f, Rgb c) = 0;
    virtual void setForeColor(Field f, Rgb c) = 0;
    // A table element's name as a tile shows it: in the window's language.
    virtual std::string elementName(TableElement e) const = 0;  // UTF-8
};

class CalcFault;
class FaultReporter {
public:
    virtual ~FaultReporter() = default;
    virtual void reportFault(const CalcFault& fault) = 0;
};

}  // namespace kx
