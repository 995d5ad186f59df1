#pragma once

#include "render/gui/CGuiComponent.h"

#include <cstdint>
#include <vector>

class CImage;

// A 512 x 512 texture that scripts draw into (clear, lines), stretched over
// the component's rectangle.
class CGuiComponentImage : public CGuiComponent {
public:
    static constexpr int kSide = 512;

    explicit CGuiComponentImage(CGuiComponent& parent);

    void SetRect(int left, int top, int right, int bottom) override;
    void UpdateVB() override;

    // Colours are ARGB.
    void Clear(std::uint32_t colour);
    // End points are clamped into the image.
    void DrawLine(int x1, int y1, int x2, int y2, std::uint32_t colour);
    // The picture stretched over the whole image, in place of what it held.
    void DrawPicture(const CImage& picture);
    // ARGB texel at (x, y), top row first; 0 outside the image.
    std::uint32_t Texel(int x, int y) const;

protected:
    void ReleaseTexture() override;

private:
    void CreateTexture();
    // Locked texels for the duration of `paint`.
    template <class PaintFn> void Paint(PaintFn&& paint);

    // What the texture held when the device took it, put back when it is made again.
    std::vector<std::uint8_t> m_saved;
};
