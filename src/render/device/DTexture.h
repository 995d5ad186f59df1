#pragma once

#include "render/device/DeviceTypes.h"
#include "resources/HResult.h"

#include <cstdint>
#include <vector>

// A texture of the managed pool with its mip levels, largest first. As with
// buffers the pixels stay in this CPU copy (4 bytes a pixel, B, G, R, A in
// memory as Direct3D's A8R8G8B8), which is what a device reset rebuilds from.
class DTexture {
public:
    DTexture(int width, int height, int levels, DTextureFormat format);
    virtual ~DTexture() = default;
    DTexture(const DTexture&) = delete;
    DTexture& operator=(const DTexture&) = delete;

    int LevelCount() const { return static_cast<int>(m_levels.size()); }
    int Width(int level) const { return m_levels.at(level).width; }
    int Height(int level) const { return m_levels.at(level).height; }
    DTextureFormat Format() const { return m_format; }
    const std::vector<std::uint8_t>& Pixels(int level) const { return m_levels.at(level).pixels; }

    // Whole-level locks; pitch is the byte distance between rows. A level that
    // does not exist or is locked already fails with D3DERR_INVALIDCALL.
    HRESULT LockRect(int level, std::uint8_t** bits, int* pitch);
    HRESULT UnlockRect(int level);

protected:
    virtual HRESULT OnLock(int) { return S_OK; }
    virtual HRESULT OnUnlock(int level) = 0;

private:
    struct Level {
        int width;
        int height;
        std::vector<std::uint8_t> pixels;
        bool locked = false;
    };
    std::vector<Level> m_levels;
    DTextureFormat m_format;
};

// Levels of a full chain down to 1 x 1.
int FullMipChainLength(int width, int height);
