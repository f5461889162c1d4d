#pragma once
// Screen-aligned quads cut from a sprite sheet, drawn over the 3D scene (the
// bone markers of the preview). Every call needs the owning view's context
// current.

#include <QImage>
#include <memory>
#include <vector>

#include "scene/MarkerLayout.h"

class QOpenGLExtraFunctions;
class QOpenGLShaderProgram;
class QOpenGLTexture;

class CSprite {
public:
    CSprite();
    ~CSprite();

    // Shader, sheet texture (with mipmaps, sampled linearly, wrapping) and
    // buffers; false when the shader cannot be built.
    bool Create(QOpenGLExtraFunctions& gl, std::unique_ptr<QOpenGLShaderProgram> shader,
                const QImage& sheet, int columns, int rows);
    void Destroy();
    // The quads of the non-empty rectangles, measured in a view of
    // width × height.
    void Build(const std::vector<MARKER_RECT>& items, float width, float height);
    // Draws the quads on top of everything (no depth test), blended by the
    // sheet's alpha; nothing without items.
    void Draw();

private:
    QOpenGLExtraFunctions* gl_ = nullptr;
    std::unique_ptr<QOpenGLShaderProgram> shader_;
    std::unique_ptr<QOpenGLTexture> texture_;
    unsigned array_ = 0;
    unsigned vertices_ = 0;
    unsigned indices_ = 0;
    int indexCount_ = 0;
    int columns_ = 1;
    int rows_ = 1;
};
