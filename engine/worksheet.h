// The working area of the calculation as one plain value: the fields it
// reads and writes, as the text the number rules make of them, the three
// tiles it fills, and the two switches beside them. The input handlers and
// the calculation read and write it directly; the window shows the tiles
// from it, and no person ever sees the rest.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kx {

// A field is named after the window's control that would show it, as it is
// named everywhere: in the scenarios, the tests and the control table.
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
};
// clang-format on
inline constexpr std::size_t kFieldCount = 18;

std::string_view fieldName(Field f);

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Rgb, Rgb) = default;
};

// The colour tiles in the order a calculation fills them. A tile is two
// controls: its box, a label, and the text field inside it.
enum class TilePosition : std::uint8_t { Right, Left, Front };
inline constexpr std::size_t kTileCount = 3;

struct TileControls {
    std::string_view box, text;
};
TileControls tileControls(TilePosition position);

// The table element a tile names: its name in the window's language (UTF-8)
// and its colours.
struct Tile {
    std::string text;
    Rgb box, back, fore;
};

struct Worksheet {
    std::array<std::string, kFieldCount> fields;  // UTF-8
    std::array<Tile, kTileCount> tiles;
    // The two check boxes of the working area: automatic calculation, and the
    // debug height's box (0 clear, 1 ticked).
    bool autocalc = true;
    int debug = 0;

    std::string& operator[](Field f) { return fields[std::size_t(f)]; }
    const std::string& operator[](Field f) const { return fields[std::size_t(f)]; }
    Tile& operator[](TilePosition p) { return tiles[std::size_t(p)]; }
    const Tile& operator[](TilePosition p) const { return tiles[std::size_t(p)]; }
};

}  // namespace kx
