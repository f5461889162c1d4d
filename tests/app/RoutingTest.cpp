// Menus, shortcuts and command states of the main window: what is enabled,
// checked and named when, and that keys obey the same rules as menu items.

#include <QAction>
#include <QClipboard>
#include <QMimeData>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

#include "FrameFixture.h"
#include "app/DotPane.h"
#include "views/ClipboardFormats.h"
#include "resources/CommandIds.h"

namespace {

QStringList Titles(const QMenuBar* bar) {
    QStringList titles;
    for (const QAction* action : bar->actions())
        titles.append(action->text());
    return titles;
}

QMenu* MenuNamed(const QMenuBar* bar, const QString& title) {
    for (QAction* action : bar->actions())
        if (action->text() == title)
            return action->menu();
    return nullptr;
}

// The visible item texts of a menu, separators as "-".
QStringList Items(const QMenu* menu) {
    QStringList items;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            items.append(QStringLiteral("-"));
        else if (action->isVisible())
            items.append(action->text());
    }
    return items;
}

// A command target that handles one command and counts its runs.
class CProbe : public CCommandTarget {
public:
    explicit CProbe(unsigned id) : id_(id) {}
    bool OnCommand(unsigned id) override { return id == id_ && ++runs; }
    bool OnUpdateCommand(unsigned id, CCommandState& state) override {
        if (id != id_)
            return false;
        state.enabled = enabled;
        return true;
    }
    int runs = 0;
    bool enabled = true;

private:
    unsigned id_;
};

} // namespace

TEST_F(FrameTest, MenuBarHasTheSevenMenusWithJapaneseItems) {
    EXPECT_EQ(Titles(frame->menuBar()),
              QStringList({"ファイル(&F)", "編集(&E)", "表示(&V)", "ツール(&T)", "ドット(&D)",
                           "部品(&P)", "ヘルプ(&H)"}));
    QMenu* file = MenuNamed(frame->menuBar(), "ファイル(&F)");
    ASSERT_TRUE(file);
    emit file->aboutToShow();
    EXPECT_EQ(Items(file),
              QStringList({"新規作成(&N)\tCtrl+N", "開く(&O)...\tCtrl+O", "上書き保存(&S)\tCtrl+S",
                           "名前を付けて保存(&A)...", "-", "モデル生成(&G)...", "-",
                           "最近使ったファイル", "-", "アプリケーションの終了(&X)"}));
    QMenu* help = MenuNamed(frame->menuBar(), "ヘルプ(&H)");
    ASSERT_TRUE(help);
    EXPECT_EQ(Items(help), QStringList({"バージョン情報(&A)..."}));

    QAction* undo = Router().Action(ID_EDIT_UNDO);
    EXPECT_EQ(undo->shortcuts(),
              QList<QKeySequence>({QKeySequence("Ctrl+Z"), QKeySequence("Alt+Backspace")}));
    EXPECT_EQ(Router().Action(ID_VIEW_FRONT)->shortcuts().value(1),
              QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_2)));
    EXPECT_EQ(Router().Action(ID_GENERATE_MODEL)->statusTip(), "PMDファイルを生成");
    EXPECT_EQ(Router().Action(ID_GENERATE_MODEL)->toolTip(), "モデル生成");
}

TEST_F(FrameTest, ContextMenusUseTheirOwnTexts) {
    Document().currentPart = nullptr;
    QMenu* parts = Router().BuildContextMenu(MENU_PART_LIST, frame.get());
    ASSERT_TRUE(parts);
    emit parts->aboutToShow();
    const QStringList items = Items(parts);
    EXPECT_EQ(items.size(), 17);
    EXPECT_EQ(items.value(12), "定型ボーン追加(&S)...");
    EXPECT_EQ(items.value(16), "物理演算(&H)...");
    // Items of their own still follow the command's state: no current part,
    // no bone settings.
    for (QAction* action : parts->actions()) {
        if (action->text() == "物理演算(&H)...") {
            EXPECT_FALSE(action->isEnabled());
        }
    }

    QMenu* dots = Router().BuildContextMenu(MENU_DOT_VIEW, frame.get());
    ASSERT_TRUE(dots);
    EXPECT_EQ(Items(dots).front(), "分割(&D)");
    EXPECT_EQ(Items(dots).back(), "手前へ(&A)\tCtrl+↓");
}

