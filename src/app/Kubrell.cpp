#include "app/Kubrell.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/AppIcon.h"
#include "app/MainFrame.h"
#include "app/PathRestorableDocManager.h"
#include "app/SettingsProfile.h"
#include "resources/Version.h"

CKubrell::CKubrell(int& argc, char** argv) : QApplication(argc, argv) {
    setOrganizationName(QStringLiteral("Quenvale"));
    setApplicationName(QStringLiteral("Kubrell"));
    setApplicationVersion(QStringLiteral(KUBRELL_VERSION));
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

QString CKubrell::DocumentArgument(const QStringList& arguments) {
    // The toolkit has taken its own options out already; "--" ends options.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QStringLiteral("--"))
            return arguments.value(i + 1);
        if (!arguments[i].startsWith(u'-'))
            return arguments[i];
    }
    return {};
}

bool CKubrell::InitInstance() {
    frame_ = std::make_unique<CMainFrame>(*profile_);
    frame_->DocManager().NewDocument();
    frame_->ShowWindow(SHOW_NORMAL);
    const QString path = DocumentArgument(arguments());
    if (!path.isEmpty())
        frame_->DocManager().OpenDocumentFile(path);
    return true;
}
