#pragma once
// A pane that stands where a working view will be: it shows the view's role
// and takes part in focus and layout, but handles no command.

#include <QWidget>

class CPlaceholderView : public QWidget {
    Q_OBJECT
public:
    CPlaceholderView(const QString& role, QWidget* parent = nullptr);

    QString Role() const { return role_; }
    QSize sizeHint() const override { return {100, 38}; }
    QSize minimumSizeHint() const override { return {0, 0}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent*) override { update(); }
    void focusOutEvent(QFocusEvent*) override { update(); }

private:
    QString role_;
};
