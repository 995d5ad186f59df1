#include "app/savegame/SavegameScene.h"

#include "app/savegame/CSavegameReader.h"

SavegameScene::SavegameScene(const std::string& sceneScript, std::vector<std::string> polygonNames)
    : m_host({{"data\\scripts\\room.scs", SceneTestHost::Text(sceneScript)},
              {"data\\models\\m.spr", BoxSprite(1.0f, 2.0f, 1.0f)}}) {
    m_host.LoadScene("room");
    for (const std::string& name : polygonNames) {
        m_host.Polygons().Set(name, CNamedPolygon{});
    }
}

CSavegameParts SavegameScene::Parts() {
    return {State(), m_inventory, m_setup, Scene(), m_host.Renderer(), m_host.Polygons()};
}

SavegameScene::Loaded SavegameScene::Load(std::vector<std::uint8_t> content, const std::string& source) {
    CSavegameReader reader(std::move(content), source);
    Loaded loaded;
    loaded.description = reader.ReadHeader();
    reader.ReadStores(State(), m_inventory, m_setup);
    reader.ReadScene(Scene());
    reader.ReadCamera(m_host.Renderer());
    loaded.unknownPolygon = reader.ReadPolygons(m_host.Polygons());
    reader.ReadEnd();
    return loaded;
}
