#include "app/MainFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <algorithm>

#include "app/AboutDialog.h"
#include "app/AppIcon.h"
#include "app/CommandRouter.h"
#include "app/DocumentDialogCommands.h"
#include "app/DotPane.h"
#include "app/ErrorText.h"
#include "app/PathRestorableDocManager.h"
#include "app/ShellPrompts.h"
#include "document/DotDocument.h"
#include "document/EditorPrompt.h"
#include "document/Profile.h"
#include "preview/ModelView.h"
#include "preview/PreviewPane.h"
#include "resources/CommandIds.h"
#include "views/ClipboardFormats.h"
#include "views/ColorView.h"
#include "views/DotView.h"
#include "views/PartListView.h"

namespace {

// The first local file among dropped URLs, or empty.
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

} // namespace

CMainFrame::CMainFrame(CProfile& profile, CShellPrompts* prompts, QWidget* parent)
    : CRestorableFrame(profile, QStringLiteral("Window"), parent),
      ownPrompts_(prompts ? nullptr : std::make_unique<CDialogPrompts>(this)),
      prompts_(prompts ? *prompts : *ownPrompts_), document_(std::make_unique<CDotDocument>()) {
    setWindowIcon(AppIcon());
    setAcceptDrops(true);
    setObjectName(QStringLiteral("MainFrame"));

    docManager_ = std::make_unique<CPathRestorableDocManager>(*document_, profile, prompts_);
    dialogCommands_ = std::make_unique<CDocumentDialogCommands>(
        *document_, profile, prompts_, [this] { return docManager_->PathName(); });
    router_ = new CCommandRouter(this);
    router_->SetChain([this] { return CommandChain(); });
    router_->SetErrorHandler(
        [this](const std::exception& error) { prompts_.ShowError(CommandFailedMessage(error)); });
    connect(router_, &CCommandRouter::CommandExecuted, this, [this] { UpdateTitle(); });
    connect(docManager_.get(), &CPathRestorableDocManager::TitleChanged, this,
            [this] { RefreshUi(); });
    connect(docManager_.get(), &CPathRestorableDocManager::DocumentReset, this,
            [this] { document_->UpdateAllViews(nullptr, Notice<HINT_INITIAL>()); });
    document_->AddObserver(this);
    SetEditorPrompt(&prompts_);

    router_->BuildMenuBar(menuBar(), MENU_MAIN);
    auto* toolBar = addToolBar(QStringLiteral("ツール バー"));
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setIconSize(QSize(24, 24));
    toolBar->setMovable(false);
    router_->BuildToolBar(toolBar);

    CreateViews();
    CreateStatusBar();
    connect(qApp->clipboard(), &QClipboard::dataChanged, this, [this] { router_->Refresh(); });
    connect(qApp, &QApplication::focusChanged, this, [this] { router_->Refresh(); });

    // Default size for a first start; a stored placement replaces it.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    resize(std::min(1280, screen.width()), std::min(860, screen.height()));
    LoadPlacement();
    RefreshUi();
}

CMainFrame::~CMainFrame() {
    if (&GetEditorPrompt() == &prompts_)
        SetEditorPrompt(nullptr);
    document_->RemoveObserver(this);
    // Focus and clipboard changes while the children go must not reach the
    // router, which goes with them; nor may commands reach the members.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QApplication::clipboard(), nullptr, this, nullptr);
    router_->SetChain({});
    // The views observe the document, which goes with the members after this
    // body: they go first, and nothing may reach them afterwards.
    targets_ = {};
    dotView_ = nullptr;
    delete splitter_;
    splitter_ = nullptr;
    partList_ = nullptr;
    dotPane_ = nullptr;
    modelView_ = nullptr;
}

