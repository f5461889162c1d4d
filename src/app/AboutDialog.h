#pragma once
// The About box: the program icon and "Kubrell Version 3.2.0".

#include <QDialog>

class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent = nullptr);
};
