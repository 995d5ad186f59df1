// A model's .col file comes from the archive or from the cache folder on
// disk: any bytes must give an outline, read or computed, and never fail the
// model's load.
#include "navigation/CPolygon.h"
#include "render/model/C3DSpresh.h"
#include "render/model/CMemoryModelHost.h"
#include "render/model/CModelWriter.h"

#include <cstddef>
#include <cstdint>

namespace {

const std::vector<std::uint8_t>& Square() {
    static const std::vector<std::uint8_t> file = [] {
        ModelMeshData mesh;
        for (const auto& [x, z] : {std::pair{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}}) {
            mesh.vertices.push_back({x, 0, z, 0, 1, 0, 0, 0});
        }
        return CModelWriter::WriteSprite({{"idle", {mesh}}, {"walk", {mesh, mesh}}});
    }();
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CMemoryModelHost host;
    host.AddFile("m.spr", Square());
    host.AddFile("m.spr.col", std::vector<std::uint8_t>(data, data + size));
    C3DSpresh model(host, "m.spr");
    model.Load(true);
    const CPolygon* outline = model.CollisionOutline("walk", 0.5f);
    if (!outline || outline->GetPoints().size() > size / 8 + 4) {
        __builtin_trap();
    }
    return 0;
}
