#pragma once

#include <cstdint>

class CGuiComponentFrame;
class CGuiComponentProgress;

// The look the game's screens share, kept in one place so they match.
namespace ScreenStyle {

// Text colours are GDI colours: red in the low byte.
constexpr std::uint32_t kText = 0xFFFFFF;
// The entry under the cursor or the one chosen.
constexpr std::uint32_t kHighlightText = 0x0040C0FF;
// Window captions, set apart from the entries under them.
constexpr std::uint32_t kCaptionText = 0x0080FFFF;

constexpr int kFontHeight = -19;
// Lines beside the main text, such as the info text.
constexpr int kSmallFontHeight = -16;

// Windows and panels: a raised bevel round a dark fill that lets a little of
// the scene show through.
void StyleWindow(CGuiComponentFrame& frame);
// Buttons: a narrow raised bevel, lighter than the windows.
void StyleButton(CGuiComponentFrame& frame);
// Where typed text goes, and the panels set into a window: sunk, darker.
void StyleWell(CGuiComponentFrame& frame);
// What shows a switch is on: a flat patch in the highlight's colour.
void StyleMark(CGuiComponentFrame& frame);
// A bar dragged along to set a level: bright up to the level, dark after it.
void StyleSlider(CGuiComponentProgress& slider);

} // namespace ScreenStyle
