#pragma once

#include <string>

class CGameScreens;
class CGameWorld;

// Every frame the input field, the inventory and the info text follow the
// setup and inventory stores, which the scripts change.
class CScreenSync {
public:
    CScreenSync(CGameScreens& screens, CGameWorld& world);

    void Update();
    // Fills the inventory window with the carried items when the inventory
    // changed, or always when forced.
    void RefreshInventory(bool force);
    // As at the start of a game: nothing shown yet.
    void Reset();

private:
    void ShowInfoText();

    CGameScreens& m_screens;
    CGameWorld& m_world;
    // The setup store's "info" as the input field shows it.
    std::u16string m_infoShown;
};
