#pragma once
// The application object: names the program for the desktop and the
// settings ("Quenvale"/"Kubrell", application id "Qen.Kubrell"), loads the
// Japanese texts of the toolkit's own dialogs when they are installed,
// backs the core's profile with the settings file, and at start-up creates
// the main window with a new document or the document named on the command
// line.

#include <QApplication>
#include <memory>

class CMainFrame;
class CSettingsProfile;

class CKubrell : public QApplication {
    Q_OBJECT
public:
    CKubrell(int& argc, char** argv);
    ~CKubrell() override;

    CSettingsProfile& Profile() const { return *profile_; }
    CMainFrame* MainFrame() const { return frame_.get(); }

    // Creates and shows the main window. A document named on the command
    // line is opened; when it cannot be read the user is told and the
    // program starts with a new document.
    bool InitInstance();
    // The document path among the program's arguments (the first one that
    // is not an option), or empty.
    static QString DocumentArgument(const QStringList& arguments);

private:
    std::unique_ptr<CSettingsProfile> profile_;
    std::unique_ptr<CMainFrame> frame_;
};
