#pragma once

#include "app/savegame/CSavegameWriter.h"
#include "scene_support/SceneTestHost.h"
#include "state/CState.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CScene;

// The parts a savegame borrows, from a game stand-in: the scene "room" loaded
// from the given script with the box model "m.spr", the host's state store
// and two more for inventory and setup, and the named polygons given, all
// enabled. Two of them with the same script are the running game and the
// freshly loaded copy a savegame is read into.
class SavegameScene {
public:
    explicit SavegameScene(const std::string& sceneScript, std::vector<std::string> polygonNames = {});

    SceneTestHost& Host() { return m_host; }
    CScene& Scene() { return *m_host.Scene(); }
    CState& State() { return m_host.State(); }
    CState& Inventory() { return m_inventory; }
    CState& Setup() { return m_setup; }
    CPolygonTable& Polygons() { return m_host.Polygons(); }
    CSavegameParts Parts();

    std::vector<std::uint8_t> Save(const std::string& description = "saved game") {
        return WriteSavegame(description, Parts());
    }
    struct Loaded {
        std::string description;
        std::optional<std::string> unknownPolygon;
    };
    // Reads every section into this game in the order a load does.
    Loaded Load(std::vector<std::uint8_t> content, const std::string& source = "07.sav");

private:
    SceneTestHost m_host;
    CState m_inventory;
    CState m_setup;
};
