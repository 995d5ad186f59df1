// Savegames of the running game: what a save writes, and a load that rebuilds
// the world from a fresh start.
#include "app/CGame.h"

#include "app/savegame/CSaveSlots.h"
#include "app/savegame/CSavegameReader.h"
#include "app/savegame/CSavegameWriter.h"
#include "render/C3DEngine2.h"
#include "render/device/DDevice.h"
#include "resources/CADVException.h"
#include "scene/CScene.h"
#include "script/CScriptEngine.h"
#include "script/TextConversion.h"
#include "state/CState.h"

#include <cstdio>

namespace {

constexpr const char* kSaved = "Game saved.";
constexpr const char* kSaveFailed = "Error: Savegame could not be created.";
constexpr const char* kDefaultDescription = "saved game";
constexpr const char* kLoadFailed = "The savegame could not be loaded.";

} // namespace

std::string CGame::ConstructSavegameDescription() {
    Variant result;
    m_scriptEngine->Call("ConstructSavegameDescription", {}, &result);
    return result.Type() == VT_BSTR ? WideToAnsi(result.BstrValue()) : kDefaultDescription;
}

void CGame::TakeSavePicture() {
    std::vector<std::uint8_t> rgba;
    int width = 0;
    int height = 0;
    if (SUCCEEDED(m_device->ReadBackBuffer(rgba, &width, &height))) {
        m_savePicture = SavePicture(rgba, width, height);
    } else {
        m_savePicture.reset();
    }
}

void CGame::Save(int slot, const std::string& description) {
    try {
        if (m_scene == nullptr) {
            throw CADVException("CGame::Save() - There is no scene to save.");
        }
        const std::vector<std::uint8_t> content =
            WriteSavegame(description, {*m_state, *m_inventory, *m_setup, *m_scene, *m_renderer, m_polygons});
        m_slots->Write(slot, content, m_savePicture ? &*m_savePicture : nullptr);
        m_messageBoxes.Push({kSaved, {}, {}});
    } catch (const CADVException& error) {
        // Also on stderr: the box goes away, a lost save is worth a trace.
        std::fprintf(stderr, "morvane: %s\n", error.Reason());
        m_messageBoxes.Push({error.Reason(), {}, {}});
    } catch (const std::exception& error) {
        std::fprintf(stderr, "morvane: %s (%s)\n", kSaveFailed, error.what());
        m_messageBoxes.Push({kSaveFailed, {}, {}});
    }
}

void CGame::Load(int slot) {
    // Read and checked before anything is torn down: a slot that cannot be
    // read leaves the running game as it is.
    std::optional<CSavegameReader> reader;
    try {
        reader.emplace(m_slots->Read(slot), m_slots->SavegamePath(slot).filename().string());
        reader->ReadHeader();
    } catch (const CADVException& error) {
        m_messageBoxes.Push({error.Reason(), {}, {}});
        return;
    }
    RestartGame();
    try {
        RestoreSavegame(*reader);
    } catch (const CADVException& error) {
        std::fprintf(stderr, "morvane: %s: %s\n", m_slots->SavegamePath(slot).string().c_str(), error.GetText());
        RestartGame();
        m_messageBoxes.Push({kLoadFailed, {}, {}});
    }
}

void CGame::RestoreSavegame(CSavegameReader& reader) {
    UnloadScene();
    reader.ReadStores(*m_state, *m_inventory, *m_setup);
    // The scene's start-up scripts see "savegame" as the scene they came
    // from; everything they change in the state store is undone after.
    m_state->Backup();
    const std::string scene = StateSceneName();
    m_state->SetVariant(u"prevscene", Variant::Bstr(u"savegame"));
    LoadScene(scene);
    m_state->Restore();
    reader.ReadScene(*m_scene);
    reader.ReadCamera(*m_renderer);
    if (const std::optional<std::string> unknown = reader.ReadPolygons(m_polygons)) {
        // The world stands as saved but for that polygon: the player is told and plays on.
        m_messageBoxes.Push({*unknown, {}, {}});
    }
    reader.ReadEnd();
    m_scene->RebuildNavigation();
    EnterEventPolygons();
}
