#include "app/PathRestorableDocManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/ErrorText.h"
#include "app/ShellPrompts.h"
#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/Profile.h"
#include "document/UpdateHints.h"
#include "resources/CommandIds.h"
#include "app/CommandTable.h"

namespace {

constexpr char16_t RecentSection[] = u"Recent File List";
constexpr char16_t DocumentDirectoryKey[] = u"DocumentDirectory";

std::u16string RecentKey(int index) {
    return u"File" + QString::number(index + 1).toStdU16String();
}

std::string FileSystemName(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString Absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

} // namespace

QStringList DocumentFileFilters() {
    return {QStringLiteral("Kubrellファイル (*.kbrl)"), QStringLiteral("すべてのファイル (*)")};
}

QString RecentFileMenuText(int index, const QString& path) {
    QString shown = QDir::toNativeSeparators(path);
    constexpr int MaxLength = 60;
    if (shown.size() > MaxLength) {
        // Keep the file name and the start of the path.
        const QString name = QFileInfo(path).fileName();
        const int head = std::max(0, MaxLength - static_cast<int>(name.size()) - 4);
        shown = shown.left(head) + QStringLiteral("…") + QDir::separator() + name;
    }
    shown.replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

CPathRestorableDocManager::CPathRestorableDocManager(CDotDocument& document, CProfile& profile,
                                                     CShellPrompts& prompts, QObject* parent)
    : QObject(parent), document_(document), profile_(profile), prompts_(prompts) {
    LoadRecentFiles();
}

QString CPathRestorableDocManager::Title() const {
    return path_.isEmpty() ? QStringLiteral("無題") : QFileInfo(path_).fileName();
}

void CPathRestorableDocManager::NewDocument() {
    document_.OnNewDocument();
    document_.SetModifiedFlag(false);
    path_.clear();
    emit DocumentReset();
    emit TitleChanged();
}

bool CPathRestorableDocManager::OpenDocumentFile(const QString& path) {
    const QString absolute = Absolute(path);
    try {
        // The reader fills a separate document and takes it over only when
        // the whole file was read, so a failure leaves ours untouched.
        LoadDocumentFile(FileSystemName(absolute), document_);
    } catch (const std::exception& error) {
        prompts_.ShowError(OpenFailedMessage(absolute, error));
        return false;
    }
    AdoptPath(absolute);
    emit DocumentReset();
    emit TitleChanged();
    return true;
}

bool CPathRestorableDocManager::SaveTo(const QString& path) {
    const QString absolute = Absolute(path);
    try {
        SaveDocumentFile(document_, FileSystemName(absolute));
    } catch (const std::exception& error) {
        prompts_.ShowError(SaveFailedMessage(absolute, error));
        return false;
    }
    AdoptPath(absolute);
    emit TitleChanged();
    return true;
}

void CPathRestorableDocManager::AdoptPath(const QString& absolute) {
    document_.SetModifiedFlag(false);
    path_ = absolute;
    AddRecentFile(absolute);
}

bool CPathRestorableDocManager::Save() {
    if (path_.isEmpty())
        return SaveAs();
    return SaveTo(path_);
}

bool CPathRestorableDocManager::SaveAs() {
    QString proposed = path_.isEmpty() ? Title() : path_;
    if (QFileInfo(proposed).suffix().isEmpty())
        proposed += QStringLiteral(".kbrl");
    const std::optional<QString> chosen = PromptFileName(false, proposed);
    return chosen && SaveTo(*chosen);
}

bool CPathRestorableDocManager::SaveModified() {
    if (!document_.IsModified())
        return true;
    switch (prompts_.AskSaveChanges(Title())) {
    case SaveAnswer::Yes: return Save();
    case SaveAnswer::No: return true;
    case SaveAnswer::Cancel:
    default: return false;
    }
}

std::optional<QString> CPathRestorableDocManager::PromptFileName(bool open,
                                                                 const QString& proposed) {
    FILE_PROMPT prompt;
    prompt.title = open ? QStringLiteral("開く") : QStringLiteral("名前を付けて保存");
    prompt.filters = DocumentFileFilters();
    prompt.defaultSuffix = QStringLiteral("kbrl");
    const QString folder =
        QString::fromStdU16String(profile_.GetString(ProfileWorkspace, DocumentDirectoryKey));
    const bool hasFolder = proposed.contains(u'/');
    if (hasFolder || folder.isEmpty())
        prompt.initialPath = proposed;
    else
        prompt.initialPath = proposed.isEmpty() ? folder : QDir(folder).filePath(proposed);

    std::optional<QString> chosen =
        open ? prompts_.ChooseOpenFile(prompt) : prompts_.ChooseSaveFile(prompt);
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    if (!open)
        chosen = WithDefaultSuffix(*chosen, prompt.defaultSuffix);
    profile_.WriteString(ProfileWorkspace, DocumentDirectoryKey,
                         QFileInfo(*chosen).absolutePath().toStdU16String());
    return chosen;
}

void CPathRestorableDocManager::AddRecentFile(const QString& path) {
    const QString absolute = Absolute(path);
    recent_.removeAll(absolute);
    recent_.prepend(absolute);
    while (recent_.size() > RecentFileCount)
        recent_.removeLast();
    StoreRecentFiles();
}

void CPathRestorableDocManager::LoadRecentFiles() {
    recent_.clear();
    for (int i = 0; i < RecentFileCount; ++i) {
        const QString path =
            QString::fromStdU16String(profile_.GetString(RecentSection, RecentKey(i)));
        if (!path.isEmpty() && !recent_.contains(path))
            recent_.append(path);
    }
}

void CPathRestorableDocManager::StoreRecentFiles() {
    for (int i = 0; i < RecentFileCount; ++i)
        profile_.WriteString(RecentSection, RecentKey(i),
                             i < recent_.size() ? recent_[i].toStdU16String() : std::u16string());
}

void CPathRestorableDocManager::OpenRecentFile(int index) {
    if (index >= recent_.size() || !SaveModified())
        return;
    const QString path = recent_[index];
    // An entry that cannot be opened any more leaves the list.
    if (!OpenDocumentFile(path)) {
        recent_.removeAll(path);
        StoreRecentFiles();
    }
}

std::span<const CCommandHandler<CPathRestorableDocManager>> CPathRestorableDocManager::Handlers() {
    using Manager = CPathRestorableDocManager;
    static const CCommandHandler<Manager> handlers[] = {
        {.id = ID_FILE_NEW,
         .run =
             [](Manager& manager, unsigned) {
                 if (manager.SaveModified())
                     manager.NewDocument();
             }},
        {.id = ID_FILE_OPEN,
         .run =
             [](Manager& manager, unsigned) {
                 if (!manager.SaveModified())
                     return;
                 if (const std::optional<QString> path = manager.PromptFileName(true, QString()))
                     manager.OpenDocumentFile(*path);
             }},
        {.id = ID_FILE_SAVE, .run = [](Manager& manager, unsigned) { manager.Save(); }},
        {.id = ID_FILE_SAVE_AS, .run = [](Manager& manager, unsigned) { manager.SaveAs(); }},
        // The recent files: only the entries the list holds.
        {.id = ID_FILE_MRU_FILE1,
         .count = RecentFileCount,
         .takes =
             [](const Manager& manager, unsigned id) {
                 return static_cast<int>(id - ID_FILE_MRU_FILE1) < manager.recent_.size();
             },
         .run =
             [](Manager& manager, unsigned id) {
                 manager.OpenRecentFile(static_cast<int>(id - ID_FILE_MRU_FILE1));
             },
         .update =
             [](const Manager& manager, unsigned id, CCommandState& state) {
                 const int index = static_cast<int>(id - ID_FILE_MRU_FILE1);
                 state.text = RecentFileMenuText(index, manager.recent_[index]).toStdU16String();
             }},
    };
    return handlers;
}

bool CPathRestorableDocManager::OnCommand(unsigned id) { return RunCommand(Handlers(), *this, id); }

bool CPathRestorableDocManager::OnUpdateCommand(unsigned id, CCommandState& state) {
    return UpdateCommand(Handlers(), *this, id, state);
}
