#pragma once

#include <string>

// What the menu asks of the running game: a new game, savegames, the end.
class IGameSession {
public:
    // The game world starts over as at start-up; the window, the device and the screens stay.
    virtual void RestartGame() = 0;
    virtual void Save(int slot, const std::string& description) = 0;
    virtual void Load(int slot) = 0;
    virtual std::string ConstructSavegameDescription() = 0;
    // The picture a save keeps, taken before the menu covers the scene.
    virtual void TakeSavePicture() = 0;
    virtual void Quit() = 0;

protected:
    ~IGameSession() = default;
};
