#include "app/savegame/CSaveSlots.h"
#include "app/savegame/CSavegameReader.h"
#include "app/savegame/CSavegameWriter.h"
#include "scene/CScene.h"
#include "scene_support/SceneTestHost.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kObjects = 500;

// 500 objects on a grid, every tenth one a light instead, and stores and
// polygons of the size a long game collects.
const char* const kSceneScript = R"(
for (var i = 0; i < 500; ++i) {
    if (i % 10 == 9) {
        scene.addlight("name='light" + i + "' type='point' posx='" + (i % 25) * 2 + "' posz='" +
                       Math.floor(i / 25) * 2 + "' visible='true'");
    } else {
        scene.addobject("name='object" + i + "' model='m.spr' posx='" + (i % 25) * 2 + "' posz='" +
                        Math.floor(i / 25) * 2 + "'" + (i % 3 == 0 ? " walkaround='true'" : ""));
    }
}
function OnInit() {}
)";

// The running game a savegame is made of and read back into, with a slot folder.
class SavedGame {
public:
    SavedGame()
        : m_host({{"data\\scripts\\big.scs", SceneTestHost::Text(kSceneScript)},
                  {"data\\models\\m.spr", BoxSprite(1.0f, 2.0f, 1.0f)}}),
          m_slots(m_folder.Path(), CKeySet::BuiltIn()) {
        m_host.LoadScene("big");
        for (int i = 0; i < 200; ++i) {
            const std::u16string n = u"flag" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) +
                                     std::u16string(static_cast<std::size_t>(i / 26), u'x');
            m_host.State().SetVariant(n, Variant::I4(i));
            m_inventory.SetVariant(n, Variant::Bool(i % 2 == 0));
            m_setup.SetVariant(n, Variant::Bstr(u"a setting of some length"));
        }
        for (int i = 0; i < 40; ++i) {
            m_host.Polygons().Set("area" + std::to_string(i), CNamedPolygon{});
        }
    }

    bool Complete() const { return m_host.Scene()->Objects().size() == kObjects; }
    std::string Problem() const {
        return m_host.ScriptErrors().empty() ? "scene incomplete" : m_host.ScriptErrors()[0];
    }

    CSavegameParts Parts() {
        return {m_host.State(), m_inventory, m_setup, *m_host.Scene(), m_host.Renderer(), m_host.Polygons()};
    }
    const CSaveSlots& Slots() const { return m_slots; }

    void Load(std::vector<std::uint8_t> content) {
        CSavegameReader reader(std::move(content), "03.sav");
        reader.ReadHeader();
        reader.ReadStores(m_host.State(), m_inventory, m_setup);
        reader.ReadScene(*m_host.Scene());
        reader.ReadCamera(m_host.Renderer());
        reader.ReadPolygons(m_host.Polygons());
        reader.ReadEnd();
    }

private:
    SceneTestHost m_host;
    CState m_inventory;
    CState m_setup;
    TempDir m_folder;
    CSaveSlots m_slots;
};

void SaveToSlot(benchmark::State& state) {
    SavedGame game;
    if (!game.Complete()) {
        state.SkipWithError(game.Problem().c_str());
        return;
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::vector<std::uint8_t> content = WriteSavegame("A long game", game.Parts());
        game.Slots().Write(3, content, nullptr);
        bytes = content.size();
    }
    state.counters["content_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(SaveToSlot)->Unit(benchmark::kMillisecond);

// The part of a save that does not touch the disk.
void WriteContent(benchmark::State& state) {
    SavedGame game;
    if (!game.Complete()) {
        state.SkipWithError(game.Problem().c_str());
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteSavegame("A long game", game.Parts()));
    }
}
BENCHMARK(WriteContent)->Unit(benchmark::kMillisecond);

void LoadFromSlot(benchmark::State& state) {
    SavedGame game;
    if (!game.Complete()) {
        state.SkipWithError(game.Problem().c_str());
        return;
    }
    game.Slots().Write(3, WriteSavegame("A long game", game.Parts()), nullptr);
    for (auto _ : state) {
        game.Load(game.Slots().Read(3));
    }
}
BENCHMARK(LoadFromSlot)->Unit(benchmark::kMillisecond);

// What the load and save screens pay to fill their lists with 20 such saves.
void ListFullFolder(benchmark::State& state) {
    SavedGame game;
    if (!game.Complete()) {
        state.SkipWithError(game.Problem().c_str());
        return;
    }
    const std::vector<std::uint8_t> content = WriteSavegame("A long game", game.Parts());
    for (int slot = 0; slot < CSaveSlots::kSlotCount; ++slot) {
        game.Slots().Write(slot, content, nullptr);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(game.Slots().List());
    }
}
BENCHMARK(ListFullFolder)->Unit(benchmark::kMillisecond);

} // namespace
