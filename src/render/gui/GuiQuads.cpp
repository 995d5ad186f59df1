#include "render/gui/GuiQuads.h"

int GUI2_CreateVBRect(std::uint8_t* dest, const GuiCorners& corners, const GuiColours& colours,
                      const GuiCorners& uvs) {
    constexpr int kOrder[kQuadVertices] = {2, 0, 1, 1, 3, 2};
    for (int i = 0; i < kQuadVertices; ++i) {
        const int c = kOrder[i];
        GuiVertex vertex;
        vertex.x = corners[c].x;
        vertex.y = corners[c].y;
        vertex.colour = colours[c];
        vertex.u = uvs[c].x;
        vertex.v = uvs[c].y;
        WriteGuiVertex(dest + static_cast<std::size_t>(i) * sizeof(GuiVertex), vertex);
    }
    return kQuadVertices;
}

int GUI2_CreateRect(std::uint8_t* dest, float left, float top, float right, float bottom, int border,
                    std::uint32_t light, std::uint32_t dark, std::uint32_t fill, bool raised) {
    const GuiCorners noUv{};
    if (border <= 0) {
        return GUI2_CreateVBRect(dest, {{{left, top}, {right, top}, {left, bottom}, {right, bottom}}},
                                 {fill, fill, fill, fill}, noUv);
    }
    const float w = static_cast<float>(border);
    const GuiPoint outerTL{left, top}, outerTR{right, top}, outerBL{left, bottom}, outerBR{right, bottom};
    const GuiPoint innerTL{left + w, top + w}, innerTR{right - w, top + w};
    const GuiPoint innerBL{left + w, bottom - w}, innerBR{right - w, bottom - w};
    const std::uint32_t a = raised ? light : dark;
    const std::uint32_t b = raised ? dark : light;
    const std::uint32_t f = fill;

    // The corner order of each bevel is the one the frame has always been
    // drawn with, so its shading across the two triangles stays the same.
    const struct {
        GuiCorners corners;
        GuiColours colours;
    } quads[] = {
        {{outerTL, outerTR, innerTL, innerTR}, {a, a, f, f}}, // top
        {{innerTL, innerBL, outerTL, outerBL}, {f, f, a, a}}, // left
        {{innerTR, outerTR, innerBR, outerBR}, {f, a, f, b}}, // right
        {{innerBL, innerBR, outerBL, outerBR}, {f, f, a, b}}, // bottom
        {{innerTL, innerTR, innerBL, innerBR}, {f, f, f, f}}, // fill
    };
    int written = 0;
    for (const auto& quad : quads) {
        written += GUI2_CreateVBRect(dest + static_cast<std::size_t>(written) * sizeof(GuiVertex),
                                     quad.corners, quad.colours, noUv);
    }
    return written;
}
