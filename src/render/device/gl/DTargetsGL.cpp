#include "render/device/gl/DTargetsGL.h"

#include <algorithm>
#include <cstring>
#include <vector>

std::unique_ptr<DTargetsGL> DTargetsGL::Create(int width, int height) {
    std::unique_ptr<DTargetsGL> targets(new DTargetsGL());
    glGenRenderbuffers(2, targets->m_colour);
    glGenRenderbuffers(1, &targets->m_depthStencil);
    glGenFramebuffers(2, targets->m_framebuffers);
    if (!targets->Resize(width, height)) {
        return nullptr;
    }
    return targets;
}

DTargetsGL::~DTargetsGL() {
    glDeleteFramebuffers(2, m_framebuffers);
    glDeleteRenderbuffers(2, m_colour);
    glDeleteRenderbuffers(1, &m_depthStencil);
}

bool DTargetsGL::Resize(int width, int height) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    m_width = width;
    m_height = height;
    return Allocate();
}

bool DTargetsGL::Allocate() {
    // Only errors raised here decide the outcome; a context reports at most
    // one error per kind, so a few reads empty the queue.
    for (int i = 0; i < 8 && glGetError() != GL_NO_ERROR; ++i) {
    }
    glBindRenderbuffer(GL_RENDERBUFFER, m_depthStencil);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, m_width, m_height);
    bool complete = true;
    for (int i = 0; i < 2; ++i) {
        glBindRenderbuffer(GL_RENDERBUFFER, m_colour[i]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, m_width, m_height);
        glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffers[i]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_colour[i]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                  m_depthStencil);
        complete = complete && glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        // Both targets stand for 32-bit surfaces without alpha: alpha is set
        // to 1 once and never written, so blending with the destination alpha
        // sees 1 and read-backs and screenshots come out opaque.
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    return complete && glGetError() == GL_NO_ERROR;
}

void DTargetsGL::Bind(DRenderTarget target) {
    glBindFramebuffer(GL_FRAMEBUFFER, Framebuffer(target));
    glViewport(0, 0, m_width, m_height);
}

void DTargetsGL::Read(DRenderTarget target, DRenderTarget bound, int x, int y, int width, int height,
                      std::uint8_t* rgba) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, Framebuffer(target));
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // GL counts rows from the bottom; callers count them from the top.
    glReadPixels(x, m_height - y - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    const std::size_t pitch = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> row(pitch);
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        std::uint8_t* a = rgba + pitch * static_cast<std::size_t>(top);
        std::uint8_t* b = rgba + pitch * static_cast<std::size_t>(bottom);
        std::memcpy(row.data(), a, pitch);
        std::memcpy(a, b, pitch);
        std::memcpy(b, row.data(), pitch);
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, Framebuffer(bound));
}

void DTargetsGL::ShowBackBuffer(int drawableWidth, int drawableHeight, DRenderTarget bound) {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glViewport(0, 0, drawableWidth, drawableHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    const double scale = std::min(static_cast<double>(drawableWidth) / m_width,
                                  static_cast<double>(drawableHeight) / m_height);
    const int width = static_cast<int>(m_width * scale + 0.5);
    const int height = static_cast<int>(m_height * scale + 0.5);
    const int left = (drawableWidth - width) / 2;
    const int bottom = (drawableHeight - height) / 2;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, Framebuffer(DRenderTarget::BackBuffer));
    glBlitFramebuffer(0, 0, m_width, m_height, left, bottom, left + width, bottom + height,
                      GL_COLOR_BUFFER_BIT, width == m_width && height == m_height ? GL_NEAREST : GL_LINEAR);
    Bind(bound);
}
