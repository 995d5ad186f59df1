#include "app/savegame/CSavegameWriter.h"

#include "app/savegame/SavegameLayout.h"
#include "render/C3DEngine2.h"
#include "resources/ByteWriter.h"
#include "resources/CADVException.h"
#include "scene/CPolygonTable.h"
#include "scene/CScene.h"
#include "state/CState.h"

#include <algorithm>

using namespace SavegameLayout;

namespace {

void WriteDescription(std::vector<std::uint8_t>& out, const std::string& description) {
    const std::size_t kept = std::min(description.size(), kDescriptionSize - 1);
    out.insert(out.end(), description.begin(), description.begin() + static_cast<std::ptrdiff_t>(kept));
    out.insert(out.end(), kDescriptionSize - kept, 0);
}

void WritePolygons(std::vector<std::uint8_t>& out, const CPolygonTable& polygons) {
    for (const auto& [name, polygon] : polygons.GetEntries()) {
        // A load finds each polygon again by its name; an unnamed one could never be found.
        if (name.empty()) {
            throw CADVException("CGame::Save() - Polygon with no name was defined, and this can't be saved.");
        }
        PutU32(out, static_cast<std::uint32_t>(name.size()));
        out.insert(out.end(), name.begin(), name.end());
        PutBool(out, polygon.enabled);
    }
    PutU32(out, 0);
}

} // namespace

std::vector<std::uint8_t> WriteSavegame(const std::string& description, const CSavegameParts& parts) {
    std::vector<std::uint8_t> out;
    PutU32(out, kHeaderTag);
    WriteDescription(out, description);
    PutU32(out, kStateTag);
    parts.state.Save(out);
    PutU32(out, kInventoryTag);
    parts.inventory.Save(out);
    PutU32(out, kSetupTag);
    parts.setup.Save(out);
    PutU32(out, kSceneTag);
    parts.scene.Save(out);
    PutU32(out, kCameraTag);
    parts.renderer.SaveCamera(out);
    PutU32(out, kPolygonTag);
    WritePolygons(out, parts.polygons);
    PutU32(out, kEndTag);
    return out;
}
