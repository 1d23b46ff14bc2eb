// How assistive technology (screen readers, voice and switch control) sees
// our own controls.
#pragma once

namespace kx {

// Teaches the accessibility layer our controls: a picture that does something
// when clicked is a button that can be pressed, the link label is a link that
// can be pressed and tells its shortcut, and an arrow pair reports the angle
// it stands for. Call before the first window is built; later calls do nothing.
void installAccessibleControls();

}  // namespace kx
