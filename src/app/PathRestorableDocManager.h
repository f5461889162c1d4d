#pragma once
// The document's life in the editor: new, open (menu, recent-file list,
// command line and dropped files all take the same path), save and save as,
// the question to save changes, the recent-file list and the file dialogs
// that start in, and remember, the last folder used ("DocumentDirectory").
//
// There is one document for the whole run; "new" and "open" refill it. A
// file that cannot be read leaves it as it was.

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

#include "document/CommandTarget.h"

class CDotDocument;
class CProfile;
class CShellPrompts;

class CPathRestorableDocManager : public QObject, public CCommandTarget {
    Q_OBJECT
public:
    CPathRestorableDocManager(CDotDocument& document, CProfile& profile, CShellPrompts& prompts,
                              QObject* parent = nullptr);

    CDotDocument& Document() const { return document_; }
    // The file the document was read from or last saved to; empty for a new one.
    QString PathName() const { return path_; }
    // The name shown in the title: the file name, or "無題" for a new document.
    QString Title() const;

    // Makes the document a new one (the standard skeleton), without asking.
    void NewDocument();
    // Reads path into the document. On failure the user is told which file
    // and why, the document stays as it was and false is returned.
    bool OpenDocumentFile(const QString& path);
    // Saves to the document's file, or asks for one when it has none.
    bool Save();
    // Asks for a file and saves to it.
    bool SaveAs();
    // Writes the document to path; on failure tells the user and returns
    // false. The previous file stays intact when writing fails.
    bool SaveTo(const QString& path);
    // When the document is modified, asks whether to save it: true when the
    // caller may go on (saved, or not wanted), false on Cancel or when the
    // save failed.
    bool SaveModified();
    // Asks for a file with the document file dialog (open or save): the
    // proposed name without a folder starts in "DocumentDirectory", and the
    // folder of the chosen file is stored there.
    std::optional<QString> PromptFileName(bool open, const QString& proposed);

    // The recent-file list, newest first (at most RecentFileCount entries).
    QStringList RecentFiles() const { return recent_; }
    // Puts path at the top of the list and stores the list.
    void AddRecentFile(const QString& path);

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(unsigned id, CCommandState& state) override;

signals:
    // The document was refilled (new or opened): views start over.
    void DocumentReset();
    // The path, title or modified state may have changed.
    void TitleChanged();

private:
    void LoadRecentFiles();
    void StoreRecentFiles();
    void OpenRecentFile(int index);
    // The document now matches the file at absolute: unmodified, named
    // after it, at the top of the recent-file list.
    void AdoptPath(const QString& absolute);
    // The file commands: new, open, save, save as and the recent files.
    static std::span<const CCommandHandler<CPathRestorableDocManager>> Handlers();

    CDotDocument& document_;
    CProfile& profile_;
    CShellPrompts& prompts_;
    QString path_;
    QStringList recent_;
};

// The filters of the document file dialogs.
QStringList DocumentFileFilters();
// The text of a recent-file menu entry: "&n " and the path, shortened in the
// middle when long, with '&' doubled.
QString RecentFileMenuText(int index, const QString& path);
