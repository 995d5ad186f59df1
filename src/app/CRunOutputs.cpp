#include "app/CRunOutputs.h"

#include "app/world/CGameWorld.h"
#include "render/device/DDevice.h"
#include "render/image/PngCodec.h"
#include "resources/CADVException.h"
#include "resources/FileBytes.h"
#include "state/CState.h"

#include <span>

void CRunOutputs::DumpState(const CGameWorld& world, const std::filesystem::path& file) {
    const std::string json = "{\"state\": " + world.State().ToJson() +
                             ", \"inventory\": " + world.Inventory().ToJson() +
                             ", \"setup\": " + world.Setup().ToJson() + "}\n";
    WriteWholeFileReplacing(file, std::span(reinterpret_cast<const std::uint8_t*>(json.data()), json.size()));
}

void CRunOutputs::WriteScreenshot(DDevice& device, const std::filesystem::path& file) {
    std::vector<std::uint8_t> rgba;
    int width = 0;
    int height = 0;
    if (const HRESULT hr = device.ReadBackBuffer(rgba, &width, &height); FAILED(hr)) {
        throw CADVException(hr, "CRunOutputs::WriteScreenshot - Could not read the frame back for %s.",
                            file.string().c_str());
    }
    if (!WritePng(file, width, height, rgba)) {
        throw CADVException("CRunOutputs::WriteScreenshot - Could not write %s.", file.string().c_str());
    }
}