void CMainFrame::CreateViews() {
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("Splitter"));
    splitter_->setChildrenCollapsible(false);
    auto* partList = new CPartListView(*document_);
    partList_ = partList;
    ConnectPartList(partList);
    dotView_ = new CDotView(*document_);
    auto* palette = new CColorView(*document_);
    connect(palette, &CColorView::CommandRequested, this,
            [this](unsigned id) { router_->Execute(id); });
    connect(palette, &CColorView::StatusTextChanged, this, &CMainFrame::SetStatusText);
    dotPane_ = new CDotPane(palette, dotView_);
    auto* preview = new CPreviewPane(*document_);
    modelView_ = preview;
    targets_.modelView = preview->ModelView();
    ConnectDotView();
    splitter_->addWidget(partList_);
    splitter_->addWidget(dotPane_);
    splitter_->addWidget(modelView_);
    // The model column takes what the two fixed columns leave.
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 0);
    splitter_->setStretchFactor(2, 1);
    setCentralWidget(splitter_);

    const int dot =
        Profile().GetInt(ProfileWorkspace, u"HorizontalSplitter", DefaultDotColumnWidth);
    const int list = Profile().GetInt(ProfileWorkspace, u"ListWidth", DefaultListWidth);
    dotColumnWidth_ = dot < 1 ? DefaultDotColumnWidth : dot;
    listWidth_ = list < 1 ? DefaultListWidth : list;
    ApplySplitterWidths();
}

template <class View>
void CMainFrame::ConnectView(View* view, unsigned menuId) {
    connect(view, &View::StatusTextChanged, this, &CMainFrame::SetStatusText);
    connect(view, &View::CommandRequested, this, [this](unsigned id) { router_->Execute(id); });
    connect(view, &View::ContextMenuRequested, this,
            [this, menuId](const QPoint& at) { ShowContextMenu(menuId, at); });
}

void CMainFrame::ConnectDotView() {
    ConnectView(dotView_, MENU_DOT_VIEW);
    VIEW_TARGETS targets = targets_;
    targets.dotView = dotView_;
    targets.dotPaste = dotView_;
    SetViewTargets(targets);
}

void CMainFrame::ConnectPartList(CPartListView* list) {
    ConnectView(list, MENU_PART_LIST);
    VIEW_TARGETS targets = targets_;
    targets.partList = list;
    targets.partPaste = list;
    SetViewTargets(targets);
}

void CMainFrame::ShowContextMenu(unsigned resourceId, const QPoint& globalPos) {
    QMenu*& menu = contextMenus_[resourceId];
    if (!menu)
        menu = router_->BuildContextMenu(resourceId, this);
    if (!menu)
        return;
    router_->RefreshMenu(menu);
    menu->popup(globalPos);
}

void CMainFrame::ApplySplitterWidths() {
    const int handles = 2 * splitter_->handleWidth();
    const int rest = std::max(1, splitter_->width() - listWidth_ - dotColumnWidth_ - handles);
    splitter_->setSizes({listWidth_, dotColumnWidth_, rest});
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    statusPanes_[0] = nullptr; // the message pane is the status bar's own
    for (int i = 1; i < 4; ++i) {
        auto* pane = new QLabel(bar);
        pane->setObjectName(QStringLiteral("StatusPane%1").arg(i));
        pane->setFixedWidth(StatusPaneWidth);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addPermanentWidget(pane);
        statusPanes_[i] = pane;
    }
}

QLabel* CMainFrame::StatusPane(int index) const {
    return index >= 1 && index < 4 ? statusPanes_[index] : nullptr;
}

void CMainFrame::SetStatusText(int pane, const QString& text) {
    if (pane == 0)
        statusBar()->showMessage(text);
    else if (QLabel* label = StatusPane(pane))
        label->setText(text);
}

void CMainFrame::UpdateTitle() {
    setWindowTitle(docManager_->Title() + QStringLiteral("[*] - Kubrell"));
    setWindowModified(document_->IsModified());
}

void CMainFrame::RefreshUi() {
    UpdateTitle();
    router_->Refresh();
}

bool CMainFrame::OpenDocumentFile(const QString& path) {
    return docManager_->SaveModified() && docManager_->OpenDocumentFile(path);
}

CCommandTarget* CMainFrame::ActiveViewTarget() const {
    // The preview's own window can hold the focus with no focus widget.
    if (const auto* pane = qobject_cast<const CPreviewPane*>(modelView_);
        pane && pane->HasViewFocus())
        return targets_.modelView;
    const QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return nullptr;
    if (partList_->isAncestorOf(focus) || focus == partList_)
        return targets_.partList;
    if (dotPane_->isAncestorOf(focus) || focus == dotPane_)
        return targets_.dotView;
    if (modelView_->isAncestorOf(focus) || focus == modelView_)
        return targets_.modelView;
    return nullptr;
}

