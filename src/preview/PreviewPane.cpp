#include "preview/PreviewPane.h"

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
    modelView_ = new CModelView(document, this);
    stack_->addWidget(modelView_);
    stack_->setCurrentWidget(modelView_);
    connect(modelView_, &CGLView::Unavailable, this, &CPreviewPane::ShowMessage);
}

QString CPreviewPane::Message() const {
    return stack_->currentWidget() == message_ ? message_->text() : QString();
}

void CPreviewPane::ShowMessage(const QString& reason) {
    message_->setText(
        tr("3D プレビューを表示できません。\n%1\nほかの機能はそのまま使えます。").arg(reason));
    stack_->setCurrentWidget(message_);
}