TEST_F(FrameTest, NewDocumentDisablesUndoAndRedo) {
    for (unsigned id : {ID_EDIT_UNDO, ID_EDIT_REDO}) {
        EXPECT_FALSE(Router().Action(id)->isEnabled()) << id;
    }
    EXPECT_EQ(Router().Action(ID_EDIT_UNDO)->text(), "元に戻す(&U)\tCtrl+Z");
    EXPECT_EQ(Router().Action(ID_EDIT_REDO)->text(), "やり直し(&R)\tCtrl+Y");
    // Commands whose views are still place-holders are present but disabled.
    for (unsigned id : {ID_EDIT_PASTE})
        EXPECT_FALSE(Router().Action(id)->isEnabled()) << id;
    // The dot view's tools and select all are enabled, the pencil current;
    // what needs a selection is not.
    EXPECT_TRUE(Router().Action(ID_EDIT_SELECT_ALL)->isEnabled());
    EXPECT_FALSE(Router().Action(ID_EDIT_COPY)->isEnabled());
    EXPECT_FALSE(Router().Action(ID_DOT_DIVIDE)->isEnabled());
    EXPECT_TRUE(Router().Action(ID_TOOL_PENCIL)->isEnabled());
    EXPECT_TRUE(Router().Action(ID_TOOL_PENCIL)->isChecked());
    EXPECT_FALSE(Router().Action(ID_TOOL_LINE)->isChecked());
    for (unsigned id : {ID_FILE_NEW, ID_FILE_SAVE, ID_GENERATE_MODEL, ID_DOT_SIZE, ID_APP_ABOUT,
                        ID_PREVIEW_MODEL})
        EXPECT_TRUE(Router().Action(id)->isEnabled()) << id;
}

TEST_F(FrameTest, UndoAndRedoTextsCarryTheLabel) {
    Document().Execute(std::make_unique<CSizeCommand>(Document(), 2.0f, u"鉛筆ツール"));
    Settle();
    QAction* undo = Router().Action(ID_EDIT_UNDO);
    QAction* redo = Router().Action(ID_EDIT_REDO);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "元に戻す(&U) - 鉛筆ツール\tCtrl+Z");
    EXPECT_FALSE(redo->isEnabled());

    undo->trigger();
    EXPECT_EQ(Document().dotSize, 0.5f);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "元に戻す(&U)\tCtrl+Z");
    EXPECT_TRUE(redo->isEnabled());
    EXPECT_EQ(redo->text(), "やり直し(&R) - 鉛筆ツール\tCtrl+Y");

    redo->trigger();
    EXPECT_EQ(Document().dotSize, 2.0f);
    EXPECT_EQ(frame->windowTitle(), "無題[*] - Kubrell");
    EXPECT_TRUE(frame->isWindowModified());
}

TEST_F(FrameTest, ShortcutsFollowTheCurrentState) {
    ShowActive(*frame);
    QWidget* target = frame->DotPane()->DotView();
    target->setFocus();

    // Undo is disabled on a new document: the key does nothing.
    QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Document().position, 0);

    // A change that tells no view leaves the action stale until a key is
    // pressed; the key then sees the up-to-date state.
    Document().Execute(std::make_unique<CSizeCommand>(Document(), 3.0f, u"a", true));
    EXPECT_FALSE(Router().Action(ID_EDIT_UNDO)->isEnabled());
    QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Document().dotSize, 0.5f);
    QTest::keyClick(target, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Document().dotSize, 3.0f);
    QTest::keyClick(target, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(Document().dotSize, 0.5f);
}

TEST_F(FrameTest, PartCommandsNeedACurrentPart) {
    CurrentPart();
    for (unsigned id :
         {ID_PART_RATE, ID_PART_INVERT, ID_PART_RIGID_BODY, ID_VIEW_FRONT, ID_VIEW_DEEPER})
        EXPECT_TRUE(Router().QueryState(id).enabled) << id;
    EXPECT_TRUE(Router().Action(ID_VIEW_FRONT)->isChecked());
    EXPECT_FALSE(Router().Action(ID_VIEW_BACK)->isChecked());

    Document().currentPart = nullptr;
    Router().Refresh();
    for (unsigned id : {ID_PART_RATE, ID_PART_INVERT, ID_PART_BONE, ID_PART_RIGID_BODY,
                        ID_PART_JOINT, ID_PART_PHYSICS, ID_VIEW_FRONT, ID_VIEW_DEEPER})
        EXPECT_FALSE(Router().QueryState(id).enabled) << id;
    EXPECT_FALSE(Router().Action(ID_VIEW_FRONT)->isChecked());
}

TEST_F(FrameTest, FaceShortcutTurnsTheCurrentPart) {
    CurrentPart();
    ShowActive(*frame);
    frame->DotPane()->DotView()->setFocus();
    QTest::keyClick(frame->DotPane()->DotView(), Qt::Key_T,
                    Qt::ControlModifier | Qt::ShiftModifier);
    Settle();
    EXPECT_TRUE(Router().Action(ID_VIEW_TOP)->isChecked());
    EXPECT_FALSE(Router().Action(ID_VIEW_FRONT)->isChecked());
}

TEST_F(FrameTest, ColourCommandsNeedAPaletteColour) {
    Document().currentColor = {0, 5};
    Router().Refresh();
    EXPECT_FALSE(Router().Action(ID_SET_COLOR1)->isEnabled());
    EXPECT_TRUE(Router().Action(ID_SET_COLOR2)->isEnabled());
    Document().currentColor = {31, 0};
    Router().Refresh();
    EXPECT_TRUE(Router().Action(ID_SET_COLOR1)->isEnabled());
    EXPECT_FALSE(Router().Action(ID_SET_COLOR2)->isEnabled());
}

