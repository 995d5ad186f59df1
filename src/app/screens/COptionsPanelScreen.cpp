#include "app/screens/COptionsPanelScreen.h"

#include "app/screens/ScreenLayout.h"
#include "app/screens/ScreenStyle.h"
#include "render/gui/CGuiComponentFrame.h"
#include "render/gui/CGuiComponentList.h"
#include "render/gui/CGuiComponentProgress.h"
#include "render/gui/CGuiComponentText.h"
#include "resources/CADVException.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace {

// Each row: its label at the panel's padding, its controls from kControlLeft.
constexpr int kControlLeft = 220;
constexpr int kRowHeight = 28;
constexpr int kRowGap = 6;
constexpr int kSliderWidth = 300;
constexpr int kSliderHeight = 14;
// Room for the 4:3 modes a display offers at 1024 pixels wide and more.
constexpr int kResolutionRows = 3;
constexpr int kResolutionLastColumn = 4;
constexpr int kModeRowHeight = 22;
constexpr int kQualityBoxWidth = 100;
constexpr int kSwitchBoxWidth = 140;
constexpr int kChoiceGap = 10;

constexpr int kEffectsRowTop = CMenuPanelScreen::kPadding + CMenuPanelScreen::kTitleHeight + 2 * kRowGap;
constexpr int kMusicRowTop = kEffectsRowTop + kRowHeight + kRowGap;
constexpr int kResolutionRowTop = kMusicRowTop + kRowHeight + kRowGap;
constexpr int kQualityRowTop = kResolutionRowTop + kResolutionRows * kModeRowHeight + kRowGap;
constexpr int kSwitchesRowTop = kQualityRowTop + kRowHeight + kRowGap;
// The note stands apart from the controls above it.
constexpr int kNoteTop = kSwitchesRowTop + kRowHeight + 2 * kRowGap;

void AddLabel(CGuiComponent& panel, const char* text, int rowTop) {
    CGuiComponentText& label =
        panel.CreateChild<CGuiComponentText>(ScreenStyle::kText, ScreenStyle::kFontHeight);
    label.SetText(text);
    ScreenLayout::PlaceText(label, CMenuPanelScreen::kPadding, rowTop, kRowHeight);
}

void PlaceSlider(CGuiComponentProgress& slider, int rowTop) {
    ScreenStyle::StyleSlider(slider);
    const int top = rowTop + (kRowHeight - kSliderHeight) / 2;
    slider.SetRect(kControlLeft, top, kControlLeft + kSliderWidth, top + kSliderHeight);
}

// The boxes side by side from kControlLeft, each `width` wide.
void PlaceInRow(std::initializer_list<CScreenCheckBox*> boxes, int rowTop, int width) {
    int left = kControlLeft;
    for (CScreenCheckBox* box : boxes) {
        box->SetRect(left, rowTop, left + width, rowTop + kRowHeight);
        left += width + kChoiceGap;
    }
}

} // namespace

COptionsPanelScreen::COptionsPanelScreen(CGuiComponent& parent)
    : CMenuPanelScreen(parent, kTitle), m_close(m_frame, kCloseText),
      m_effects(m_frame.CreateChild<CGuiComponentProgress>()),
      m_music(m_frame.CreateChild<CGuiComponentProgress>()),
      m_resolutions(m_frame.CreateChild<CGuiComponentList>()),
      m_qualities{{{m_frame, kQualityChoices[0].text},
                   {m_frame, kQualityChoices[1].text},
                   {m_frame, kQualityChoices[2].text}}},
      m_shadows(m_frame, "Shadows"), m_lightFx(m_frame, "Light FX"), m_mirrors(m_frame, "Mirrors"),
      m_note(m_frame.CreateChild<CGuiComponentText>(ScreenStyle::kText, ScreenStyle::kSmallFontHeight)) {
    ScreenLayout::PlaceCloseButton(m_close, kWidth, kPadding);

    AddLabel(m_frame, "Effects volume:", kEffectsRowTop);
    PlaceSlider(m_effects, kEffectsRowTop);
    AddLabel(m_frame, "Music volume:", kMusicRowTop);
    PlaceSlider(m_music, kMusicRowTop);

    AddLabel(m_frame, "Screen resolution:", kResolutionRowTop);
    m_resolutions.SetStyle(ScreenStyle::kText, ScreenStyle::kHighlightText, ScreenStyle::kSmallFontHeight,
                           kResolutionLastColumn);
    m_resolutions.SetRect(kControlLeft, kResolutionRowTop, kWidth - kPadding,
                          kResolutionRowTop + kResolutionRows * kModeRowHeight);

    AddLabel(m_frame, "Texture quality:", kQualityRowTop);
    PlaceInRow({&m_qualities[0], &m_qualities[1], &m_qualities[2]}, kQualityRowTop, kQualityBoxWidth);
    PlaceInRow({&m_shadows, &m_lightFx, &m_mirrors}, kSwitchesRowTop, kSwitchBoxWidth);

    m_note.SetText(kNote);
    m_note.SetRect(kPadding, kNoteTop, kWidth - kPadding, kHeight - kPadding);
}

