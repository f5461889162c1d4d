#pragma once
// The About box: the program icon and "Kubrell Version " with the version.

#include <QDialog>

class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent = nullptr);
};
