#include "render/device/DDeviceNull.h"

#include <algorithm>

namespace {

std::string FirstWord(const std::string& line) {
    return line.substr(0, line.find(' '));
}

std::string Words(std::initializer_list<long long> values) {
    std::string text;
    for (long long v : values) {
        text += ' ' + std::to_string(v);
    }
    return text;
}

// Resources of the null device write their locks down through their device.
template <class Base> class NullResource : public Base {
public:
    template <class... Args>
    NullResource(DDeviceNull& device, const char* name, Args... args)
        : Base(args...), m_device(device), m_name(name) {}

protected:
    HRESULT Note(const char* verb) { return m_device.Record(verb + m_name); }

private:
    DDeviceNull& m_device;
    std::string m_name;
};

class NullVertexBuffer : public NullResource<DVertexBuffer> {
public:
    using NullResource::NullResource;

private:
    HRESULT OnLock() override { return Note("Lock"); }
    HRESULT OnUnlock(std::size_t, std::size_t) override { return Note("Unlock"); }
};

class NullIndexBuffer : public NullResource<DIndexBuffer> {
public:
    using NullResource::NullResource;

private:
    HRESULT OnLock() override { return Note("Lock"); }
    HRESULT OnUnlock(std::size_t, std::size_t) override { return Note("Unlock"); }
};

class NullTexture : public NullResource<DTexture> {
public:
    using NullResource::NullResource;

private:
    HRESULT OnLock(int) override { return Note("Lock"); }
    HRESULT OnUnlock(int) override { return Note("Unlock"); }
};

} // namespace

DDeviceNull::DDeviceNull() = default;
DDeviceNull::~DDeviceNull() = default;

HRESULT DDeviceNull::Record(const std::string& line) {
    m_calls.push_back(line);
    const auto failure = m_failures.find(FirstWord(line));
    if (failure == m_failures.end()) {
        return S_OK;
    }
    const HRESULT hr = failure->second;
    m_failures.erase(failure);
    return hr;
}

HRESULT DDeviceNull::RecordState(const std::string& line) {
    ++m_stats.stateChanges;
    return Record(line);
}

void DDeviceNull::FailNext(const std::string& call, HRESULT hr) {
    m_failures[call] = hr;
}

int DDeviceNull::CountCalls(const std::string& call) const {
    return static_cast<int>(std::count_if(m_calls.begin(), m_calls.end(),
                                          [&](const std::string& line) { return FirstWord(line) == call; }));
}

std::unique_ptr<DTexture> DDeviceNull::CreateTexture(int width, int height, int levels, DTextureFormat format,
                                                     HRESULT* hr) {
    *hr = Record("CreateTexture" + Words({width, height, levels}));
    if (FAILED(*hr)) {
        return nullptr;
    }
    return std::make_unique<NullTexture>(*this, "Texture", width, height, levels, format);
}

std::unique_ptr<DVertexBuffer> DDeviceNull::CreateVertexBuffer(std::size_t bytes, std::uint32_t fvf,
                                                               HRESULT* hr) {
    *hr = Record("CreateVertexBuffer" + Words({static_cast<long long>(bytes), fvf}));
    if (FAILED(*hr)) {
        return nullptr;
    }
    return std::make_unique<NullVertexBuffer>(*this, "VertexBuffer", bytes, fvf);
}

std::unique_ptr<DIndexBuffer> DDeviceNull::CreateIndexBuffer(std::size_t bytes, HRESULT* hr) {
    *hr = Record("CreateIndexBuffer" + Words({static_cast<long long>(bytes)}));
    if (FAILED(*hr)) {
        return nullptr;
    }
    return std::make_unique<NullIndexBuffer>(*this, "IndexBuffer", bytes);
}

HRESULT DDeviceNull::SetTransform(DTransformState state, const D3DXMATRIX& matrix) {
    m_transforms[state] = matrix;
    return RecordState("SetTransform" + Words({static_cast<long long>(state)}));
}

D3DXMATRIX DDeviceNull::GetTransform(DTransformState state) const {
    const auto found = m_transforms.find(state);
    return found == m_transforms.end() ? D3DXMATRIX() : found->second;
}

HRESULT DDeviceNull::SetRenderState(DRenderState state, std::uint32_t value) {
    return RecordState("SetRenderState" + Words({static_cast<long long>(state), value}));
}

