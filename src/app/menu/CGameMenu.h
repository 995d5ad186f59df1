#pragma once

#include "app/savegame/CSaveSlots.h"
#include "app/screens/CGameMenuScreen.h"

#include <cstdint>
#include <string>
#include <vector>

class CDisplay;
class CGameScreens;
class CGameWorld;
class CSettings;
class IGameSession;

// The game menu's rules: what opening and closing it reads and writes, what
// each of its buttons, slots, sliders and switches does, and its keyboard
// shortcuts. The screen only shows it.
class CGameMenu {
public:
    // Sliders run from 0 to 100; volumes from 0 to 64.
    static constexpr int kSliderMaximum = 100;
    static constexpr int kVolumeMaximum = 64;

    // A volume's slider position and back, each rounded to the nearest, so
    // that opening and closing the menu gives every volume back unchanged.
    static int SliderOf(int volume) { return (volume * kSliderMaximum + kVolumeMaximum / 2) / kVolumeMaximum; }
    static int VolumeOf(int slider) { return (slider * kVolumeMaximum + kSliderMaximum / 2) / kSliderMaximum; }

    CGameMenu(IGameSession& session, CGameScreens& screens, CSettings& settings, CDisplay& display,
              CGameWorld& world, CSaveSlots& slots);

    bool Shown() const;
    // Shown with a panel other than the options open.
    bool PanelOpen() const { return Shown() && m_panel != CGameMenuScreen::Panel::Options; }
    // Fills the options panel from the settings and shows the menu.
    void Open();
    // Hides it and writes the volumes.
    void Close();
    void Toggle();

    // A left click released at (x, y), in back-buffer pixels.
    void Click(int x, int y);
    // Every frame: the cursor over the menu, with the left button down or not.
    void CursorMoved(int x, int y, bool leftDown);
    // Escape: back from a panel to the options, or out of the menu.
    void Escape();
    // A typed character while the menu is shown: L, S, R, Q, Y, N, G, Enter.
    void Shortcut(std::uint32_t character);

private:
    void Act(const CGameMenuScreen::Hit& hit);
    void OpenSlots(CGameMenuScreen::Panel panel);
    void ChooseSlot(int slot);
    void Confirm();
    void ShowSlotUnder(int x, int y);
    void Slide(CGameMenuScreen::Target slider, int x);
    void ToggleSwitch(const char* setting);

    void ShowSwitches();

    IGameSession& m_session;
    CGameScreens& m_screens;
    CSettings& m_settings;
    CDisplay& m_display;
    CGameWorld& m_world;
    CSaveSlots& m_saveSlots;
    // The sliders' positions, 0 to 100, written to the settings as volumes when the menu closes.
    int m_effectsSlider = 0;
    int m_musicSlider = 0;
    CGameMenuScreen::Panel m_panel = CGameMenuScreen::Panel::Options;
    std::vector<CSaveSlots::Slot> m_slots;
    int m_slotShown = -1;
    // The display's modes as the resolution list shows them.
    std::vector<std::string> m_modes;
    // Whether the Load and Save buttons are shown, so their shortcuts are too.
    bool m_mayLoad = false;
    bool m_maySave = false;
};
