#include "preview/PreviewPane.h"

#include <QGuiApplication>
#include <QLabel>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QStackedLayout>

#include "preview/ModelView.h"

bool CPreviewPane::ProbeOpenGL(QString& reason) {
    QOpenGLContext context;
    context.setFormat(CGLView::RequestedFormat(0));
    if (!context.create()) {
        reason = tr("OpenGL のコンテキストを作成できません。");
        return false;
    }
    const QSurfaceFormat got = context.format();
    if (got.version() < qMakePair(3, 3)) {
        reason = tr("OpenGL %1.%2 しか使えません (3.3 が必要です)。")
                     .arg(got.majorVersion())
                     .arg(got.minorVersion());
        return false;
    }
    QOffscreenSurface surface;
    surface.setFormat(got);
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface)) {
        reason = tr("OpenGL のコンテキストを使えません。");
        return false;
    }
    context.doneCurrent();
    return true;
}

CPreviewPane::CPreviewPane(CDotDocument& document, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PreviewPane"));
    stack_ = new QStackedLayout(this);
    stack_->setContentsMargins(0, 0, 0, 0);
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("PreviewMessage"));
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);
    message_->setMargin(12);
    message_->setFocusPolicy(Qt::StrongFocus);
    stack_->addWidget(message_);
    QString reason;
    if (!ProbeOpenGL(reason)) {
        ShowMessage(reason);
        return;
    }
    modelView_ = new CModelView(document);
    container_ = QWidget::createWindowContainer(modelView_, this);
    container_->setObjectName(QStringLiteral("ModelViewContainer"));
    container_->setFocusPolicy(Qt::StrongFocus);
    container_->setContextMenuPolicy(Qt::PreventContextMenu);
    container_->setMinimumSize(0, 0);
    stack_->addWidget(container_);
    stack_->setCurrentWidget(container_);
    connect(modelView_, &CGLView::Unavailable, this, &CPreviewPane::ShowMessage);
    // The container hands its focus on to the window, after which the
    // application has no focus widget; focusing the container again would
    // take the focus back from the window.
    connect(modelView_, &CGLView::Pressed, container_, [this] {
        if (QGuiApplication::focusWindow() != modelView_)
            container_->setFocus(Qt::MouseFocusReason);
    });
}

bool CPreviewPane::HasViewFocus() const {
    if (!container_)
        return false;
    return container_->hasFocus() || (modelView_ && QGuiApplication::focusWindow() == modelView_);
}

QString CPreviewPane::Message() const {
    return stack_->currentWidget() == message_ ? message_->text() : QString();
}

void CPreviewPane::ShowMessage(const QString& reason) {
    message_->setText(
        tr("3D プレビューを表示できません。\n%1\nほかの機能はそのまま使えます。").arg(reason));
    stack_->setCurrentWidget(message_);
}
