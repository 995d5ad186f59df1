#include "render/image/CImage.h"

#include <algorithm>
#include <cmath>

namespace {

struct Tap {
    int source;
    float weight;
};

// For each target index along one axis, the source indices it covers and how
// much of each (weights sum to one).
std::vector<std::vector<Tap>> AreaTaps(int sourceSize, int targetSize) {
    const double scale = static_cast<double>(sourceSize) / targetSize;
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(targetSize));
    for (int t = 0; t < targetSize; ++t) {
        const double begin = t * scale;
        const double end = (t + 1) * scale;
        const int first = static_cast<int>(std::floor(begin));
        const int last = std::min(sourceSize - 1, static_cast<int>(std::ceil(end)) - 1);
        for (int s = first; s <= last; ++s) {
            const double covered = std::min(end, s + 1.0) - std::max(begin, static_cast<double>(s));
            if (covered > 0.0) {
                taps[static_cast<std::size_t>(t)].push_back({s, static_cast<float>(covered / scale)});
            }
        }
    }
    return taps;
}

} // namespace

CImage::CImage(int width, int height)
    : m_width(width), m_height(height),
      m_pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0) {}

void CImage::Set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    std::uint8_t* p = At(x, y);
    p[0] = r;
    p[1] = g;
    p[2] = b;
    p[3] = a;
}

void CImage::Fill(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    for (std::size_t i = 0; i < m_pixels.size(); i += 4) {
        m_pixels[i] = r;
        m_pixels[i + 1] = g;
        m_pixels[i + 2] = b;
        m_pixels[i + 3] = a;
    }
}

CImage CImage::Resized(int width, int height) const {
    if (width == m_width && height == m_height) {
        return *this;
    }
    const auto xTaps = AreaTaps(m_width, width);
    const auto yTaps = AreaTaps(m_height, height);
    CImage out(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float sum[4] = {0, 0, 0, 0};
            for (const Tap& ty : yTaps[static_cast<std::size_t>(y)]) {
                for (const Tap& tx : xTaps[static_cast<std::size_t>(x)]) {
                    const std::uint8_t* p = At(tx.source, ty.source);
                    const float w = tx.weight * ty.weight;
                    for (int c = 0; c < 4; ++c) {
                        sum[c] += w * p[c];
                    }
                }
            }
            std::uint8_t* q = out.At(x, y);
            for (int c = 0; c < 4; ++c) {
                q[c] = static_cast<std::uint8_t>(std::clamp(std::lround(sum[c]), 0L, 255L));
            }
        }
    }
    return out;
}
