#pragma once

#include "render/device/DBuffer.h"
#include "render/device/DTexture.h"

#include <epoxy/gl.h>

#include <memory>

// The GL side of the managed pool. Each resource keeps its bytes in the CPU
// copy of its base class and makes or refreshes its GL object at the first
// draw after a change, so locks cost nothing until something is drawn and a
// resized device never needs to rebuild anything.

class DIndexBufferGL;
class DTextureGL;
class DVertexBufferGL;

// What a device shares with the resources it made. The device keeps the
// resources it draws with here, so a resource destroyed while still set is
// dropped from the device rather than left dangling; GL names of deleted
// objects come back for new ones, so the device also learns that its cached
// bindings may be stale. A resource that outlives its device (and so maybe
// its context) leaves its GL name alone.
struct DResourceLinkGL {
    bool deviceAlive = true;
    std::uint64_t deletions = 0;
    const DTextureGL* texture = nullptr;
    const DVertexBufferGL* stream = nullptr;
    const DIndexBufferGL* indices = nullptr;

    // Called by a resource on its way out, after deleting its GL object.
    void Forget(const void* resource);
};
using DResourceLinkPtr = std::shared_ptr<DResourceLinkGL>;

// One GL buffer object mirroring a byte range that changes by locks.
class DBufferStoreGL {
public:
    DBufferStoreGL(DResourceLinkPtr link, const void* owner) : m_link(std::move(link)), m_owner(owner) {}
    ~DBufferStoreGL();
    DBufferStoreGL(const DBufferStoreGL&) = delete;
    DBufferStoreGL& operator=(const DBufferStoreGL&) = delete;

    void MarkChanged(std::size_t offset, std::size_t size);
    // The buffer's name with every change uploaded. Uploads go through the
    // copy-write binding so that no vertex array's element binding moves.
    GLuint Prepare(std::span<const std::uint8_t> bytes) const;

private:
    DResourceLinkPtr m_link;
    const void* m_owner;
    // The GL object is a cache of the CPU copy, refreshed from const draws.
    mutable GLuint m_name = 0;
    mutable std::size_t m_changedBegin = 0;
    mutable std::size_t m_changedEnd = 0;
};

class DVertexBufferGL : public DVertexBuffer {
public:
    DVertexBufferGL(std::size_t size, std::uint32_t fvf, DResourceLinkPtr link)
        : DVertexBuffer(size, fvf), m_store(std::move(link), this) {
        m_store.MarkChanged(0, size);
    }
    GLuint Prepare() const { return m_store.Prepare(Bytes()); }

private:
    HRESULT OnUnlock(std::size_t offset, std::size_t size) override;
    DBufferStoreGL m_store;
};

class DIndexBufferGL : public DIndexBuffer {
public:
    DIndexBufferGL(std::size_t size, DResourceLinkPtr link)
        : DIndexBuffer(size), m_store(std::move(link), this) {
        m_store.MarkChanged(0, size);
    }
    GLuint Prepare() const { return m_store.Prepare(Bytes()); }

private:
    HRESULT OnUnlock(std::size_t offset, std::size_t size) override;
    DBufferStoreGL m_store;
};

class DTextureGL : public DTexture {
public:
    DTextureGL(int width, int height, int levels, DTextureFormat format, DResourceLinkPtr link);
    ~DTextureGL() override;

    bool NeedsUpload() const { return m_name == 0 || m_changedLevels != 0; }
    // Makes the texture object if needed and uploads the changed levels; the
    // texture is left bound to GL_TEXTURE_2D of the active unit.
    void Upload() const;
    GLuint Name() const { return m_name; }

private:
    HRESULT OnUnlock(int level) override;

    DResourceLinkPtr m_link;
    mutable GLuint m_name = 0;
    // One bit per mip level; a chain never has more than 32 levels.
    mutable std::uint32_t m_changedLevels;
};
