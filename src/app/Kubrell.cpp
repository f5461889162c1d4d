#include "app/Kubrell.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/AppIcon.h"
#include "app/MainFrame.h"
#include "app/PathRestorableDocManager.h"
#include "app/SettingsProfile.h"

CKubrell::CKubrell(int& argc, char** argv) : QApplication(argc, argv) {
    setOrganizationName(QStringLiteral("Quenvale"));
    setApplicationName(QStringLiteral("Kubrell"));
    setApplicationVersion(QStringLiteral("3.2.0"));
    setDesktopFileName(QStringLiteral("Qen.Kubrell"));
    setWindowIcon(AppIcon());

    // The program speaks Japanese; so should the toolkit's file and colour
    // dialogs where their translation is installed.
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);

    profile_ = std::make_unique<CSettingsProfile>();
    SetProfile(profile_.get());
}

CKubrell::~CKubrell() {
    frame_.reset();
    SetProfile(nullptr);
}

QString CKubrell::CommandLineDocument() const {
    const QStringList args = arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (!args[i].startsWith(u'-'))
            return args[i];
    }
    return {};
}

bool CKubrell::InitInstance() {
    frame_ = std::make_unique<CMainFrame>(*profile_);
    frame_->DocManager().NewDocument();
    frame_->ShowWindow(SHOW_NORMAL);
    const QString path = CommandLineDocument();
    if (!path.isEmpty())
        frame_->DocManager().OpenDocumentFile(path);
    return true;
}
