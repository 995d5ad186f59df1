#include "render/gui/CGuiComponentImage.h"

#include "render/image/CImage.h"
#include "render/device/DDevice.h"
#include "render/gui/CGuiRenderer.h"
#include "resources/CADVException.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

void PutTexel(std::uint8_t* bits, int x, int y, std::uint32_t colour) {
    std::uint8_t* texel = bits + (static_cast<std::size_t>(y) * CGuiComponentImage::kSide + x) * 4;
    for (int i = 0; i < 4; ++i) {
        texel[i] = static_cast<std::uint8_t>(colour >> (8 * i));
    }
}

// A picture's pixel (R, G, B, A bytes) as a texel colour.
std::uint32_t Argb(const std::uint8_t* rgba) {
    return static_cast<std::uint32_t>(rgba[3]) << 24 | static_cast<std::uint32_t>(rgba[0]) << 16 |
           static_cast<std::uint32_t>(rgba[1]) << 8 | rgba[2];
}

} // namespace

CGuiComponentImage::CGuiComponentImage(CGuiComponent& parent) : CGuiComponent(parent) {
    CreateTexture();
}

void CGuiComponentImage::CreateTexture() {
    HRESULT hr = S_OK;
    std::unique_ptr<DTexture> texture =
        Gui().Device().CreateTexture(kSide, kSide, 1, DTextureFormat::A8R8G8B8, &hr);
    if (FAILED(hr) || !texture) {
        throw CADVException(hr, "CGuiComponentImage - Could not create texture.");
    }
    m_texture = std::move(texture);
    m_textureInvalid = false;
    if (!m_saved.empty()) {
        Paint([this](std::uint8_t* bits) { std::memcpy(bits, m_saved.data(), m_saved.size()); });
        m_saved.clear();
    }
}

void CGuiComponentImage::ReleaseTexture() {
    // A drawn image is the game's content, not something the engine can make
    // again, so it outlives the device.
    if (m_texture) {
        m_saved = m_texture->Pixels(0);
    }
    CGuiComponent::ReleaseTexture();
}

template <class PaintFn> void CGuiComponentImage::Paint(PaintFn&& paint) {
    if (m_textureInvalid) {
        CreateTexture();
    }
    std::uint8_t* bits = nullptr;
    int pitch = 0;
    if (const HRESULT hr = m_texture->LockRect(0, &bits, &pitch); FAILED(hr)) {
        throw CADVException(hr, "CGuiComponentImage - Could not lock texture.");
    }
    paint(bits);
    m_texture->UnlockRect(0);
}

void CGuiComponentImage::SetRect(int left, int top, int right, int bottom) {
    CGuiComponent::SetRect(left, top, right, bottom);
    MarkChanged();
}

void CGuiComponentImage::Clear(std::uint32_t colour) {
    Paint([colour](std::uint8_t* bits) {
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                PutTexel(bits, x, y, colour);
            }
        }
    });
}

void CGuiComponentImage::DrawLine(int x1, int y1, int x2, int y2, std::uint32_t colour) {
    x1 = std::clamp(x1, 0, kSide - 1);
    y1 = std::clamp(y1, 0, kSide - 1);
    x2 = std::clamp(x2, 0, kSide - 1);
    y2 = std::clamp(y2, 0, kSide - 1);
    Paint([&](std::uint8_t* bits) {
        if (x1 == x2) {
            for (int y = std::min(y1, y2); y <= std::max(y1, y2); ++y) {
                PutTexel(bits, x1, y, colour);
            }
            return;
        }
        if (x1 > x2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const float run = static_cast<float>(x2 - x1);
        const float slope = static_cast<float>(y2 - y1) / run;
        const float offset = static_cast<float>(y1 * x2 - y2 * x1) / run;
        const auto rowAt = [&](int x) {
            return std::clamp(static_cast<int>(slope * static_cast<float>(x) + offset), 0, kSide - 1);
        };
        for (int x = x1; x <= x2; ++x) {
            // Each column covers the rows up to where the next one starts.
            const int from = rowAt(x);
            const int to = x < x2 ? rowAt(x + 1) : from;
            const int step = to > from ? 1 : -1;
            for (int y = from;; y += step) {
                PutTexel(bits, x, y, colour);
                if (y == to || y + step == to) {
                    break;
                }
            }
        }
    });
}

void CGuiComponentImage::DrawPicture(const CImage& picture) {
    const CImage stretched = picture.Resized(kSide, kSide);
    Paint([&stretched](std::uint8_t* bits) {
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                PutTexel(bits, x, y, Argb(stretched.At(x, y)));
            }
        }
    });
}

std::uint32_t CGuiComponentImage::Texel(int x, int y) const {
    const std::vector<std::uint8_t>& pixels = m_texture ? m_texture->Pixels(0) : m_saved;
    if (x < 0 || y < 0 || x >= kSide || y >= kSide || pixels.empty()) {
        return 0;
    }
    const std::uint8_t* texel = pixels.data() + (static_cast<std::size_t>(y) * kSide + x) * 4;
    return static_cast<std::uint32_t>(texel[0]) | static_cast<std::uint32_t>(texel[1]) << 8 |
           static_cast<std::uint32_t>(texel[2]) << 16 | static_cast<std::uint32_t>(texel[3]) << 24;
}

void CGuiComponentImage::UpdateVB() {
    if (m_textureInvalid) {
        CreateTexture();
    }
    const float left = static_cast<float>(AbsoluteLeft());
    const float top = static_cast<float>(AbsoluteTop());
    const float right = left + static_cast<float>(Width());
    const float bottom = top + static_cast<float>(Height());
    WriteTexturedQuad({{{left, top}, {right, top}, {left, bottom}, {right, bottom}}},
                      {{{0.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}}});
    CGuiComponent::UpdateVB();
}
