#include "preview/MultisampleTarget.h"

#include <algorithm>

bool CMultisampleTarget::Bind(const QSize& device, int samples) {
    if (!initialised_) {
        initializeOpenGLFunctions();
        initialised_ = true;
    }
    if (framebuffer_ == 0 || device != size_ || samples != asked_) {
        Release();
        if (!Create(device, samples)) {
            Release();
            return false;
        }
    }
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    return true;
}

bool CMultisampleTarget::Create(const QSize& device, int samples) {
    GLint most = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &most);
    const int count = std::min(samples, static_cast<int>(most));
    if (count <= 0 || device.isEmpty())
        return false;
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glGenRenderbuffers(1, &color_);
    glBindRenderbuffer(GL_RENDERBUFFER, color_);
    // No alpha: the picture's alpha is 1 throughout (blending keeps the
    // cleared alpha), the window has none either, and the resolve then
    // copies a channel less (some 5% of the smooth frame under llvmpipe).
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, count, GL_RGB8, device.width(),
                                     device.height());
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color_);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    // Depth only: clearing the depth of a combined depth-stencil buffer
    // has to keep the stencil bits, which under a software renderer makes
    // the smooth frame's clear a tenth slower.
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, count, GL_DEPTH_COMPONENT24, device.width(),
                                     device.height());
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    GLint got = 0;
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_SAMPLES, &got);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        return false;
    size_ = device;
    asked_ = samples;
    samples_ = got;
    return true;
}

void CMultisampleTarget::ResolveInto(unsigned target) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target);
    glBlitFramebuffer(0, 0, size_.width(), size_.height(), 0, 0, size_.width(), size_.height(),
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, target);
}

void CMultisampleTarget::Release() {
    if (color_)
        glDeleteRenderbuffers(1, &color_);
    if (depth_)
        glDeleteRenderbuffers(1, &depth_);
    if (framebuffer_)
        glDeleteFramebuffers(1, &framebuffer_);
    framebuffer_ = color_ = depth_ = 0;
    size_ = {};
    samples_ = 0;
}