void COptionsPanelScreen::SetEffectsSlider(int value) {
    m_effects.SetValue(value);
}

void COptionsPanelScreen::SetMusicSlider(int value) {
    m_music.SetValue(value);
}

int COptionsPanelScreen::EffectsSlider() const {
    return m_effects.Value();
}

int COptionsPanelScreen::MusicSlider() const {
    return m_music.Value();
}

const CGuiComponentProgress& COptionsPanelScreen::Slider(GameMenuTarget slider) const {
    switch (slider) {
    case GameMenuTarget::EffectsSlider:
        return m_effects;
    case GameMenuTarget::MusicSlider:
        return m_music;
    default:
        throw CADVException("COptionsPanelScreen::SliderValueAt - %d is no slider.",
                            static_cast<int>(slider));
    }
}

int COptionsPanelScreen::SliderValueAt(GameMenuTarget slider, int x) const {
    const CGuiComponentProgress& bar = Slider(slider);
    return std::clamp((x - bar.AbsoluteLeft()) * kSliderMaximum / bar.Width(), 0, kSliderMaximum);
}

void COptionsPanelScreen::SetResolutions(const std::vector<std::string>& modes, int selected) {
    m_resolutions.Clear();
    for (const std::string& mode : modes) {
        m_resolutions.AddItem(mode, false);
    }
    m_resolutions.LayOut();
    m_resolutions.Select(selected);
}

int COptionsPanelScreen::SelectedResolution() const {
    return m_resolutions.SelectedIndex();
}

void COptionsPanelScreen::SetTextureQuality(int quality) {
    m_quality = quality;
    for (std::size_t i = 0; i < m_qualities.size(); ++i) {
        m_qualities[i].SetChecked(kQualityChoices[i].quality == quality);
    }
}

int COptionsPanelScreen::TextureQuality() const {
    return m_quality;
}

void COptionsPanelScreen::SetSwitches(bool shadows, bool lightFx, bool mirrors) {
    m_shadows.SetChecked(shadows);
    m_lightFx.SetChecked(lightFx);
    m_mirrors.SetChecked(mirrors);
}

bool COptionsPanelScreen::Shadows() const {
    return m_shadows.Checked();
}

bool COptionsPanelScreen::LightFx() const {
    return m_lightFx.Checked();
}

bool COptionsPanelScreen::Mirrors() const {
    return m_mirrors.Checked();
}

GameMenuHit COptionsPanelScreen::HitAt(int x, int y) const {
    if (m_close.HitTest(x, y)) {
        return {GameMenuTarget::OptionsClose};
    }
    if (m_effects.HitTest(x, y)) {
        return {GameMenuTarget::EffectsSlider};
    }
    if (m_music.HitTest(x, y)) {
        return {GameMenuTarget::MusicSlider};
    }
    if (const int mode = m_resolutions.ItemAt(x, y); mode >= 0) {
        return {GameMenuTarget::Resolution, mode};
    }
    for (std::size_t i = 0; i < m_qualities.size(); ++i) {
        if (m_qualities[i].HitTest(x, y)) {
            return {GameMenuTarget::TextureQuality, kQualityChoices[i].quality};
        }
    }
    const std::pair<const CScreenCheckBox&, GameMenuTarget> switches[] = {
        {m_shadows, GameMenuTarget::Shadows},
        {m_lightFx, GameMenuTarget::LightFx},
        {m_mirrors, GameMenuTarget::Mirrors}};
    for (const auto& [box, target] : switches) {
        if (box.HitTest(x, y)) {
            return {target};
        }
    }
    return {};
}
