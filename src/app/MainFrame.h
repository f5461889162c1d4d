#pragma once
// The main window: tool bar, a splitter with the part list (left), the dot
// pane (middle: palette strip over the dot view) and the model preview
// (right), and a status bar with four panes. It owns the one document, the
// document manager and the command routing, keeps its layout in the
// settings ("Workspace" and "Window") and opens files dropped on it.
//
// Commands go first to the view that has the focus, then to the frame
// itself (with the document manager), then to the dot view, then to the
// model view, and last to the document (which offers each to its current
// part first) and the document's own dialogs.

#include <map>
#include <memory>

#include "app/RestorableFrame.h"
#include "document/CommandTarget.h"
#include "document/DocumentObserver.h"
#include "views/PasteTarget.h"

class CCommandRouter;
class CDocumentDialogCommands;
class CDotDocument;
class CDotPane;
class CDotView;
class CPartListView;
class CPathRestorableDocManager;
class CProfile;
class CShellPrompts;
class QLabel;
class QMenu;
class QSplitter;

class CMainFrame : public CRestorableFrame, public CCommandTarget, public CDocumentObserver {
    Q_OBJECT
public:
    static constexpr int DefaultDotColumnWidth = 600;
    static constexpr int DefaultListWidth = 100;
    static constexpr int StatusPaneWidth = 100;

    // prompts asks the user; null means the real dialogs.
    explicit CMainFrame(CProfile& profile, CShellPrompts* prompts = nullptr,
                        QWidget* parent = nullptr);
    ~CMainFrame() override;

    CDotDocument& Document() const { return *document_; }
    CPathRestorableDocManager& DocManager() const { return *docManager_; }
    CDocumentDialogCommands& DialogCommands() const { return *dialogCommands_; }
    CCommandRouter& Router() const { return *router_; }
    QSplitter* Splitter() const { return splitter_; }
    QWidget* PartListView() const { return partList_; }
    CDotPane* DotPane() const { return dotPane_; }
    CDotView* DotView() const { return dotView_; }
    QWidget* ModelView() const { return modelView_; }
    QLabel* StatusPane(int index) const;

    // Sets the text of a status-bar pane (0 is the message pane, 1–3 the
    // fixed ones); out-of-range panes are ignored.
    void SetStatusText(int pane, const QString& text);
    // Opens a file the way "開く" does after its dialog: asks to save a
    // modified document first. Used for the command line and dropped files.
    bool OpenDocumentFile(const QString& path);
    // Refreshes the title and every command state. Document changes do this
    // by themselves as soon as the event loop runs.
    void RefreshUi();

    // Command targets and paste handlers of the working views; null while a
    // view is a place-holder.
    struct VIEW_TARGETS {
        CCommandTarget* partList = nullptr;
        CCommandTarget* dotView = nullptr;
        CCommandTarget* modelView = nullptr;
        CPasteTarget* partPaste = nullptr;
        CPasteTarget* dotPaste = nullptr;
    };
    void SetViewTargets(const VIEW_TARGETS& targets) { targets_ = targets; }

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(unsigned id, CCommandState& state) override;
    void OnUpdate(CDocumentObserver* sender, const CUpdateNotice& notice) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateViews();
    // Status texts, command requests and the context menu (resource menuId)
    // of a working view.
    template <class View>
    void ConnectView(View* view, unsigned menuId);
    void ConnectDotView();
    void ConnectPartList(CPartListView* list);
    // Shows a context menu resource at a global point; built on first use.
    void ShowContextMenu(unsigned resourceId, const QPoint& globalPos);
    void CreateStatusBar();
    void ApplySplitterWidths();
    void SaveLayout();
    void UpdateTitle();
    std::vector<CCommandTarget*> CommandChain();
    CCommandTarget* ActiveViewTarget() const;
    bool CanPastePart() const;
    bool CanPasteDots() const;
    void Paste();
    QToolBar* ToolBar() const;
    // The frame's commands: about, exit, tool bar, status bar and paste.
    static std::span<const CCommandHandler<CMainFrame>> Handlers();

    std::unique_ptr<CShellPrompts> ownPrompts_;
    CShellPrompts& prompts_;
    std::unique_ptr<CDotDocument> document_;
    std::unique_ptr<CPathRestorableDocManager> docManager_;
    std::unique_ptr<CDocumentDialogCommands> dialogCommands_;
    CCommandRouter* router_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QWidget* partList_ = nullptr;
    CDotPane* dotPane_ = nullptr;
    CDotView* dotView_ = nullptr;
    std::map<unsigned, QMenu*> contextMenus_; // by menu resource
    QWidget* modelView_ = nullptr;
    QLabel* statusPanes_[4] = {};
    VIEW_TARGETS targets_;
    bool refreshPending_ = false;
    int listWidth_ = DefaultListWidth;
    int dotColumnWidth_ = DefaultDotColumnWidth;
};
