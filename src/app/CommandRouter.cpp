#include "app/CommandRouter.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QWidget>
#include <QtDebug>

#include "app/CommandIcons.h"
#include "resources/CommandIds.h"

namespace {

// Properties of an action: its command number and, for a menu item with a
// text of its own, that text.
constexpr char CommandProperty[] = "kubrellCommand";
constexpr char OwnTextProperty[] = "kubrellOwnText";

QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QList<QKeySequence> Shortcuts(std::string_view text) {
    QList<QKeySequence> list;
    const QStringList parts = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))
                                  .split(u';', Qt::SkipEmptyParts);
    for (const QString& part : parts)
        list.append(QKeySequence::fromString(part, QKeySequence::PortableText));
    return list;
}

bool IsLaterRecentFile(unsigned id) {
    return id > ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + RecentFileCount;
}

} // namespace

CCommandRouter::CCommandRouter(QWidget* owner) : QObject(owner), owner_(owner) {
    for (const COMMAND_INFO& info : GetCommandTable()) {
        auto* action = new QAction(ToQString(info.text), owner);
        action->setProperty(CommandProperty, info.id);
        action->setStatusTip(ToQString(info.status));
        action->setToolTip(ToQString(info.toolTip));
        action->setIcon(CommandIcon(info.id));
        action->setShortcuts(Shortcuts(info.shortcuts));
        // The menu text shows the shortcut after its tab already.
        action->setShortcutVisibleInContextMenu(true);
        if (info.mark != CommandMark::None) {
            action->setCheckable(true);
            // In a menu the check or radio mark shows the state; the picture
            // would take its place.
            action->setIconVisibleInMenu(false);
        }
        if (info.mark == CommandMark::Radio) {
            QActionGroup*& group = radioGroups_[info.radioGroup];
            if (!group) {
                group = new QActionGroup(this);
                group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
            }
            group->addAction(action);
        }
        const unsigned id = info.id;
        connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
        // Added to the window so that the shortcut works without a menu.
        owner->addAction(action);
        actions_[id] = action;
    }
    qApp->installEventFilter(this);
}

CCommandRouter::~CCommandRouter() { qApp->removeEventFilter(this); }

QAction* CCommandRouter::Action(unsigned id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

bool CCommandRouter::Execute(unsigned id) {
    bool handled = false;
    try {
        for (CCommandTarget* target : chain_ ? chain_() : std::vector<CCommandTarget*>{}) {
            if (target && target->OnCommand(id)) {
                handled = true;
                break;
            }
        }
    } catch (const std::exception& error) {
        handled = true;
        if (errorHandler_)
            errorHandler_(error);
        else
            qWarning() << "command" << id << "failed:" << error.what();
    }
    Refresh();
    if (handled)
        emit CommandExecuted(id);
    return handled;
}

bool CCommandRouter::Query(unsigned id, CCommandState& state) const {
    if (chain_) {
        for (CCommandTarget* target : chain_()) {
            CCommandState candidate;
            if (target && target->OnUpdateCommand(id, candidate)) {
                state = candidate;
                return true;
            }
        }
    }
    state = CCommandState{};
    state.enabled = false;
    return false;
}

CCommandState CCommandRouter::QueryState(unsigned id) const {
    CCommandState state;
    Query(id, state);
    return state;
}

void CCommandRouter::Update(QAction* action) const {
    const QVariant idValue = action->property(CommandProperty);
    if (!idValue.isValid())
        return;
    const unsigned id = idValue.toUInt();
    CCommandState state;
    const bool handled = Query(id, state);
    action->setEnabled(state.enabled);
    if (action->isCheckable())
        action->setChecked(state.checked);
    QString text;
    if (state.text)
        text = ToQString(*state.text);
    else if (const QVariant own = action->property(OwnTextProperty); own.isValid())
        text = own.toString();
    else if (const COMMAND_INFO* info = FindCommand(id))
        text = ToQString(info->text);
    action->setText(text);
    // Entries of the recent-file list that hold no file are hidden; the
    // first stays as the list's place-holder.
    if (IsLaterRecentFile(id))
        action->setVisible(handled);
}

void CCommandRouter::Refresh() {
    for (const auto& [id, action] : actions_)
        Update(action);
    for (QAction* action : localActions_)
        Update(action);
}

void CCommandRouter::RefreshMenu(QMenu* menu) {
    for (QAction* action : menu->actions())
        Update(action);
}

QMenu* CCommandRouter::BuildMenu(const POPUP_MENU& popup, QWidget* parent) {
    auto* menu = new QMenu(ToQString(popup.title), parent);
    for (const MENU_ITEM& item : popup.items) {
        if (item.id == 0) {
            menu->addSeparator();
        } else if (item.id == ID_FILE_MRU_FILE1) {
            for (int i = 0; i < RecentFileCount; ++i)
                menu->addAction(Action(ID_FILE_MRU_FILE1 + i));
        } else if (!item.text.empty()) {
            auto* action = new QAction(ToQString(item.text), menu);
            action->setProperty(CommandProperty, item.id);
            action->setProperty(OwnTextProperty, ToQString(item.text));
            if (QAction* shared = Action(item.id)) {
                action->setStatusTip(shared->statusTip());
                action->setCheckable(shared->isCheckable());
            }
            const unsigned id = item.id;
            connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
            connect(action, &QObject::destroyed, this,
                    [this, action] { std::erase(localActions_, action); });
            localActions_.push_back(action);
            menu->addAction(action);
        } else if (QAction* action = Action(item.id)) {
            menu->addAction(action);
        }
    }
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { RefreshMenu(menu); });
    return menu;
}

void CCommandRouter::BuildMenuBar(QMenuBar* bar, unsigned resourceId) {
    for (const POPUP_MENU& popup : GetMenu(resourceId))
        bar->addMenu(BuildMenu(popup, bar));
}

QMenu* CCommandRouter::BuildContextMenu(unsigned resourceId, QWidget* parent) {
    const std::span<const POPUP_MENU> menu = GetMenu(resourceId);
    return menu.empty() ? nullptr : BuildMenu(menu.front(), parent);
}

void CCommandRouter::BuildToolBar(QToolBar* bar) {
    for (unsigned id : GetToolBarButtons()) {
        if (id == 0)
            bar->addSeparator();
        else if (QAction* action = Action(id))
            bar->addAction(action);
    }
}

bool CCommandRouter::eventFilter(QObject* watched, QEvent* event) {
    // Sent before a key press is matched against the shortcuts: bring the
    // enabled states up to date so that a disabled command's key does nothing.
    if (event->type() == QEvent::ShortcutOverride)
        Refresh();
    return QObject::eventFilter(watched, event);
}
