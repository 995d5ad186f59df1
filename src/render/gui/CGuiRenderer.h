#pragma once

#include "render/CTextRasterizer.h"

#include <cstdint>
#include <memory>
#include <string_view>

class CGuiComponent;
class DDevice;
class DTexture;
class DVertexBuffer;

// The GUI's one vertex buffer and its drawing. Components write their quads
// into it only when something in the tree changed; every frame draws from it.
// The buffer has two fixed regions: flat-coloured quads first, then textured
// ones (text and images).
class CGuiRenderer {
public:
    static constexpr int kBufferVertices = 3456;
    static constexpr int kUntexturedVertices = 1920;
    static constexpr int kTexturedVertices = kBufferVertices - kUntexturedVertices;

    explicit CGuiRenderer(DDevice& device);
    ~CGuiRenderer();
    CGuiRenderer(const CGuiRenderer&) = delete;
    CGuiRenderer& operator=(const CGuiRenderer&) = delete;

    DDevice& Device() { return m_device; }

    // Hands out `count` vertices of a region while the tree is rebuilt: the
    // first vertex index and, in *dest, where to write them.
    int GUI2_AllocVB(int count, bool textured, std::uint8_t** dest);

    // Rebuilds the buffer when the root was marked changed, then draws
    // `only` or, without it, every child of the root in order. Device states
    // around it (lighting, depth) are the caller's.
    void GUI2_Update(CGuiComponent& root, const CGuiComponent* only = nullptr);

    // Text into a texture; see CTextRasterizer::Texture_Create.
    TextTextureSizes Texture_Create(std::string_view text, std::uint32_t colour, int fontHeight,
                                    std::unique_ptr<DTexture>& texture);
    CTextRasterizer& Text() { return m_text; }

    // Device lost: the buffer goes; the next update makes and fills a new one.
    void ReleaseVB();
    const DVertexBuffer* VertexBuffer() const { return m_buffer.get(); }
    int UsedUntextured() const { return m_usedUntextured; }
    int UsedTextured() const { return m_usedTextured; }

private:
    void Rebuild(CGuiComponent& root);
    void Draw(const CGuiComponent& component);

    DDevice& m_device;
    CTextRasterizer m_text;
    std::unique_ptr<DVertexBuffer> m_buffer;
    std::uint8_t* m_locked = nullptr;
    int m_usedUntextured = 0;
    int m_usedTextured = 0;
};
