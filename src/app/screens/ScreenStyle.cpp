#include "app/screens/ScreenStyle.h"

#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentProgress.h"

namespace ScreenStyle {

namespace {

struct FrameLook {
    int border;
    std::uint32_t light;
    std::uint32_t dark;
    std::uint32_t fill;
    bool raised;
};

constexpr FrameLook kWindow{4, 0xE0A8A0A4, 0xE0403A3C, 0xD0302C30, true};
constexpr FrameLook kButton{2, 0xF0C0B8BC, 0xF0403A3C, 0xE0686064, true};
constexpr FrameLook kWell{2, 0xE0A8A0A4, 0xE0282426, 0xE0181618, false};

// A text colour (red in the low byte) as an opaque frame colour (ARGB).
constexpr std::uint32_t Opaque(std::uint32_t text) {
    return 0xFF000000 | (text & 0xFF) << 16 | (text & 0xFF00) | (text >> 16 & 0xFF);
}

// Marks and slider levels take the highlight's colour, as chosen entries do.
constexpr std::uint32_t kMarkColour = Opaque(kHighlightText);
constexpr FrameLook kMark{0, kMarkColour, kMarkColour, kMarkColour, false};
// Beyond its level a slider is as dark as a well.
constexpr std::uint32_t kSliderRest = kWell.fill;

void Apply(CGuiComponentFrame& frame, const FrameLook& look) {
    frame.SetStyle(look.border, look.light, look.dark, look.fill, look.raised);
}

} // namespace

void StyleWindow(CGuiComponentFrame& frame) {
    Apply(frame, kWindow);
}

void StyleButton(CGuiComponentFrame& frame) {
    Apply(frame, kButton);
}

void StyleWell(CGuiComponentFrame& frame) {
    Apply(frame, kWell);
}

void StyleMark(CGuiComponentFrame& frame) {
    Apply(frame, kMark);
}

void StyleSlider(CGuiComponentProgress& slider) {
    slider.SetColours(kMarkColour, kSliderRest);
}

} // namespace ScreenStyle
