#include "preview/GLView.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLShaderProgram>
#include <QWheelEvent>

#include "preview/PreviewShaders.h"
#include "scene/GroundGrid.h"

namespace {

int defaultSamples = 16;

} // namespace

QSurfaceFormat CGLView::RequestedFormat(int samples) {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    format.setSamples(samples);
    return format;
}

void CGLView::SetDefaultSamples(int samples) { defaultSamples = samples; }

CGLView::CGLView(QWindow* parent)
    : QOpenGLWindow(NoPartialUpdate, parent), samples_(defaultSamples) {
    // The window itself is single-sampled; still frames are multisampled
    // in a framebuffer of their own.
    setFormat(RequestedFormat(0));
    smoothTimer_.setSingleShot(true);
    smoothTimer_.setTimerType(Qt::PreciseTimer);
    connect(&smoothTimer_, &QTimer::timeout, this, &CGLView::ScheduleSmooth);
}

bool CGLView::BindMultisample(const QSize& device) {
    return samples_ > 0 && multisample_.Bind(device, samples_);
}

CGLView::~CGLView() {
    if (ready_ && context()) {
        makeCurrent();
        ReleaseBase();
        doneCurrent();
    }
}

Matrix4 CGLView::Projection() const {
    const float aspect =
        height() > 0 ? static_cast<float>(width()) / static_cast<float>(height()) : 1.0f;
    return camera_.Projection(aspect);
}

void CGLView::CameraChanged() {
    sceneDirty_ = true;
    ContentChanged();
}

void CGLView::ContentChanged() {
    frames_.Change(CFramePolicy::Clock::now());
    update();
}

void CGLView::ScheduleSmooth() {
    const auto left = frames_.UntilSmooth(CFramePolicy::Clock::now());
    if (!left) {
        smoothTimer_.stop();
    } else if (*left > CFramePolicy::Clock::duration::zero()) {
        smoothTimer_.start(std::chrono::ceil<std::chrono::milliseconds>(*left));
    } else {
        smoothTimer_.stop();
        update();
    }
}

bool CGLView::PaintNow() {
    if (!isValid())
        return false;
    makeCurrent();
    paintGL();
    return true;
}

QImage CGLView::GrabFrame() {
    smoothAsked_ = true;
    PaintNow();
    smoothAsked_ = false;
    return grabFramebuffer();
}

void CGLView::Fail(const QString& reason) {
    ready_ = false;
    emit Unavailable(reason);
}

std::unique_ptr<QOpenGLShaderProgram> CGLView::MakeProgram(const char* vertex, const char* fragment,
                                                           QString& reason) {
    auto program = std::make_unique<QOpenGLShaderProgram>();
    if (!program->addShaderFromSourceCode(QOpenGLShader::Vertex, vertex) ||
        !program->addShaderFromSourceCode(QOpenGLShader::Fragment, fragment) || !program->link()) {
        reason = program->log();
        return nullptr;
    }
    return program;
}

void CGLView::SetMatrix(QOpenGLShaderProgram& program, const char* name, const Matrix4& matrix) {
    glUniformMatrix4fv(program.uniformLocation(name), 1, GL_FALSE, matrix.Data());
}

void CGLView::SetCameraUniforms(QOpenGLShaderProgram& program) {
    SetMatrix(program, "world", World());
    SetMatrix(program, "view", View());
    SetMatrix(program, "projection", Projection());
}

void CGLView::initializeGL() {
    initializeOpenGLFunctions();
    const QSurfaceFormat got = context()->format();
    if (got.version() < qMakePair(3, 3)) {
        Fail(tr("OpenGL %1.%2 しか使えません (3.3 が必要です)。")
                 .arg(got.majorVersion())
                 .arg(got.minorVersion()));
        return;
    }
    QString reason;
    lineShader_ = MakeProgram(LineShaderSource.vertex, LineShaderSource.fragment, reason);
    if (!lineShader_) {
        Fail(reason);
        return;
    }
    const std::vector<LINE_VERTEX> grid = BuildGroundGrid();
    gridVertices_ = static_cast<int>(grid.size());
    glGenVertexArrays(1, &gridArray_);
    glBindVertexArray(gridArray_);
    glGenBuffers(1, &gridBuffer_);
    glBindBuffer(GL_ARRAY_BUFFER, gridBuffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(grid.size() * sizeof(LINE_VERTEX)),
                 grid.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(LINE_VERTEX), nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, sizeof(LINE_VERTEX),
                          reinterpret_cast<const void*>(offsetof(LINE_VERTEX, r)));
    glBindVertexArray(0);
    ready_ = true;
    if (!CreateResources(reason)) {
        Fail(reason);
        return;
    }
    sceneDirty_ = true;
}

