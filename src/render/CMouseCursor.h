#pragma once

#include "render/CTextureTable.h"

#include <memory>
#include <string>

class DDevice;
class DTexture;
class DVertexBuffer;

// The engine's own mouse cursor: an image from the game files drawn at its
// own size, its top-left corner at the cursor position, over everything else.
class CMouseCursor {
public:
    CMouseCursor(DDevice& device, CTextureTable::FileLoader loadFile);
    ~CMouseCursor();
    CMouseCursor(const CMouseCursor&) = delete;
    CMouseCursor& operator=(const CMouseCursor&) = delete;

    // Drops the current cursor; when enabling, loads `fileName` (a full path
    // in the game files) at its own size. A failed enable leaves the cursor
    // disabled. The name is kept so that a new device can enable it again.
    void Mouse_Enable(bool enable, const std::string& fileName);
    bool Enabled() const { return m_texture != nullptr; }
    const std::string& FileName() const { return m_fileName; }

    // Screen pixels; while disabled only remembered.
    void SetPosition(float x, float y);
    float X() const { return m_x; }
    float Y() const { return m_y; }
    float Width() const { return m_width; }
    float Height() const { return m_height; }

    // Two blended triangles with lighting and depth test off; nothing while
    // disabled. Restoring those states is the frame's.
    void Draw();

    const DTexture* Texture() const { return m_texture.get(); }
    const DVertexBuffer* VertexBuffer() const { return m_buffer.get(); }

private:
    void WriteVertices();

    DDevice& m_device;
    CTextureTable::FileLoader m_loadFile;
    std::string m_fileName;
    std::unique_ptr<DTexture> m_texture;
    std::unique_ptr<DVertexBuffer> m_buffer;
    float m_width = 0.0f;
    float m_height = 0.0f;
    float m_x = 0.0f;
    float m_y = 0.0f;
};
