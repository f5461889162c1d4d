#pragma once
// The routing layer between Qt and the command targets: one QAction per
// command of the command table, menus, context menus and the tool bar built
// from the table, each command offered to a chain of targets in order, and
// the enabled, checked and text states refreshed from the same chain.
//
// A command no target handles is disabled. States are refreshed before a
// menu shows, whenever Refresh() is called (the frame calls it after every
// command and every document change) and just before a key press is matched
// against the shortcuts, so a shortcut obeys the same rules as its menu item.

#include <QObject>
#include <exception>
#include <functional>
#include <map>
#include <vector>

#include "document/CommandTarget.h"
#include "app/CommandTable.h"

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

class CCommandRouter : public QObject {
    Q_OBJECT
public:
    // The targets to offer a command to, first to last; null entries are
    // skipped. Called anew for every command and every refresh.
    using Chain = std::function<std::vector<CCommandTarget*>()>;

    // Creates the actions; their shortcuts work while owner's window is active.
    explicit CCommandRouter(QWidget* owner);
    ~CCommandRouter() override;

    void SetChain(Chain chain) { chain_ = std::move(chain); }
    // Called when a target throws while running a command; the exception
    // goes no further. Without a handler it is only logged.
    void SetErrorHandler(std::function<void(const std::exception&)> handler) {
        errorHandler_ = std::move(handler);
    }

    // The action of a command of the table, null for an unknown number.
    QAction* Action(unsigned id) const;
    // Offers id to the chain; returns whether a target ran it. Refreshes the
    // states afterwards.
    bool Execute(unsigned id);
    // The state the chain reports for id; disabled when no target handles it.
    CCommandState QueryState(unsigned id) const;

    // Refreshes every action.
    void Refresh();
    // Refreshes the actions of one menu.
    void RefreshMenu(QMenu* menu);

    // Fills a menu bar with the drop-down menus of a menu resource.
    void BuildMenuBar(QMenuBar* bar, unsigned resourceId);
    // A context menu (the first popup of a menu resource), owned by parent.
    QMenu* BuildContextMenu(unsigned resourceId, QWidget* parent);
    // Fills a tool bar with the tool-bar buttons.
    void BuildToolBar(QToolBar* bar);

signals:
    // After a command was offered and a target ran it.
    void CommandExecuted(unsigned id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenu* BuildMenu(const POPUP_MENU& popup, QWidget* parent);
    // Asks the chain; returns whether a target handles id.
    bool Query(unsigned id, CCommandState& state) const;
    void Update(QAction* action) const;

    QWidget* owner_;
    Chain chain_;
    std::function<void(const std::exception&)> errorHandler_;
    std::map<unsigned, QAction*> actions_; // the shared action of each command
    std::vector<QAction*> localActions_;   // menu items with a text of their own
    std::map<int, QActionGroup*> radioGroups_;
};
