#include "render/device/gl/DResourcesGL.h"

#include <algorithm>

void DResourceLinkGL::Forget(const void* resource) {
    if (texture == resource) {
        texture = nullptr;
    }
    if (stream == resource) {
        stream = nullptr;
    }
    if (indices == resource) {
        indices = nullptr;
    }
}

DBufferStoreGL::~DBufferStoreGL() {
    if (m_name != 0 && m_link->deviceAlive) {
        glDeleteBuffers(1, &m_name);
        ++m_link->deletions;
    }
    m_link->Forget(m_owner);
}

void DBufferStoreGL::MarkChanged(std::size_t offset, std::size_t size) {
    if (m_changedBegin == m_changedEnd) {
        m_changedBegin = offset;
        m_changedEnd = offset + size;
    } else {
        m_changedBegin = std::min(m_changedBegin, offset);
        m_changedEnd = std::max(m_changedEnd, offset + size);
    }
}

GLuint DBufferStoreGL::Prepare(std::span<const std::uint8_t> bytes) const {
    if (m_name == 0) {
        glGenBuffers(1, &m_name);
        glBindBuffer(GL_COPY_WRITE_BUFFER, m_name);
        glBufferData(GL_COPY_WRITE_BUFFER, static_cast<GLsizeiptr>(bytes.size()), bytes.data(),
                     GL_DYNAMIC_DRAW);
    } else if (m_changedBegin != m_changedEnd) {
        glBindBuffer(GL_COPY_WRITE_BUFFER, m_name);
        glBufferSubData(GL_COPY_WRITE_BUFFER, static_cast<GLintptr>(m_changedBegin),
                        static_cast<GLsizeiptr>(m_changedEnd - m_changedBegin),
                        bytes.data() + m_changedBegin);
    }
    m_changedBegin = m_changedEnd = 0;
    return m_name;
}

HRESULT DVertexBufferGL::OnUnlock(std::size_t offset, std::size_t size) {
    m_store.MarkChanged(offset, size);
    return S_OK;
}

HRESULT DIndexBufferGL::OnUnlock(std::size_t offset, std::size_t size) {
    m_store.MarkChanged(offset, size);
    return S_OK;
}

DTextureGL::DTextureGL(int width, int height, int levels, DTextureFormat format, DResourceLinkPtr link)
    : DTexture(width, height, levels, format), m_link(std::move(link)),
      m_changedLevels(levels >= 32 ? ~0u : (1u << levels) - 1) {}

DTextureGL::~DTextureGL() {
    if (m_name != 0 && m_link->deviceAlive) {
        glDeleteTextures(1, &m_name);
        ++m_link->deletions;
    }
    m_link->Forget(this);
}

HRESULT DTextureGL::OnUnlock(int level) {
    m_changedLevels |= 1u << level;
    return S_OK;
}

void DTextureGL::Upload() const {
    if (m_name == 0) {
        glGenTextures(1, &m_name);
        glBindTexture(GL_TEXTURE_2D, m_name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, LevelCount() - 1);
        // An X8R8G8B8 texture's fourth byte means nothing; it samples as opaque.
        if (Format() == DTextureFormat::X8R8G8B8) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
        }
    } else {
        glBindTexture(GL_TEXTURE_2D, m_name);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    for (int level = 0; level < LevelCount(); ++level) {
        if ((m_changedLevels & (1u << level)) != 0) {
            // The CPU copy holds B, G, R, A bytes: exactly GL's BGRA order.
            glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, Width(level), Height(level), 0, GL_BGRA,
                         GL_UNSIGNED_BYTE, Pixels(level).data());
        }
    }
    m_changedLevels = 0;
}