std::vector<CCommandTarget*> CMainFrame::CommandChain() {
    std::vector<CCommandTarget*> chain;
    auto add = [&chain](CCommandTarget* target) {
        if (target && std::find(chain.begin(), chain.end(), target) == chain.end())
            chain.push_back(target);
    };
    add(ActiveViewTarget());
    add(this);
    add(docManager_.get());
    add(targets_.dotView);
    add(targets_.modelView);
    add(document_.get());
    add(dialogCommands_.get());
    return chain;
}

bool CMainFrame::CanPastePart() const {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return targets_.partPaste && data && data->hasFormat(PartMimeType);
}

bool CMainFrame::CanPasteDots() const {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return targets_.dotPaste && data &&
           (data->hasFormat(DotImageMimeType) || data->hasFormat(PngMimeType) ||
            data->hasFormat(BitmapMimeType) || data->hasImage());
}

void CMainFrame::Paste() {
    // Both may take the clipboard; the view that pasted last becomes active.
    if (CanPastePart()) {
        targets_.partPaste->Paste();
        partList_->setFocus();
    }
    if (CanPasteDots()) {
        targets_.dotPaste->Paste();
        dotPane_->DotView()->setFocus();
    }
}

QToolBar* CMainFrame::ToolBar() const { return findChild<QToolBar*>(QStringLiteral("ToolBar")); }

std::span<const CCommandHandler<CMainFrame>> CMainFrame::Handlers() {
    static constexpr CCommandHandler<CMainFrame> handlers[] = {
        {.id = ID_APP_ABOUT,
         .run =
             [](CMainFrame& frame, unsigned) {
                 CAboutDialog about(&frame);
                 about.exec();
             }},
        {.id = ID_APP_EXIT, .run = [](CMainFrame& frame, unsigned) { frame.close(); }},
        {.id = ID_VIEW_TOOLBAR,
         .run =
             [](CMainFrame& frame, unsigned) {
                 if (QToolBar* bar = frame.ToolBar())
                     bar->setVisible(!bar->isVisible());
             },
         .update =
             [](const CMainFrame& frame, unsigned, CCommandState& state) {
                 if (QToolBar* bar = frame.ToolBar())
                     state.checked = !bar->isHidden();
             }},
        {.id = ID_VIEW_STATUS_BAR,
         .run = [](CMainFrame& frame,
                   unsigned) { frame.statusBar()->setVisible(!frame.statusBar()->isVisible()); },
         .update = [](const CMainFrame& frame, unsigned,
                      CCommandState& state) { state.checked = !frame.statusBar()->isHidden(); }},
        {.id = ID_EDIT_PASTE,
         .run = [](CMainFrame& frame, unsigned) { frame.Paste(); },
         .update =
             [](const CMainFrame& frame, unsigned, CCommandState& state) {
                 state.enabled = frame.CanPastePart() || frame.CanPasteDots();
             }},
    };
    return handlers;
}

bool CMainFrame::OnCommand(unsigned id) { return RunCommand(Handlers(), *this, id); }

bool CMainFrame::OnUpdateCommand(unsigned id, CCommandState& state) {
    return UpdateCommand(Handlers(), *this, id, state);
}

void CMainFrame::OnUpdate(CDocumentObserver*, const CUpdateNotice&) {
    // A hint comes from inside a command's Do or Undo, before the undo list
    // has moved on: refresh once the change is complete.
    if (refreshPending_)
        return;
    refreshPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            refreshPending_ = false;
            RefreshUi();
        },
        Qt::QueuedConnection);
}

void CMainFrame::SaveLayout() {
    const QList<int> sizes = splitter_->sizes();
    if (sizes.size() == 3) {
        Profile().WriteInt(ProfileWorkspace, u"HorizontalSplitter", sizes[1]);
        Profile().WriteInt(ProfileWorkspace, u"ListWidth", sizes[0]);
    }
    SavePlacement();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!docManager_->SaveModified()) {
        event->ignore();
        return;
    }
    SaveLayout();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    activateWindow();
    OpenDocumentFile(path);
}
