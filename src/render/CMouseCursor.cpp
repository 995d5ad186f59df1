#include "render/CMouseCursor.h"

#include "render/image/TextureImage.h"
#include "render/TextureUpload.h"
#include "render/device/DDevice.h"
#include "render/gui/GuiVertex.h"
#include "resources/CADVException.h"

namespace {

constexpr int kCursorVertices = 6;

} // namespace

CMouseCursor::CMouseCursor(DDevice& device, CTextureTable::FileLoader loadFile)
    : m_device(device), m_loadFile(std::move(loadFile)) {}

CMouseCursor::~CMouseCursor() = default;

void CMouseCursor::Mouse_Enable(bool enable, const std::string& fileName) {
    m_fileName = fileName;
    m_texture.reset();
    m_buffer.reset();
    if (!enable) {
        return;
    }
    const std::vector<std::uint8_t> file = m_loadFile(fileName);
    TextureImageInfo info;
    try {
        info = GetTextureImageInfo(file, fileName);
    } catch (const CADVException&) {
        throw CADVException(D3DXERR_INVALIDDATA,
                            "C3DEngine2::Mouse_Enable - Could not get texture information from filename %s",
                            fileName.c_str());
    }
    std::vector<CImage> levels;
    try {
        // The cursor keeps its file's size whatever the texture quality.
        levels = LoadTextureImage(file, fileName, 1);
    } catch (const CADVException&) {
        throw CADVException(D3DXERR_INVALIDDATA,
                            "C3DEngine2::Mouse_Enable - Could not load texture with filename %s",
                            fileName.c_str());
    }
    HRESULT hr = S_OK;
    std::unique_ptr<DTexture> texture = CreateTextureFromImages(m_device, levels, &hr);
    if (!texture) {
        throw CADVException(hr, "C3DEngine2::Mouse_Enable - Could not load texture with filename %s",
                            fileName.c_str());
    }
    m_buffer = m_device.CreateVertexBuffer(kCursorVertices * sizeof(GuiVertex), kFvfScreenTex1, &hr);
    if (FAILED(hr) || !m_buffer) {
        m_buffer.reset();
        throw CADVException(hr, "C3DEngine2::Mouse_Enable - Could not create vertex buffer for mouse cursor");
    }
    m_width = static_cast<float>(info.width);
    m_height = static_cast<float>(info.height);
    m_texture = std::move(texture);
    WriteVertices();
}

void CMouseCursor::SetPosition(float x, float y) {
    m_x = x;
    m_y = y;
    if (Enabled()) {
        WriteVertices();
    }
}

void CMouseCursor::WriteVertices() {
    std::uint8_t* bytes = nullptr;
    if (const HRESULT hr = m_buffer->Lock(0, 0, &bytes); FAILED(hr)) {
        throw CADVException(hr, "C3DEngine2::Mouse_Enable - Could not lock vertex buffer for mouse cursor");
    }
    const float left = m_x;
    const float top = m_y;
    const float right = m_x + m_width;
    const float bottom = m_y + m_height;
    const GuiVertex corners[kCursorVertices] = {
        {left, bottom, 0.0f, 1.0f, 0xFFFFFFFF, 0.0f, 1.0f},
        {left, top, 0.0f, 1.0f, 0xFFFFFFFF, 0.0f, 0.0f},
        {right, bottom, 0.0f, 1.0f, 0xFFFFFFFF, 1.0f, 1.0f},
        {left, top, 0.0f, 1.0f, 0xFFFFFFFF, 0.0f, 0.0f},
        {right, top, 0.0f, 1.0f, 0xFFFFFFFF, 1.0f, 0.0f},
        {right, bottom, 0.0f, 1.0f, 0xFFFFFFFF, 1.0f, 1.0f},
    };
    for (int i = 0; i < kCursorVertices; ++i) {
        WriteGuiVertex(bytes + static_cast<std::size_t>(i) * sizeof(GuiVertex), corners[i]);
    }
    m_buffer->Unlock();
}

void CMouseCursor::Draw() {
    if (!Enabled()) {
        return;
    }
    m_device.SetRenderState(DRenderState::AlphaBlendEnable, 1);
    m_device.SetRenderState(DRenderState::SrcBlend, D3DBLEND_SRCALPHA);
    m_device.SetRenderState(DRenderState::DestBlend, D3DBLEND_INVSRCALPHA);
    m_device.SetRenderState(DRenderState::Lighting, 0);
    m_device.SetRenderState(DRenderState::ZEnable, 0);
    m_device.SetTexture(0, m_texture.get());
    m_device.SetStreamSource(0, m_buffer.get(), 0, kScreenTex1Stride);
    m_device.SetFVF(kFvfScreenTex1);
    m_device.DrawPrimitive(0, 2);
}
