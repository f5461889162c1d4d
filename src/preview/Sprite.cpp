#include "preview/Sprite.h"

#include <QOpenGLExtraFunctions>
#include <QOpenGLShaderProgram>
#include <QOpenGLTexture>

CSprite::CSprite() = default;

CSprite::~CSprite() = default;

bool CSprite::Create(QOpenGLExtraFunctions& gl, std::unique_ptr<QOpenGLShaderProgram> shader,
                     const QImage& sheet, int columns, int rows) {
    if (!shader)
        return false;
    gl_ = &gl;
    shader_ = std::move(shader);
    columns_ = columns;
    rows_ = rows;
    texture_ = std::make_unique<QOpenGLTexture>(sheet);
    texture_->setMinMagFilters(QOpenGLTexture::LinearMipMapLinear, QOpenGLTexture::Linear);
    texture_->setWrapMode(QOpenGLTexture::Repeat);
    gl.glGenVertexArrays(1, &array_);
    gl.glBindVertexArray(array_);
    gl.glGenBuffers(1, &vertices_);
    gl.glGenBuffers(1, &indices_);
    gl.glBindBuffer(GL_ARRAY_BUFFER, vertices_);
    gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices_);
    gl.glEnableVertexAttribArray(0);
    gl.glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 5 * sizeof(float), nullptr);
    gl.glEnableVertexAttribArray(1);
    gl.glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 5 * sizeof(float),
                             reinterpret_cast<const void*>(3 * sizeof(float)));
    gl.glBindVertexArray(0);
    return true;
}

void CSprite::Destroy() {
    if (!gl_)
        return;
    texture_.reset();
    shader_.reset();
    gl_->glDeleteBuffers(1, &vertices_);
    gl_->glDeleteBuffers(1, &indices_);
    gl_->glDeleteVertexArrays(1, &array_);
    vertices_ = indices_ = array_ = 0;
    indexCount_ = 0;
    gl_ = nullptr;
}

void CSprite::Build(const std::vector<MARKER_RECT>& items, float width, float height) {
    if (!gl_)
        return;
    const SPRITE_QUADS quads = BuildSpriteQuads(items, width, height, columns_, rows_);
    gl_->glBindVertexArray(array_);
    gl_->glBindBuffer(GL_ARRAY_BUFFER, vertices_);
    gl_->glBufferData(GL_ARRAY_BUFFER,
                      static_cast<GLsizeiptr>(quads.vertices.size() * sizeof(float)),
                      quads.vertices.data(), GL_DYNAMIC_DRAW);
    gl_->glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                      static_cast<GLsizeiptr>(quads.indices.size() * sizeof(uint16_t)),
                      quads.indices.data(), GL_DYNAMIC_DRAW);
    gl_->glBindVertexArray(0);
    indexCount_ = static_cast<int>(quads.indices.size());
}

void CSprite::Draw() {
    if (!gl_ || indexCount_ == 0)
        return;
    // The quads lie in front of everything: OpenGL's clip depth 0 is the
    // middle of the range, not the near plane, so the depth test is off.
    gl_->glDisable(GL_DEPTH_TEST);
    shader_->bind();
    gl_->glActiveTexture(GL_TEXTURE0);
    texture_->bind();
    shader_->setUniformValue("texture0", 0);
    gl_->glBindVertexArray(array_);
    gl_->glDrawElements(GL_TRIANGLES, indexCount_, GL_UNSIGNED_SHORT, nullptr);
    gl_->glBindVertexArray(0);
    gl_->glEnable(GL_DEPTH_TEST);
}
