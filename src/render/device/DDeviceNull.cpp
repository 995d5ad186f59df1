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
    return Record("SetTransform" + Words({static_cast<long long>(state)}));
}

D3DXMATRIX DDeviceNull::GetTransform(DTransformState state) const {
    const auto found = m_transforms.find(state);
    return found == m_transforms.end() ? D3DXMATRIX() : found->second;
}

HRESULT DDeviceNull::SetRenderState(DRenderState state, std::uint32_t value) {
    return Record("SetRenderState" + Words({static_cast<long long>(state), value}));
}

HRESULT DDeviceNull::SetSamplerState(std::uint32_t stage, DSamplerState state, std::uint32_t value) {
    return Record("SetSamplerState" + Words({stage, static_cast<long long>(state), value}));
}

HRESULT DDeviceNull::SetMaterial(const D3DMATERIAL9&) {
    return Record("SetMaterial");
}

HRESULT DDeviceNull::SetLight(std::uint32_t index, const D3DLIGHT9&) {
    return Record("SetLight" + Words({index}));
}

HRESULT DDeviceNull::LightEnable(std::uint32_t index, bool enable) {
    return Record("LightEnable" + Words({index, enable}));
}

HRESULT DDeviceNull::SetTexture(std::uint32_t stage, const DTexture* texture) {
    return Record("SetTexture" + Words({stage, texture != nullptr}));
}

HRESULT DDeviceNull::SetFVF(std::uint32_t fvf) {
    return Record("SetFVF" + Words({fvf}));
}

HRESULT DDeviceNull::SetStreamSource(std::uint32_t stream, const DVertexBuffer* buffer, std::uint32_t offset,
                                     std::uint32_t stride) {
    return Record("SetStreamSource" + Words({stream, buffer != nullptr, offset, stride}));
}

HRESULT DDeviceNull::SetIndices(const DIndexBuffer* buffer) {
    return Record("SetIndices" + Words({buffer != nullptr}));
}

HRESULT DDeviceNull::DrawPrimitive(std::uint32_t startVertex, std::uint32_t triangleCount) {
    return Record("DrawPrimitive" + Words({startVertex, triangleCount}));
}

HRESULT DDeviceNull::DrawIndexedPrimitive(std::int32_t baseVertex, std::uint32_t minIndex,
                                          std::uint32_t vertexCount, std::uint32_t startIndex,
                                          std::uint32_t triangleCount) {
    return Record("DrawIndexedPrimitive" +
                  Words({baseVertex, minIndex, vertexCount, startIndex, triangleCount}));
}

HRESULT DDeviceNull::Clear(std::uint32_t flags, std::uint32_t colour, float, std::uint32_t stencil) {
    return Record("Clear" + Words({flags, colour, stencil}));
}

HRESULT DDeviceNull::BeginScene() {
    return Record("BeginScene");
}

HRESULT DDeviceNull::EndScene() {
    return Record("EndScene");
}

HRESULT DDeviceNull::Present(std::uint32_t flags) {
    return Record("Present" + Words({flags}));
}
