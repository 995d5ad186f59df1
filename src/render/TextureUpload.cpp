#include "render/TextureUpload.h"

#include "render/device/DDevice.h"

std::unique_ptr<DTexture> CreateTextureFromImages(DDevice& device, const std::vector<CImage>& levels,
                                                  HRESULT* hr) {
    std::unique_ptr<DTexture> texture =
        device.CreateTexture(levels.front().Width(), levels.front().Height(), static_cast<int>(levels.size()),
                             DTextureFormat::A8R8G8B8, hr);
    if (FAILED(*hr) || !texture) {
        return nullptr;
    }
    for (int level = 0; level < texture->LevelCount(); ++level) {
        std::uint8_t* bits = nullptr;
        int pitch = 0;
        if (*hr = texture->LockRect(level, &bits, &pitch); FAILED(*hr)) {
            return nullptr;
        }
        const std::vector<std::uint8_t>& rgba = levels[static_cast<std::size_t>(level)].Pixels();
        for (std::size_t i = 0; i + 3 < rgba.size(); i += 4) {
            bits[i] = rgba[i + 2];
            bits[i + 1] = rgba[i + 1];
            bits[i + 2] = rgba[i];
            bits[i + 3] = rgba[i + 3];
        }
        if (*hr = texture->UnlockRect(level); FAILED(*hr)) {
            return nullptr;
        }
    }
    return texture;
}
