#pragma once

#include "render/device/DeviceTypes.h"

#include <epoxy/gl.h>

#include <cstdint>
#include <memory>

// The device's off-screen targets: the back buffer and the picking target
// (both RGBA8, the same size) sharing one 24-bit depth, 8-bit stencil buffer,
// as Direct3D's render targets share the automatic depth-stencil surface.
// Rendering off-screen keeps the back buffer's size whatever the window is,
// and lets both targets be read back.
class DTargetsGL {
public:
    // Null when the framebuffers cannot be completed.
    static std::unique_ptr<DTargetsGL> Create(int width, int height);
    ~DTargetsGL();
    DTargetsGL(const DTargetsGL&) = delete;
    DTargetsGL& operator=(const DTargetsGL&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Reallocates every buffer; colours are black afterwards, depth and
    // stencil undefined.
    bool Resize(int width, int height);
    // Draws and reads go to the target; the viewport covers it.
    void Bind(DRenderTarget target);
    // Rows top to bottom; the rectangle must lie inside the target. The
    // target that was bound stays bound.
    void Read(DRenderTarget target, DRenderTarget bound, int x, int y, int width, int height,
              std::uint8_t* rgba);
    // Scales the back buffer into the default framebuffer of the given size,
    // keeping its aspect with black bars, then binds `bound` again.
    void ShowBackBuffer(int drawableWidth, int drawableHeight, DRenderTarget bound);

private:
    DTargetsGL() = default;
    bool Allocate();
    GLuint Framebuffer(DRenderTarget target) const { return m_framebuffers[static_cast<int>(target)]; }

    int m_width = 0;
    int m_height = 0;
    GLuint m_colour[2] = {};
    GLuint m_depthStencil = 0;
    GLuint m_framebuffers[2] = {};
};
