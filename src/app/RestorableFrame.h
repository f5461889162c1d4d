#pragma once
// A main window that keeps its normal position and size and its show state
// in the settings, under a section of its own: "x", "y", "cx", "cy" and
// "show". The show states are numbered like the usual window show commands
// (1 normal, 2 minimised, 3 maximised, 5 plain show, 6 minimise, 7 minimised
// without activation).

#include <QMainWindow>

class CProfile;

enum ShowCommand : int {
    SHOW_NORMAL = 1,
    SHOW_MINIMIZED = 2,
    SHOW_MAXIMIZED = 3,
    SHOW_PLAIN = 5,
    SHOW_MINIMIZE = 6,
    SHOW_MIN_NO_ACTIVE = 7,
};

class CRestorableFrame : public QMainWindow {
    Q_OBJECT
public:
    CRestorableFrame(CProfile& profile, QString section, QWidget* parent = nullptr);

    // Reads the stored placement: when both stored sizes are positive the
    // window takes the stored position and size. Call before the window is
    // first shown.
    void LoadPlacement();
    // The show state to use for the launcher's request: the stored one when
    // it is set and the launcher asked for none of minimised or maximised.
    int ChooseShowCommand(int requested) const;
    // Shows the window for the launcher's request after the rule above.
    void ShowWindow(int requested);
    // Stores the normal (restored) rectangle and the current show state.
    void SavePlacement();

    // The rectangle the window has when neither minimised nor maximised.
    QRect NormalRect() const { return normalRect_; }
    // The show state to store: maximised (also when minimised from the
    // maximised state) or normal.
    int CurrentShowCommand() const;

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    CProfile& Profile() const { return profile_; }

private:
    void RememberNormalRect();

    CProfile& profile_;
    QString section_;
    QRect normalRect_;
    int storedShow_ = 0;
    bool maximizedBeforeMinimize_ = false;
};
