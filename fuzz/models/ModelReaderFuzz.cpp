// Model files come from the game's archives: any bytes must load or be
// refused with the engine exception, and whatever loads must be safe to
// measure, cut into planes, hit with rays and wrap in an outline.
#include "render/model/C3DSpresh.h"
#include "render/model/CMemoryModelHost.h"
#include "render/model/CModelInstance.h"
#include "resources/CADVException.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CMemoryModelHost host;
    host.AddFile("m", std::vector<std::uint8_t>(data, data + size));
    C3DSpresh model(host, "m");
    try {
        model.Load(true);
    } catch (const CADVException&) {
        return 0;
    }
    for (const auto& [name, frames] : model.GetAnimations()) {
        CModelInstance instance(&model, {1, 2, 3}, {0.1f, 0.2f, 0.3f}, true, true, CModelInstance::Ordinary);
        instance.animation = name;
        for (float phase : {0.0f, 0.5f, 0.99f}) {
            instance.phase = phase;
            D3DXVECTOR3 min, max;
            model.GetBoundaries(instance, &min, &max);
            model.CalculatePlanes(instance);
            model.CollisionOutline(name, phase);
        }
    }
    D3DXVECTOR3 hit, normal;
    model.HasIntersection({0, 0, -100}, {0, 0, 1}, &hit, &normal);
    model.TriangleCount();
    model.ReCalc(1, 2, 3, 0.5f, 0.5f, 0.5f, 2, 2, 2);
    return 0;
}
