#include "render/device/DBuffer.h"

#include "render/device/DeviceTypes.h"

HRESULT DBuffer::Lock(std::size_t offset, std::size_t size, std::uint8_t** data) {
    if (m_locked || offset > m_bytes.size()) {
        return D3DERR_INVALIDCALL;
    }
    if (size == 0) {
        size = m_bytes.size() - offset;
    }
    if (size > m_bytes.size() - offset) {
        return D3DERR_INVALIDCALL;
    }
    if (const HRESULT hr = OnLock(); FAILED(hr)) {
        return hr;
    }
    m_locked = true;
    m_lockOffset = offset;
    m_lockSize = size;
    *data = m_bytes.data() + offset;
    return S_OK;
}

HRESULT DBuffer::Unlock() {
    if (!m_locked) {
        return D3DERR_INVALIDCALL;
    }
    m_locked = false;
    return OnUnlock(m_lockOffset, m_lockSize);
}
