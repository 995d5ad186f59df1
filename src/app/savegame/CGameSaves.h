#pragma once

#include "render/image/CImage.h"

#include <functional>
#include <optional>
#include <string>

class CGameWorld;
class CMessageBoxFlow;
class CSaveSlots;
class CSavegameReader;
class DDevice;

// Savegames of the running game: what a save writes, and a load that rebuilds
// the world from a fresh start. The message boxes say how each went.
class CGameSaves {
public:
    // `restart` starts the game world over as at start-up, screens and input included.
    CGameSaves(CGameWorld& world, CSaveSlots& slots, DDevice& device, CMessageBoxFlow& messageBoxes,
               std::function<void()> restart);

    // The game script's text for a new savegame, or "saved game".
    std::string ConstructSavegameDescription();
    // The picture a save keeps: the last frame, scaled down.
    void TakeSavePicture();
    // Writes the slot's savegame with the picture taken when the menu opened.
    void Save(int slot, const std::string& description);
    // Reads the slot's savegame and, when it can be read, restarts the game
    // world and restores it. A savegame that turns out damaged once the world
    // is gone leaves a world started afresh, never a half-restored one.
    void Load(int slot);

private:
    void Restore(CSavegameReader& reader);

    CGameWorld& m_world;
    CSaveSlots& m_slots;
    DDevice& m_device;
    CMessageBoxFlow& m_messageBoxes;
    std::function<void()> m_restart;
    std::optional<CImage> m_savePicture;
};
