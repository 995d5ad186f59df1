#pragma once

#include "app/screens/CMenuPanelScreen.h"
#include "app/screens/CScreenButton.h"
#include "app/screens/CScreenCheckBox.h"
#include "app/screens/GameMenuTargets.h"

#include <array>
#include <string>
#include <vector>

class CGuiComponent;
class CGuiComponentList;
class CGuiComponentProgress;
class CGuiComponentText;

// The "Game options" panel the game menu opens with: the two volume sliders,
// the screen resolutions, the texture quality, the effect switches, a close
// button of its own and a note on what the choices ask of the graphics card.
class COptionsPanelScreen : public CMenuPanelScreen {
public:
    static constexpr const char* kTitle = "Game options";
    static constexpr const char* kNote =
        "Note: High texture quality is for graphics cards with at least 256MB\n"
        "Shadows, light fx and mirrors should only be disabled on older\n"
        "graphic cards. Some very fast cards with less than 256MB in combination\n"
        "with a fast computer, can handle high texture quality, try it.";
    static constexpr const char* kCloseText = "close";
    // Texture qualities are the divisors of the texture sizes.
    static constexpr int kHighQuality = 1;
    static constexpr int kMedQuality = 2;
    static constexpr int kLowQuality = 4;
    struct QualityChoice {
        int quality;
        const char* text;
    };
    // In the order the choices stand in their row.
    static constexpr std::array<QualityChoice, 3> kQualityChoices{
        {{kHighQuality, "High"}, {kMedQuality, "Med"}, {kLowQuality, "Low"}}};
    static constexpr int kSliderMaximum = 100;

    // Built hidden under `parent`: sliders at half, no resolutions, no
    // texture quality marked, every switch off.
    explicit COptionsPanelScreen(CGuiComponent& parent);

    // 0 .. kSliderMaximum; values beyond count as the nearer end.
    void SetEffectsSlider(int value);
    void SetMusicSlider(int value);
    int EffectsSlider() const;
    int MusicSlider() const;
    // The value (0 .. kSliderMaximum) for a cursor at x over the slider's bar,
    // clamped at its ends, so dragging past them keeps the end's value.
    // `slider` is EffectsSlider or MusicSlider; anything else throws.
    int SliderValueAt(GameMenuTarget slider, int x) const;

    // The modes in order, `selected` (-1: none) highlighted.
    void SetResolutions(const std::vector<std::string>& modes, int selected);
    int SelectedResolution() const;
    // kHighQuality, kMedQuality or kLowQuality is marked; another value
    // marks none.
    void SetTextureQuality(int quality);
    // As last set; 0 before.
    int TextureQuality() const;
    void SetSwitches(bool shadows, bool lightFx, bool mirrors);
    bool Shadows() const;
    bool LightFx() const;
    bool Mirrors() const;

    // OptionsClose, a slider, Resolution with the mode's place, TextureQuality
    // with the quality, a switch, or None.
    GameMenuHit HitAt(int x, int y) const override;

    const CScreenButton& CloseButton() const { return m_close; }
    const CGuiComponentProgress& EffectsBar() const { return m_effects; }
    const CGuiComponentProgress& MusicBar() const { return m_music; }
    const CGuiComponentList& ResolutionList() const { return m_resolutions; }
    // In the order of kQualityChoices.
    const std::array<CScreenCheckBox, 3>& QualityBoxes() const { return m_qualities; }
    const CScreenCheckBox& ShadowsBox() const { return m_shadows; }
    const CScreenCheckBox& LightFxBox() const { return m_lightFx; }
    const CScreenCheckBox& MirrorsBox() const { return m_mirrors; }
    const CGuiComponentText& Note() const { return m_note; }

private:
    const CGuiComponentProgress& Slider(GameMenuTarget slider) const;

    CScreenButton m_close;
    CGuiComponentProgress& m_effects;
    CGuiComponentProgress& m_music;
    CGuiComponentList& m_resolutions;
    std::array<CScreenCheckBox, 3> m_qualities;
    CScreenCheckBox m_shadows;
    CScreenCheckBox m_lightFx;
    CScreenCheckBox m_mirrors;
    CGuiComponentText& m_note;
    int m_quality = 0;
};
