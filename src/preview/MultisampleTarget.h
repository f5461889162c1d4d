#pragma once
// The multisampled framebuffer a smooth preview frame is drawn into and
// resolved from: an RGB colour and a 24-bit depth renderbuffer (no alpha,
// no stencil; the preview uses neither), remade when the size changes.
// Every call needs the context current.

#include <QOpenGLExtraFunctions>
#include <QSize>

class CMultisampleTarget : protected QOpenGLExtraFunctions {
public:
    CMultisampleTarget() = default;
    CMultisampleTarget(const CMultisampleTarget&) = delete;
    CMultisampleTarget& operator=(const CMultisampleTarget&) = delete;

    // Binds the framebuffer for a frame of the given size in device pixels
    // with up to the given samples (the driver's most at the outside);
    // false when it cannot be had.
    bool Bind(const QSize& device, int samples);
    // Resolves the frame into the framebuffer target, which is bound after.
    void ResolveInto(unsigned target);
    // Deletes the buffers.
    void Release();
    // The samples the buffers have (0 before the first Bind).
    int Samples() const { return samples_; }

private:
    bool Create(const QSize& device, int samples);

    bool initialised_ = false;
    unsigned framebuffer_ = 0;
    unsigned color_ = 0;
    unsigned depth_ = 0;
    QSize size_;
    int asked_ = 0;
    int samples_ = 0;
};
