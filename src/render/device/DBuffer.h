#pragma once

#include "resources/HResult.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// A vertex or index buffer of the managed pool. The bytes always live in this
// CPU copy, so geometry code reads them back and a lost device rebuilds its
// copy without asking the driver. Writes go through Lock/Unlock; an
// implementation learns of them in OnUnlock.
class DBuffer {
public:
    explicit DBuffer(std::size_t size) : m_bytes(size) {}
    virtual ~DBuffer() = default;
    DBuffer(const DBuffer&) = delete;
    DBuffer& operator=(const DBuffer&) = delete;

    std::size_t Size() const { return m_bytes.size(); }
    // Read access for geometry code; never stale, the copy is the buffer.
    std::span<const std::uint8_t> Bytes() const { return m_bytes; }
    bool IsLocked() const { return m_locked; }

    // size 0 locks from offset to the end. A range outside the buffer or a
    // second lock fails with D3DERR_INVALIDCALL.
    HRESULT Lock(std::size_t offset, std::size_t size, std::uint8_t** data);
    HRESULT Unlock();

protected:
    virtual HRESULT OnLock() { return S_OK; }
    virtual HRESULT OnUnlock(std::size_t offset, std::size_t size) = 0;

private:
    std::vector<std::uint8_t> m_bytes;
    bool m_locked = false;
    std::size_t m_lockOffset = 0;
    std::size_t m_lockSize = 0;
};

class DVertexBuffer : public DBuffer {
public:
    DVertexBuffer(std::size_t size, std::uint32_t fvf) : DBuffer(size), m_fvf(fvf) {}
    std::uint32_t Fvf() const { return m_fvf; }

private:
    std::uint32_t m_fvf;
};

// 16-bit indices only: the renderer never uses any other width.
class DIndexBuffer : public DBuffer {
public:
    explicit DIndexBuffer(std::size_t size) : DBuffer(size) {}
    std::size_t Count() const { return Size() / 2; }
    std::uint16_t At(std::size_t i) const {
        return static_cast<std::uint16_t>(Bytes()[2 * i] | Bytes()[2 * i + 1] << 8);
    }
};
