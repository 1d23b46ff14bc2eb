// The window's controls: type, place and size in twips, initial text, font,
// colours, visibility and place in the Tab order. An arrow pair's range is
// the angle range of its input (kInputSpecs in window_controls.h, angleRange).
#pragma once

#include <span>

namespace kx {

// A link is a label that opens its address when clicked.
enum class ControlKind { Label, Link, TextBox, MultiLine, ComboBox, ScrollBar, Picture, Button, CheckBox };

enum ControlFlag : unsigned {
    Hidden = 1u << 0,
    Centered = 1u << 1,
    Border3D = 1u << 2,
    BorderSingle = 1u << 3,
    Checked = 1u << 4,
};

struct ControlSpec {
    const char* name;
    ControlKind kind;
    int left, top, width, height;  // twips
    const char* text;              // initial text or caption, UTF-8
    const char* font;              // "Family size [bold] [underlined]"; "" is the window's font
    const char* back;              // "" default, a system colour name, or "#RRGGBB"
    const char* fore;
    unsigned flags;
    int tabIndex;
    const char* picture;  // resource name of the picture, if any
};

std::span<const ControlSpec> controlSpecs();

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidthTwips = 8355;
inline constexpr int kClientHeightTwips = 8700;
// Frame and title bar above and below the client area of a classic fixed
// window.
inline constexpr int kFrameHeightTwips = 480;
// The window's outer height once the debug box is ticked, and once cleared.
inline constexpr int kDebugOnOuterHeightTwips = 7485;
inline constexpr int kDebugOffOuterHeightTwips = 6030;

inline constexpr int twipsToPixels(int twips) {
    // Nearest pixel; no position is a half pixel.
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

}  // namespace kx
