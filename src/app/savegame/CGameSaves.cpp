#include "app/savegame/CGameSaves.h"

#include "app/commands/CMessageBoxFlow.h"
#include "app/savegame/CSaveSlots.h"
#include "app/savegame/CSavegameReader.h"
#include "app/savegame/CSavegameWriter.h"
#include "app/world/CGameWorld.h"
#include "platform/DReport.h"
#include "render/C3DEngine2.h"
#include "render/device/DDevice.h"
#include "resources/CADVException.h"
#include "scene/CScene.h"
#include "script/CScriptEngine.h"
#include "script/TextConversion.h"
#include "state/CState.h"


namespace {

constexpr const char* kSaved = "Game saved.";
constexpr const char* kSaveFailed = "Error: Savegame could not be created.";
constexpr const char* kDefaultDescription = "saved game";
constexpr const char* kLoadFailed = "The savegame could not be loaded.";

} // namespace

CGameSaves::CGameSaves(CGameWorld& world, CSaveSlots& slots, DDevice& device, CMessageBoxFlow& messageBoxes,
                       std::function<void()> restart)
    : m_world(world), m_slots(slots), m_device(device), m_messageBoxes(messageBoxes),
      m_restart(std::move(restart)) {}

std::string CGameSaves::ConstructSavegameDescription() {
    Variant result;
    m_world.ScriptEngine().Call("ConstructSavegameDescription", {}, &result);
    return result.Type() == VT_BSTR ? WideToAnsi(result.BstrValue()) : kDefaultDescription;
}

void CGameSaves::TakeSavePicture() {
    std::vector<std::uint8_t> rgba;
    int width = 0;
    int height = 0;
    if (SUCCEEDED(m_device.ReadBackBuffer(rgba, &width, &height))) {
        m_savePicture = SavePicture(rgba, width, height);
    } else {
        m_savePicture.reset();
    }
}

void CGameSaves::Save(int slot, const std::string& description) {
    try {
        if (m_world.Scene() == nullptr) {
            throw CADVException("CGameSaves::Save - There is no scene to save.");
        }
        const std::vector<std::uint8_t> content =
            WriteSavegame(description, {m_world.State(), m_world.Inventory(), m_world.Setup(), *m_world.Scene(),
                                        m_world.Renderer(), m_world.Polygons()});
        m_slots.Write(slot, content, m_savePicture ? &*m_savePicture : nullptr);
        m_messageBoxes.Push({kSaved, {}, {}});
    } catch (const CADVException& error) {
        // Also on stderr: the box goes away, a lost save is worth a trace.
        ReportError(error.Reason());
        m_messageBoxes.Push({error.Reason(), {}, {}});
    } catch (const std::exception& error) {
        ReportError(std::string(kSaveFailed) + " (" + error.what() + ")");
        m_messageBoxes.Push({kSaveFailed, {}, {}});
    }
}

void CGameSaves::Load(int slot) {
    // Read and checked before anything is torn down: a slot that cannot be
    // read leaves the running game as it is.
    std::optional<CSavegameReader> reader;
    try {
        reader.emplace(m_slots.Read(slot), m_slots.SavegamePath(slot).filename().string());
        reader->ReadHeader();
    } catch (const CADVException& error) {
        m_messageBoxes.Push({error.Reason(), {}, {}});
        return;
    }
    m_restart();
    try {
        Restore(*reader);
    } catch (const CADVException& error) {
        ReportError(m_slots.SavegamePath(slot).string() + ": " + error.GetText());
        m_restart();
        m_messageBoxes.Push({kLoadFailed, {}, {}});
    }
}

void CGameSaves::Restore(CSavegameReader& reader) {
    m_world.UnloadScene();
    CState& state = m_world.State();
    reader.ReadStores(state, m_world.Inventory(), m_world.Setup());
    // The scene's start-up scripts see "savegame" as the scene they came
    // from; everything they change in the state store is undone after.
    state.Backup();
    const std::string scene = m_world.StateSceneName();
    state.SetVariant(u"prevscene", Variant::Bstr(u"savegame"));
    m_world.LoadScene(scene);
    state.Restore();
    reader.ReadScene(*m_world.Scene());
    reader.ReadCamera(m_world.Renderer());
    if (const std::optional<std::string> unknown = reader.ReadPolygons(m_world.Polygons())) {
        // The world stands as saved but for that polygon: the player is told and plays on.
        m_messageBoxes.Push({*unknown, {}, {}});
    }
    reader.ReadEnd();
    m_world.Scene()->RebuildNavigation();
    m_world.EnterEventPolygons();
}
