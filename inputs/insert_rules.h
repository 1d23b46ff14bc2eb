// The insert colours: one row each, with the offset it adds to a scale angle
// of each inclination kind, how a list shows it when chosen and which lists
// offer it. The lists show the offered inserts in the order of the table; an
// insert's name in each language is a row of the language table
// (window/texts.cpp, insertName).
#pragma once

#include <cstddef>
#include <optional>

#include "worksheet.h"

namespace kx {

enum class Inclination { Sagittal, Transversal };

enum class Insert { White, Yellow, Red, Blue, Black };

struct InsertLook {
    Rgb back, fore;
};

struct InsertColour {
    Insert insert;
    // Added once in single precision to the scale angle.
    float sciOffset, tciOffset;
    InsertLook look;
    bool inSciLists, inTciLists;
};

// The inserts' colours, as a list shows the one chosen.
namespace palette {
inline constexpr Rgb white{255, 255, 255}, black{0, 0, 0}, yellow{255, 255, 0}, red{255, 0, 0}, blue{0, 0, 255};
}  // namespace palette

// clang-format off
inline constexpr InsertColour kInserts[] = {
    {Insert::White,  1.61f, 0.0f,  {palette::white,  palette::black}, true, true},
    {Insert::Yellow, 1.61f, 9.2f,  {palette::yellow, palette::black}, true, true},
    {Insert::Red,    1.61f, 16.4f, {palette::red,    palette::black}, true, true},
    {Insert::Blue,   0.0f,  23.2f, {palette::blue,   palette::white}, true, true},
    {Insert::Black,  1.61f, 0.0f,  {palette::black,  palette::white}, true, false},
};
// No insert chosen (index -1), or an index beyond the list: SCI adds 1.61 as
// every insert but blue, TCI adds nothing, and the list looks white.
inline constexpr InsertColour kNoInsert = {Insert::White, 1.61f, 0.0f, {palette::white, palette::black}, false, false};
// clang-format on
inline constexpr std::size_t kInsertCount = std::size(kInserts);
// Each insert stands at its own place: kInserts[std::size_t(insert)].
constexpr bool inEnumOrder() {
    for (std::size_t i = 0; i < kInsertCount; ++i)
        if (kInserts[i].insert != Insert(i))
            return false;
    return true;
}
static_assert(inEnumOrder());

// The insert a list of each kind starts with, and puts back when a person
// types into its edit part.
constexpr Insert defaultInsert(Inclination kind) {
    return kind == Inclination::Sagittal ? Insert::Blue : Insert::White;
}

// Whether lists of this kind offer the insert.
constexpr bool offers(Inclination kind, const InsertColour& c) {
    return kind == Inclination::Sagittal ? c.inSciLists : c.inTciLists;
}

// The row at a list's selected index; kNoInsert for -1 or any index beyond
// the list.
const InsertColour& insertAt(Inclination kind, int index);
// Where the insert stands in a list of this kind, if it is offered there.
std::optional<int> listIndex(Inclination kind, Insert insert);

// The insert rules: the offset of the insert at a list index added to the
// scale angle, once, in single precision.
float sciWithInsert(int index, float angle);
float tciWithInsert(int index, float angle);
float withInsert(Inclination kind, int index, float angle);

InsertLook insertLook(Inclination kind, int index);

}  // namespace kx
