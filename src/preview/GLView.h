#pragma once
// The base of the 3D preview: an OpenGL 3.3 core window with the orbit
// camera driven by the mouse, the ground grid with its axes and the fixed
// pipeline states. Subclasses draw more after the grid (Render) and
// recompute screen-space things when the camera or size changed (Prepare).
//
// It is a native window of its own, placed in the editor through a window
// container (CPreviewPane), not a widget drawn into the main window: a GL
// widget would make every repaint of any other widget compose the whole
// window through OpenGL, which under a software renderer costs tens of
// milliseconds per dot-view stroke. As a window of its own, the other
// widgets keep the plain raster backing store.
//
// Coordinates stay left-handed as the model is written (x right, y up, z
// into the screen): the matrices map them to the same clip coordinates the
// model's own convention gives, so nothing is mirrored. The cube faces are
// listed clockwise seen from outside, so clockwise is the front face here.
//
// Frames: a frame caused by a change (camera, scene or size) is drawn fast,
// single-sampled straight into the window; once the view has been still for
// a moment (CFramePolicy decides, a single-shot timer asks for the frame),
// one smooth frame is drawn into a multisampled framebuffer (the samples
// asked for, or as many as the driver gives) and resolved into the window.
// Under a software renderer multisampling costs several times a fast frame,
// so a drag, a wheel zoom or an edit is answered fast and sharpens after.
// A repaint with nothing changed (an expose) is smooth.
//
// Mouse: right drag turns (1° a pixel), middle drag pans (0.04 a pixel), the
// wheel moves the eye 2 units a notch, a right double-click resets the
// camera. The right button opens no context menu.

#include <QOpenGLExtraFunctions>
#include <QOpenGLWindow>
#include <QTimer>
#include <array>
#include <memory>

#include "preview/MultisampleTarget.h"
#include "scene/FramePolicy.h"
#include "scene/OrbitCamera.h"

class QOpenGLShaderProgram;

class CGLView : public QOpenGLWindow, protected QOpenGLExtraFunctions {
    Q_OBJECT
public:
    explicit CGLView(QWindow* parent = nullptr);
    ~CGLView() override;

    // The surface every preview asks for: OpenGL 3.3 core, 24-bit depth and
    // the given number of samples (the driver may give fewer).
    static QSurfaceFormat RequestedFormat(int samples);
    // Samples new views ask for; 16 unless a test turns multisampling off.
    static void SetDefaultSamples(int samples);

    COrbitCamera& Camera() { return camera_; }
    const COrbitCamera& Camera() const { return camera_; }
    Matrix4 World() const { return camera_.World(); }
    Matrix4 View() const { return camera_.View(); }
    Matrix4 Projection() const;
    // The size sprite rectangles are measured in (device-independent pixels).
    QSizeF SceneSize() const { return size(); }
    // The samples of the last frame drawn (0 for a fast frame and without
    // multisampling).
    int Samples() const { return lastSamples_; }
    // How many frames were drawn, how many of them smooth, and whether a
    // smooth one is still to come.
    int Frames() const { return framesDrawn_; }
    int SmoothFrames() const { return smoothFrames_; }
    bool SmoothPending() const { return frames_.SmoothPending(); }
    // Whether the renderer came up; false until the first initialisation and
    // after a failure.
    bool IsReady() const { return ready_; }

    // After a camera change made by code: mark the scene dirty and redraw.
    void CameraChanged();
    // After something else shown changed: a fast frame now, a smooth one
    // when the view is still.
    void ContentChanged();
    // Draws a frame now into the back buffer, as the next repaint would,
    // without showing it (for reading it back or timing it). False, drawing
    // nothing, until the window has been exposed and its context made.
    bool PaintNow();
    // The picture of a smooth frame drawn now.
    QImage GrabFrame();

signals:
    // OpenGL 3.3 could not be had or a shader failed; the text says why.
    void Unavailable(const QString& reason);
    // A mouse button went down on the view (the pane moves the keyboard
    // focus to it).
    void Pressed();

protected:
    // Called with the context current after the base resources were made;
    // returns false (with a reason) when the subclass cannot draw.
    virtual bool CreateResources(QString& reason) {
        (void)reason;
        return true;
    }
    // Called with the context current before the base goes.
    virtual void DestroyResources() {}
    // Draws the grid; subclasses call it first, then draw more.
    virtual void Render();
    // Before drawing when the camera or size changed since the last frame.
    virtual void Prepare() {}

    // Builds a program from sources; null with the log in reason on failure.
    std::unique_ptr<QOpenGLShaderProgram> MakeProgram(const char* vertex, const char* fragment,
                                                      QString& reason);
    // Sets world, view and projection on a bound program.
    void SetCameraUniforms(QOpenGLShaderProgram& program);
    void SetMatrix(QOpenGLShaderProgram& program, const char* name, const Matrix4& matrix);
    void SetSceneDirty() { sceneDirty_ = true; }
    void SetClearColor(const std::array<float, 4>& color) { clearColor_ = color; }

    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Fail(const QString& reason);
    void ReleaseBase();
    // Binds the multisampled framebuffer for a smooth frame of the given
    // size in device pixels; false when there is none (the frame goes
    // straight to the window).
    bool BindMultisample(const QSize& device);
    // Starts the timer for the smooth frame, or asks for it when due.
    void ScheduleSmooth();

    enum class Drag { None, Rotate, Pan };

    COrbitCamera camera_;
    std::array<float, 4> clearColor_{1.0f, 1.0f, 1.0f, 1.0f};
    std::unique_ptr<QOpenGLShaderProgram> lineShader_;
    CMultisampleTarget multisample_;
    int samples_ = 0;
    CFramePolicy frames_;
    QTimer smoothTimer_;
    bool smoothAsked_ = false;
    int lastSamples_ = 0;
    int framesDrawn_ = 0;
    int smoothFrames_ = 0;
    unsigned gridArray_ = 0;
    unsigned gridBuffer_ = 0;
    int gridVertices_ = 0;
    bool ready_ = false;
    bool sceneDirty_ = true;
    Drag drag_ = Drag::None;
    QPoint last_;
};
