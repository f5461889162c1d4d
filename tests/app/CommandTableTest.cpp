// The command table as the editor turns it into actions: every shortcut
// parses, no key is bound twice (Qt would then fire neither), and the
// shortcut a menu text shows is the one that works.

#include <QKeySequence>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <map>
#include <set>

#include "resources/CommandIds.h"
#include "app/CommandTable.h"

namespace {

QString Text(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList Shortcuts(const COMMAND_INFO& info) {
    return QString::fromLatin1(info.shortcuts.data(), static_cast<qsizetype>(info.shortcuts.size()))
        .split(u';', Qt::SkipEmptyParts);
}

} // namespace

TEST(CommandTableTest, EveryCommandHasOneEntryWithTexts) {
    std::set<unsigned> seen;
    for (const COMMAND_INFO& info : GetCommandTable()) {
        EXPECT_TRUE(seen.insert(info.id).second) << "command " << info.id << " twice";
        EXPECT_FALSE(info.text.empty()) << info.id;
        EXPECT_FALSE(info.status.empty()) << info.id;
        EXPECT_FALSE(info.toolTip.empty()) << info.id;
        EXPECT_EQ(FindCommand(info.id), &info);
    }
    EXPECT_EQ(FindCommand(12345), nullptr);
}

TEST(CommandTableTest, ShortcutsParseAndNoKeyIsBoundTwice) {
    std::map<QKeySequence, unsigned> owner;
    for (const COMMAND_INFO& info : GetCommandTable()) {
        for (const QString& text : Shortcuts(info)) {
            const QKeySequence key = QKeySequence::fromString(text, QKeySequence::PortableText);
            ASSERT_EQ(key.count(), 1) << text.toStdString();
            EXPECT_NE(key[0].key(), Qt::Key_unknown) << text.toStdString();
            const auto [it, added] = owner.emplace(key, info.id);
            EXPECT_TRUE(added) << text.toStdString() << " bound to " << it->second << " and "
                               << info.id;
        }
    }
    // The accelerators of the keyboard table.
    for (const auto& [text, id] : std::map<QString, unsigned>{{"Ctrl+Num+2", ID_VIEW_FRONT},
                                                              {"Ctrl+Shift+O", ID_VIEW_BOTTOM},
                                                              {"Ctrl+Up", ID_VIEW_DEEPER},
                                                              {"Ctrl+Down", ID_VIEW_NEARER},
                                                              {"Shift+Del", ID_EDIT_CUT},
                                                              {"Ctrl+Ins", ID_EDIT_COPY},
                                                              {"Shift+Ins", ID_EDIT_PASTE},
                                                              {"Alt+Backspace", ID_EDIT_UNDO},
                                                              {"Ctrl+P", ID_PREVIEW_PART},
                                                              {"Ctrl+M", ID_PREVIEW_MODEL},
                                                              {"Num+5", ID_CAMERA_TOP},
                                                              {"Num+0", ID_CAMERA_BOTTOM}})
        EXPECT_EQ(owner[QKeySequence::fromString(text, QKeySequence::PortableText)], id)
            << text.toStdString();
}

TEST(CommandTableTest, ShortcutShownInTheMenuTextIsTheFirstBinding) {
    for (const COMMAND_INFO& info : GetCommandTable()) {
        const QString text = Text(info.text);
        const qsizetype tab = text.indexOf(u'\t');
        if (tab < 0)
            continue;
        QString shown = text.mid(tab + 1);
        shown.replace(QStringLiteral("↑"), QStringLiteral("Up"));
        shown.replace(QStringLiteral("↓"), QStringLiteral("Down"));
        if (info.id == ID_EDIT_CLEAR) {
            // Delete is sent by the views' own key handling, not bound here.
            EXPECT_TRUE(Shortcuts(info).isEmpty());
            continue;
        }
        ASSERT_FALSE(Shortcuts(info).isEmpty()) << shown.toStdString();
        EXPECT_EQ(QKeySequence::fromString(shown, QKeySequence::PortableText),
                  QKeySequence::fromString(Shortcuts(info).front(), QKeySequence::PortableText))
            << info.id;
    }
}

TEST(CommandTableTest, MenusReferToKnownCommands) {
    for (unsigned menu : {MENU_MAIN, MENU_PART_LIST, MENU_DOT_VIEW}) {
        ASSERT_FALSE(GetMenu(menu).empty()) << menu;
        for (const POPUP_MENU& popup : GetMenu(menu))
            for (const MENU_ITEM& item : popup.items)
                EXPECT_TRUE(item.id == 0 || FindCommand(item.id)) << menu << ": " << item.id;
    }
    for (unsigned id : GetToolBarButtons())
        EXPECT_TRUE(id == 0 || FindCommand(id)) << id;
    EXPECT_TRUE(GetMenu(999).empty());
}
