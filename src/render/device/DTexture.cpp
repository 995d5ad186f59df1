#include "render/device/DTexture.h"

#include <algorithm>
#include <cstddef>

DTexture::DTexture(int width, int height, int levels, DTextureFormat format) : m_format(format) {
    for (int i = 0; i < levels; ++i) {
        const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
        m_levels.push_back(Level{width, height, std::vector<std::uint8_t>(bytes)});
        width = std::max(1, width / 2);
        height = std::max(1, height / 2);
    }
}

HRESULT DTexture::LockRect(int level, std::uint8_t** bits, int* pitch) {
    if (level < 0 || level >= LevelCount() || m_levels[level].locked) {
        return D3DERR_INVALIDCALL;
    }
    if (const HRESULT hr = OnLock(level); FAILED(hr)) {
        return hr;
    }
    Level& l = m_levels[level];
    l.locked = true;
    *bits = l.pixels.data();
    *pitch = l.width * 4;
    return S_OK;
}

HRESULT DTexture::UnlockRect(int level) {
    if (level < 0 || level >= LevelCount() || !m_levels[level].locked) {
        return D3DERR_INVALIDCALL;
    }
    m_levels[level].locked = false;
    return OnUnlock(level);
}

int FullMipChainLength(int width, int height) {
    int levels = 1;
    while (width > 1 || height > 1) {
        width = std::max(1, width / 2);
        height = std::max(1, height / 2);
        ++levels;
    }
    return levels;
}