void CGLView::ReleaseBase() {
    multisample_.Release();
    lineShader_.reset();
    if (gridBuffer_)
        glDeleteBuffers(1, &gridBuffer_);
    if (gridArray_)
        glDeleteVertexArrays(1, &gridArray_);
    gridBuffer_ = gridArray_ = 0;
}

void CGLView::resizeGL(int, int) {
    sceneDirty_ = true;
    frames_.Change(CFramePolicy::Clock::now());
}

void CGLView::paintGL() {
    if (!ready_)
        return;
    if (sceneDirty_) {
        Prepare();
        sceneDirty_ = false;
    }
    const qreal ratio = devicePixelRatio();
    const QSize device(static_cast<int>(width() * ratio), static_cast<int>(height() * ratio));
    const bool smooth = frames_.BeginFrame(smoothAsked_) == CFramePolicy::Frame::Smooth;
    const bool multisampled = smooth && BindMultisample(device);
    if (!multisampled)
        glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
    glViewport(0, 0, device.width(), device.height());
    glClearColor(clearColor_[0], clearColor_[1], clearColor_[2], clearColor_[3]);
    glClearDepthf(1.0f);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Source-alpha blending of colour; the framebuffer's alpha stays 1, so
    // that a read-back or a compositor sees an opaque picture. Depth test and writes on with
    // less-or-equal; back faces (counter-clockwise on the screen) culled,
    // so a translucent cube blends its front faces only.
    glEnable(GL_BLEND);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
    glBlendEquation(GL_FUNC_ADD);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    Render();
    if (multisampled)
        multisample_.ResolveInto(defaultFramebufferObject());
    lastSamples_ = multisampled ? multisample_.Samples() : 0;
    ++framesDrawn_;
    smoothFrames_ += smooth ? 1 : 0;
    frames_.EndFrame(CFramePolicy::Clock::now());
    ScheduleSmooth();
}

void CGLView::Render() {
    lineShader_->bind();
    SetCameraUniforms(*lineShader_);
    glBindVertexArray(gridArray_);
    glDrawArrays(GL_LINES, 0, gridVertices_);
    glBindVertexArray(0);
}

void CGLView::mousePressEvent(QMouseEvent* event) {
    emit Pressed();
    if (event->button() == Qt::RightButton) {
        drag_ = Drag::Rotate;
        last_ = event->position().toPoint();
    } else if (event->button() == Qt::MiddleButton) {
        drag_ = Drag::Pan;
        last_ = event->position().toPoint();
    } else {
        QOpenGLWindow::mousePressEvent(event);
    }
}

void CGLView::mouseReleaseEvent(QMouseEvent* event) {
    if ((event->button() == Qt::RightButton && drag_ == Drag::Rotate) ||
        (event->button() == Qt::MiddleButton && drag_ == Drag::Pan)) {
        drag_ = Drag::None;
    }
}

void CGLView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        camera_.Reset();
        CameraChanged();
    } else {
        mousePressEvent(event);
    }
}

void CGLView::mouseMoveEvent(QMouseEvent* event) {
    if (drag_ == Drag::None)
        return;
    const QPoint point = event->position().toPoint();
    const QPoint delta = point - last_;
    last_ = point;
    if (drag_ == Drag::Rotate)
        camera_.Rotate(delta.x(), delta.y());
    else
        camera_.Pan(delta.x(), delta.y());
    CameraChanged();
}

void CGLView::wheelEvent(QWheelEvent* event) {
    if (camera_.Wheel(event->angleDelta().y()))
        CameraChanged();
    event->accept();
}

bool CGLView::event(QEvent* event) {
    // The right button turns the camera; it opens no menu.
    if (event->type() == QEvent::ContextMenu) {
        event->accept();
        return true;
    }
    return QOpenGLWindow::event(event);
}

void CGLView::hideEvent(QHideEvent* event) {
    drag_ = Drag::None;
    smoothTimer_.stop();
    QOpenGLWindow::hideEvent(event);
}
