#pragma once

#include "app/savegame/CSaveSlots.h"
#include "app/screens/CGameMenuScreen.h"

#include <cstdint>
#include <string>
#include <vector>

class CGame;

// The game menu's rules: what opening and closing it reads and writes, what
// each of its buttons, slots, sliders and switches does, and its keyboard
// shortcuts. The screen only shows it.
class CGameMenu {
public:
    // Sliders run from 0 to 100; volumes from 0 to 64.
    static constexpr int kSliderMaximum = 100;
    static constexpr int kVolumeMaximum = 64;
    static constexpr int kDefaultVolume = 64;

    explicit CGameMenu(CGame& game);

    bool Shown() const;
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

    CGame& m_game;
    CGameMenuScreen::Panel m_panel = CGameMenuScreen::Panel::Options;
    std::vector<CSaveSlots::Slot> m_slots;
    int m_slotShown = -1;
    // The display's modes as the resolution list shows them.
    std::vector<std::string> m_modes;
    // Whether the Load and Save buttons are shown, so their shortcuts are too.
    bool m_mayLoad = false;
    bool m_maySave = false;
};
