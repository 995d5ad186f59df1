#include "render/device/DDevice.h"

HRESULT DDevice::ReadPixel(DRenderTarget target, int x, int y, std::uint32_t* colour) {
    std::uint8_t rgba[4] = {};
    const HRESULT hr = ReadPixels(target, x, y, 1, 1, rgba);
    if (SUCCEEDED(hr)) {
        *colour =
            static_cast<std::uint32_t>(rgba[0]) << 16 | static_cast<std::uint32_t>(rgba[1]) << 8 | rgba[2];
    }
    return hr;
}

HRESULT DDevice::ReadBackBuffer(std::vector<std::uint8_t>& rgba, int* width, int* height) {
    *width = BackBufferWidth();
    *height = BackBufferHeight();
    rgba.resize(static_cast<std::size_t>(*width) * static_cast<std::size_t>(*height) * 4);
    return ReadPixels(DRenderTarget::BackBuffer, 0, 0, *width, *height, rgba.data());
}