TEST_F(FrameTest, FocusedViewIsOfferedCommandsFirst) {
    CProbe list(ID_EDIT_COPY), dots(ID_EDIT_COPY);
    frame->SetViewTargets({&list, &dots, nullptr, nullptr, nullptr});
    ShowActive(*frame);

    frame->PartListView()->setFocus();
    EXPECT_TRUE(Router().Execute(ID_EDIT_COPY));
    EXPECT_EQ(list.runs, 1);
    EXPECT_EQ(dots.runs, 0);

    frame->ModelView()->setFocus();
    list.enabled = false;
    EXPECT_TRUE(Router().Execute(ID_EDIT_COPY));
    EXPECT_EQ(dots.runs, 1); // the dot view comes before the model view
    EXPECT_TRUE(Router().QueryState(ID_EDIT_COPY).enabled);

    frame->PartListView()->setFocus();
    EXPECT_FALSE(Router().QueryState(ID_EDIT_COPY).enabled);
    frame->SetViewTargets({});
}

TEST_F(FrameTest, FailingCommandIsReportedAndGoesNoFurther) {
    class CThrower : public CCommandTarget {
        bool OnCommand(unsigned id) override {
            if (id == ID_EDIT_SELECT_ALL)
                throw std::runtime_error("broken");
            return false;
        }
    } thrower;
    frame->SetViewTargets({nullptr, &thrower, nullptr, nullptr, nullptr});
    EXPECT_TRUE(Router().Execute(ID_EDIT_SELECT_ALL));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains("broken"));
    frame->SetViewTargets({});
}

TEST_F(FrameTest, ToolBarAndStatusBarCanBeHidden) {
    frame->show();
    QToolBar* bar = frame->findChild<QToolBar*>("ToolBar");
    ASSERT_TRUE(bar);
    EXPECT_TRUE(Router().Action(ID_VIEW_TOOLBAR)->isChecked());
    Router().Action(ID_VIEW_TOOLBAR)->trigger();
    EXPECT_TRUE(bar->isHidden());
    EXPECT_FALSE(Router().Action(ID_VIEW_TOOLBAR)->isChecked());
    Router().Action(ID_VIEW_STATUS_BAR)->trigger();
    EXPECT_FALSE(Router().Action(ID_VIEW_STATUS_BAR)->isChecked());
}

TEST_F(FrameTest, StatusPanesTakeTexts) {
    frame->SetStatusText(1, "3, 4");
    frame->SetStatusText(3, "2 x 5");
    frame->SetStatusText(7, "ignored");
    EXPECT_EQ(frame->StatusPane(1)->text(), "3, 4");
    EXPECT_EQ(frame->StatusPane(3)->text(), "2 x 5");
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(frame->StatusPane(i)->width(), CMainFrame::StatusPaneWidth);
}

TEST_F(FrameTest, PasteIsEnabledForWhatAViewCanTake) {
    struct CPasteProbe : CPasteTarget {
        void Paste() override { ++pastes; }
        int pastes = 0;
    } partList, dots;
    auto put = [](const QString& type) {
        auto* data = new QMimeData;
        data->setData(type, QByteArray("\x01\x01\x05", 3));
        QApplication::clipboard()->setMimeData(data);
    };

    put(PartMimeType);
    frame->SetViewTargets({});
    EXPECT_FALSE(Router().QueryState(ID_EDIT_PASTE).enabled) << "no view to take it";
    frame->SetViewTargets({nullptr, nullptr, nullptr, &partList, &dots});
    EXPECT_TRUE(Router().QueryState(ID_EDIT_PASTE).enabled);
    EXPECT_TRUE(Router().Execute(ID_EDIT_PASTE));
    EXPECT_EQ(partList.pastes, 1);
    EXPECT_EQ(dots.pastes, 0);

    put(DotImageMimeType);
    Router().Execute(ID_EDIT_PASTE);
    EXPECT_EQ(dots.pastes, 1);
    put(QStringLiteral("text/plain"));
    EXPECT_FALSE(Router().QueryState(ID_EDIT_PASTE).enabled);
    frame->SetViewTargets({});
}

TEST(KubrellTest, DocumentArgumentIsTheFirstNonOption) {
    EXPECT_EQ(CKubrell::DocumentArgument({"kubrell"}), QString());
    EXPECT_EQ(CKubrell::DocumentArgument({"kubrell", "figure.kbrl"}), "figure.kbrl");
    EXPECT_EQ(CKubrell::DocumentArgument({"kubrell", "--verbose", "a.kbrl", "b.kbrl"}), "a.kbrl");
    EXPECT_EQ(CKubrell::DocumentArgument({"kubrell", "--", "-dash.kbrl"}), "-dash.kbrl");
}
