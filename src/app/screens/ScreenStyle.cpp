#include "app/screens/ScreenStyle.h"

#include "render/gui/CGuiComponentFrame.h"

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

} // namespace ScreenStyle
