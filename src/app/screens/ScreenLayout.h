#pragma once

class CGuiComponentText;
class CScreenButton;

// Placing helpers and figures the game's screens share, so their windows line
// up alike.
namespace ScreenLayout {

// The "close" buttons in window corners.
constexpr int kCloseButtonWidth = 80;
constexpr int kCloseButtonHeight = 28;

// In the top-right corner of a window `windowWidth` wide, `inset` pixels in
// from the top and the right.
void PlaceCloseButton(CScreenButton& button, int windowWidth, int inset);

// Sizes the text component to its text, `left` pixels in, centred in the row
// from `rowTop` that is `rowHeight` high (from the row's top when taller).
void PlaceText(CGuiComponentText& text, int left, int rowTop, int rowHeight);

} // namespace ScreenLayout
