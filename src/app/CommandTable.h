#pragma once
// The program's commands as the user sees them: for every command number the
// menu text, the status-bar text, the tool tip and the keyboard shortcuts;
// the layouts of the menu bar (menu 128), the part list's context menu (327),
// the dot view's context menu (329) and the tool bar. The editor builds its
// actions, menus, accelerators and tool bar from these tables alone.

#include <span>
#include <string_view>

// How a command's item shows its checked state.
enum class CommandMark {
    None,  // a plain item
    Check, // a check mark while the handler reports it checked
    Radio, // a radio mark; items of the same group exclude each other
};

struct COMMAND_INFO {
    unsigned id;
    // Menu text: the label with its mnemonic, then a tab and the shortcut as
    // shown (for example "新規作成(&N)\tCtrl+N"). The tab part is display only.
    std::u16string_view text;
    std::u16string_view status;  // shown in the status bar while the item is highlighted
    std::u16string_view toolTip; // shown over a tool-bar button
    // Key sequences in portable notation, separated by ';' ("Ctrl+Shift+F;Ctrl+Num+2").
    std::string_view shortcuts = {};
    CommandMark mark = CommandMark::None;
    int radioGroup = 0; // for CommandMark::Radio: items with the same number form a group
};

// A menu entry: a command, a separator (id 0) or, in the file menu, the
// place where the recent-file list goes (ID_FILE_MRU_FILE1).
struct MENU_ITEM {
    unsigned id;
    std::u16string_view text = {}; // replaces the command's text in this menu when set
};

// One drop-down menu: its title and its items in order.
struct POPUP_MENU {
    std::u16string_view title;
    std::span<const MENU_ITEM> items;
};

// Menu resources.
inline constexpr unsigned MENU_MAIN = 128;
inline constexpr unsigned MENU_PART_LIST = 327;
inline constexpr unsigned MENU_DOT_VIEW = 329;

// Number of entries in the recent-file list.
inline constexpr int RecentFileCount = 10;

// Every command, each number once.
std::span<const COMMAND_INFO> GetCommandTable();
// The command with that number, or null.
const COMMAND_INFO* FindCommand(unsigned id);
// The drop-down menus of a menu resource (MENU_MAIN gives the menu bar in
// order; the context menus give one popup); empty for an unknown number.
std::span<const POPUP_MENU> GetMenu(unsigned resourceId);
// Tool-bar buttons from left to right; 0 is a separator.
std::span<const unsigned> GetToolBarButtons();
