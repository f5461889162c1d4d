#include "app/RestorableFrame.h"

#include <QEvent>
#include <QWindowStateChangeEvent>

#include "document/Profile.h"

namespace {

std::u16string Key(const char16_t* key) { return key; }

} // namespace

CRestorableFrame::CRestorableFrame(CProfile& profile, QString section, QWidget* parent)
    : QMainWindow(parent), profile_(profile), section_(std::move(section)) {}

void CRestorableFrame::LoadPlacement() {
    const std::u16string section = section_.toStdU16String();
    const int x = profile_.GetInt(section, Key(u"x"), 0);
    const int y = profile_.GetInt(section, Key(u"y"), 0);
    const int cx = profile_.GetInt(section, Key(u"cx"), 0);
    const int cy = profile_.GetInt(section, Key(u"cy"), 0);
    storedShow_ = profile_.GetInt(section, Key(u"show"), 0);
    if (cx > 0 && cy > 0) {
        setGeometry(x, y, cx, cy);
        normalRect_ = QRect(x, y, cx, cy);
    }
}

int CRestorableFrame::ChooseShowCommand(int requested) const {
    const bool launcherChose = requested == SHOW_MINIMIZED || requested == SHOW_MAXIMIZED ||
                               requested == SHOW_MINIMIZE || requested == SHOW_MIN_NO_ACTIVE;
    return storedShow_ != 0 && !launcherChose ? storedShow_ : requested;
}

void CRestorableFrame::ShowWindow(int requested) {
    switch (ChooseShowCommand(requested)) {
    case SHOW_MINIMIZED:
    case SHOW_MINIMIZE:
    case SHOW_MIN_NO_ACTIVE: showMinimized(); break;
    case SHOW_MAXIMIZED: showMaximized(); break;
    default: show(); break;
    }
}

int CRestorableFrame::CurrentShowCommand() const {
    if (isMaximized() || (isMinimized() && maximizedBeforeMinimize_))
        return SHOW_MAXIMIZED;
    return SHOW_NORMAL;
}

void CRestorableFrame::SavePlacement() {
    RememberNormalRect();
    const std::u16string section = section_.toStdU16String();
    profile_.WriteInt(section, Key(u"x"), normalRect_.x());
    profile_.WriteInt(section, Key(u"y"), normalRect_.y());
    profile_.WriteInt(section, Key(u"cx"), normalRect_.width());
    profile_.WriteInt(section, Key(u"cy"), normalRect_.height());
    profile_.WriteInt(section, Key(u"show"), CurrentShowCommand());
}

void CRestorableFrame::RememberNormalRect() {
    if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) &&
        isVisible())
        normalRect_ = geometry();
}

void CRestorableFrame::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    RememberNormalRect();
}

void CRestorableFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    RememberNormalRect();
}

void CRestorableFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        if (windowState() & Qt::WindowMinimized)
            maximizedBeforeMinimize_ = (change->oldState() & Qt::WindowMaximized) != 0;
    }
    QMainWindow::changeEvent(event);
}