HRESULT DDeviceNull::SetSamplerState(std::uint32_t stage, DSamplerState state, std::uint32_t value) {
    return RecordState("SetSamplerState" + Words({stage, static_cast<long long>(state), value}));
}

HRESULT DDeviceNull::SetMaterial(const D3DMATERIAL9&) {
    return RecordState("SetMaterial");
}

HRESULT DDeviceNull::SetLight(std::uint32_t index, const D3DLIGHT9&) {
    return RecordState("SetLight" + Words({index}));
}

HRESULT DDeviceNull::LightEnable(std::uint32_t index, bool enable) {
    return RecordState("LightEnable" + Words({index, enable}));
}

HRESULT DDeviceNull::SetTexture(std::uint32_t stage, const DTexture* texture) {
    return RecordState("SetTexture" + Words({stage, texture != nullptr}));
}

HRESULT DDeviceNull::SetFVF(std::uint32_t fvf) {
    return RecordState("SetFVF" + Words({fvf}));
}

HRESULT DDeviceNull::SetStreamSource(std::uint32_t stream, const DVertexBuffer* buffer, std::uint32_t offset,
                                     std::uint32_t stride) {
    return RecordState("SetStreamSource" + Words({stream, buffer != nullptr, offset, stride}));
}

HRESULT DDeviceNull::SetIndices(const DIndexBuffer* buffer) {
    return RecordState("SetIndices" + Words({buffer != nullptr}));
}

HRESULT DDeviceNull::DrawPrimitive(std::uint32_t startVertex, std::uint32_t triangleCount) {
    ++m_stats.drawCalls;
    m_stats.triangles += triangleCount;
    return Record("DrawPrimitive" + Words({startVertex, triangleCount}));
}

HRESULT DDeviceNull::DrawIndexedPrimitive(std::int32_t baseVertex, std::uint32_t minIndex,
                                          std::uint32_t vertexCount, std::uint32_t startIndex,
                                          std::uint32_t triangleCount) {
    ++m_stats.drawCalls;
    m_stats.triangles += triangleCount;
    return Record("DrawIndexedPrimitive" +
                  Words({baseVertex, minIndex, vertexCount, startIndex, triangleCount}));
}

HRESULT DDeviceNull::Clear(std::uint32_t flags, std::uint32_t colour, float, std::uint32_t stencil) {
    return Record("Clear" + Words({flags, colour, stencil}));
}

HRESULT DDeviceNull::BeginScene() {
    m_stats = {};
    return Record("BeginScene");
}

HRESULT DDeviceNull::EndScene() {
    return Record("EndScene");
}

HRESULT DDeviceNull::Present(std::uint32_t flags) {
    return Record("Present" + Words({flags}));
}

HRESULT DDeviceNull::SetRenderTarget(DRenderTarget target) {
    m_target = target;
    return RecordState("SetRenderTarget" + Words({static_cast<long long>(target)}));
}

HRESULT DDeviceNull::Reset(int width, int height) {
    const HRESULT hr = Record("Reset" + Words({width, height}));
    if (SUCCEEDED(hr)) {
        m_width = width;
        m_height = height;
        m_transforms.clear();
        m_target = DRenderTarget::BackBuffer;
    }
    return hr;
}

HRESULT DDeviceNull::ReadPixels(DRenderTarget target, int x, int y, int width, int height,
                                std::uint8_t* rgba) {
    const HRESULT hr = Record("ReadPixels" + Words({static_cast<long long>(target), x, y, width, height}));
    if (FAILED(hr)) {
        return hr;
    }
    if (x < 0 || y < 0 || width <= 0 || height <= 0 || x > m_width - width || y > m_height - height) {
        return D3DERR_INVALIDCALL;
    }
    const std::uint8_t pixel[4] = {
        static_cast<std::uint8_t>(m_readBackColour >> 16), static_cast<std::uint8_t>(m_readBackColour >> 8),
        static_cast<std::uint8_t>(m_readBackColour), static_cast<std::uint8_t>(m_readBackColour >> 24)};
    for (int i = 0; i < width * height; ++i) {
        std::copy(pixel, pixel + 4, rgba + 4 * i);
    }
    return S_OK;
}
