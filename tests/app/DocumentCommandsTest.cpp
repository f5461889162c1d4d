// The document commands with dialogs: generate the model, the dot size, the
// background colour; and the dot-size dialog's rule for its OK button.

#include <QFile>
#include <QLineEdit>

#include "../support/RecordingObserver.h"
#include "FrameFixture.h"
#include "app/DocumentCommands.h"
#include "app/DotSizeDialog.h"
#include "document/Profile.h"
#include "resources/CommandIds.h"

TEST_F(FrameTest, GenerateWritesTheModelAndTextureAndRemembersThePath) {
    AppProfile().WriteString(ProfileWorkspace, u"ModelDirectory", folder.path().toStdU16String());
    prompts.files = {File("figure.pmd")};
    Router().Execute(ID_GENERATE_MODEL);
    ASSERT_EQ(prompts.filePrompts.size(), 1u);
    EXPECT_EQ(prompts.filePrompts[0].initialPath, folder.path());
    EXPECT_EQ(prompts.filePrompts[0].filters,
              QStringList({"PMDファイル(*.pmd)", "すべてのファイル(*)"}));
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    EXPECT_TRUE(QFile::exists(File("figure.pmd")));
    EXPECT_TRUE(QFile::exists(File("figure.png"))) << "the default palette is textured";
    EXPECT_EQ(Document().modelPath, File("figure.pmd").toStdU16String());

    // The next generation proposes the same file.
    prompts.files = {QString()};
    Router().Execute(ID_GENERATE_MODEL);
    EXPECT_EQ(prompts.filePrompts[1].initialPath, File("figure.pmd"));
}

TEST_F(FrameTest, GenerateFailureIsReportedAndThePathKept) {
    Document().modelPath = u"/old.pmd";
    prompts.files = {File("no/such/folder/figure.pmd")};
    Router().Execute(ID_GENERATE_MODEL);
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains("を生成できませんでした"));
    EXPECT_TRUE(prompts.errors[0].contains("figure.pmd"));
    EXPECT_EQ(Document().modelPath, u"/old.pmd");
}

TEST_F(FrameTest, BackgroundColourIsStoredSentAndWritten) {
    CRecordingObserver views;
    Document().AddObserver(&views);
    prompts.color = QColor(255, 0, 0);
    Router().Execute(ID_BACKGROUND_COLOR);
    EXPECT_EQ(prompts.colorInitial, QColor(255, 255, 255));
    EXPECT_EQ(Document().background, 0x0000FFu);
    EXPECT_EQ(views.Hints(), std::vector<int>({12}));
    EXPECT_EQ(AppProfile().GetInt(ProfileWorkspace, u"Background", 0), 0x0000FF);
    EXPECT_FALSE(Document().IsModified()) << "not an edit of the document";
    EXPECT_FALSE(Router().Action(ID_EDIT_UNDO)->isEnabled());

    // The same colour again changes nothing.
    Router().Execute(ID_BACKGROUND_COLOR);
    EXPECT_EQ(views.Hints().size(), 1u);
    // A new document takes the stored colour.
    Router().Execute(ID_FILE_NEW);
    EXPECT_EQ(Document().background, 0x0000FFu);
    Document().RemoveObserver(&views);
}

TEST_F(FrameTest, DotSizeCommandIsOneUndoStep) {
    prompts.dotSize = 2.5f;
    Router().Execute(ID_DOT_SIZE);
    EXPECT_EQ(prompts.dotSizeCaption, QString());
    EXPECT_EQ(prompts.dotSizeInitial, 0.5f);
    EXPECT_EQ(Document().dotSize, 2.5f);
    EXPECT_EQ(Router().Action(ID_EDIT_UNDO)->text(), "元に戻す(&U) - ドットサイズ変更\tCtrl+Z");
    Router().Execute(ID_EDIT_UNDO);
    EXPECT_EQ(Document().dotSize, 0.5f);

    prompts.dotSize.reset(); // cancelled
    Router().Execute(ID_DOT_SIZE);
    EXPECT_EQ(Document().position, 0);
}

TEST(DotSizeDialogTest, OkOnlyForANumberAboveZero) {
    CDotSizeDialog dialog(QString(), 0.5f);
    EXPECT_EQ(dialog.windowTitle(), "ドットの大きさ");
    EXPECT_EQ(dialog.Edit()->text(), "0.5");
    EXPECT_TRUE(dialog.IsOkEnabled());
    for (const char* text : {"0", "-1", "", "abc", "1e400", "2x", "nan", "inf", "1e-60"}) {
        dialog.Edit()->setText(QString::fromUtf8(text));
        EXPECT_FALSE(dialog.IsOkEnabled()) << text;
    }
    dialog.Edit()->setText(" 0.125 ");
    EXPECT_TRUE(dialog.IsOkEnabled());
    EXPECT_EQ(dialog.Value(), 0.125f);

    CDotSizeDialog rate(QStringLiteral("倍率"), 2.0f);
    EXPECT_EQ(rate.windowTitle(), "倍率");
    EXPECT_EQ(rate.Edit()->text(), "2");
}

TEST(FilterStringTest, ConvertsPairsAndMeansEveryFileByStarDotStar) {
    EXPECT_EQ(ConvertFilterString("PMDファイル(*.pmd)|*.pmd|すべてのファイル(*.*)|*.*||"),
              QStringList({"PMDファイル(*.pmd)", "すべてのファイル(*)"}));
    EXPECT_EQ(ConvertFilterString("Images|*.png;*.bmp||"), QStringList({"Images (*.png *.bmp)"}));
    EXPECT_TRUE(ConvertFilterString("").isEmpty());
}
