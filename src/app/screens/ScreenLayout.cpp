#include "app/screens/ScreenLayout.h"

#include "app/screens/CScreenButton.h"
#include "render/gui/CGuiComponentText.h"

#include <algorithm>

namespace ScreenLayout {

void PlaceText(CGuiComponentText& text, int left, int rowTop, int rowHeight) {
    const int top = rowTop + std::max(0, (rowHeight - text.TextHeight()) / 2);
    text.SetRect(left, top, left + text.TextWidth(), top + text.TextHeight());
}

void PlaceCloseButton(CScreenButton& button, int windowWidth, int inset) {
    const int right = windowWidth - inset;
    button.SetRect(right - kCloseButtonWidth, inset, right, inset + kCloseButtonHeight);
}

} // namespace ScreenLayout
