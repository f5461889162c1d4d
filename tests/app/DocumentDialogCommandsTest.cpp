// The document commands with dialogs: generate the model, the dot size, the
// background colour; and the dot-size dialog's rule for its OK button.

#include <QFile>
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>

#include "../support/RecordingObserver.h"
#include "FrameFixture.h"
#include "app/DocumentDialogCommands.h"
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
              QStringList({"PMDファイル(*.pmd)", "PMXファイル(*.pmx)", "すべてのファイル(*)"}));
    EXPECT_EQ(prompts.filePrompts[0].selectedFilter, 0);
    EXPECT_EQ(prompts.filePrompts[0].defaultSuffix, "pmd");
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    EXPECT_TRUE(QFile::exists(File("figure.pmd")));
    EXPECT_TRUE(QFile::exists(File("figure.png"))) << "the default palette is textured";
    EXPECT_EQ(Document().modelPath, File("figure.pmd").toStdU16String());

    // The next generation proposes the same file.
    prompts.files = {QString()};
    Router().Execute(ID_GENERATE_MODEL);
    EXPECT_EQ(prompts.filePrompts[1].initialPath, File("figure.pmd"));
}

TEST_F(FrameTest, GeneratePMXWritesPMXAndTheNextChooserOffersPMXFirst) {
    prompts.files = {File("figure.pmx")};
    Router().Execute(ID_GENERATE_MODEL);
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    QFile model(File("figure.pmx"));
    ASSERT_TRUE(model.open(QIODevice::ReadOnly));
    EXPECT_EQ(model.read(4), "PMX ");
    EXPECT_TRUE(QFile::exists(File("figure.png"))) << "the texture is written beside a PMX too";
    EXPECT_EQ(Document().modelPath, File("figure.pmx").toStdU16String());

    // The remembered type is preselected, and a bare name gets its extension.
    prompts.files = {File("second")};
    Router().Execute(ID_GENERATE_MODEL);
    ASSERT_EQ(prompts.filePrompts.size(), 2u);
    EXPECT_EQ(prompts.filePrompts[1].initialPath, File("figure.pmx"));
    EXPECT_EQ(prompts.filePrompts[1].selectedFilter, 1);
    EXPECT_EQ(prompts.filePrompts[1].defaultSuffix, "pmx");
    EXPECT_TRUE(QFile::exists(File("second.pmx")));
    EXPECT_EQ(Document().modelPath, File("second.pmx").toStdU16String());
}

TEST_F(FrameTest, AModelTooLargeForPMDIsRefusedWithAPointerToPMX) {
    CPart& part = CurrentPart();
    for (int z = 0; z < 32; z += 2)
        for (int y = 0; y < 32; y += 2)
            for (int x = 0; x < 32; x += 2)
                static_cast<CDotPart&>(part).SetDot(x, y, z, 2);
    prompts.files = {File("big.pmd"), File("big.pmx")};
    Router().Execute(ID_GENERATE_MODEL);
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains("PMD 形式で扱える大きさを超えています"))
        << prompts.errors[0].toStdString();
    EXPECT_TRUE(prompts.errors[0].contains("PMX 形式 (*.pmx) なら書き出せます"))
        << prompts.errors[0].toStdString();
    EXPECT_FALSE(QFile::exists(File("big.pmd")));
    Router().Execute(ID_GENERATE_MODEL);
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(QFile::exists(File("big.pmx")));
    EXPECT_EQ(Document().modelPath, File("big.pmx").toStdU16String());
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

TEST_F(FrameTest, GenerateRefusesToWriteOverTheOpenDocument) {
    ASSERT_TRUE(frame->DocManager().SaveTo(File("figure.kbrl")));
    const QByteArray saved = [&] {
        QFile file(File("figure.kbrl"));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    // The model over the document, then the texture over it (model
    // figure.pmd would do, but a document named figure.png is the case).
    prompts.files = {File("figure.kbrl")};
    Router().Execute(ID_GENERATE_MODEL);
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains("別々のファイル")) << prompts.errors[0].toStdString();
    QFile file(File("figure.kbrl"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), saved);
    EXPECT_FALSE(QFile::exists(File("figure.png")));
    EXPECT_TRUE(Document().modelPath.empty() ||
                Document().modelPath != File("figure.kbrl").toStdU16String());
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

TEST_F(FrameTest, EdgeAndAllMaterialShowTheirStateAndAreUndoable) {
    QAction* edge = Router().Action(ID_EDGE);
    QAction* all = Router().Action(ID_ALL_MATERIAL);
    EXPECT_TRUE(edge->isChecked());
    EXPECT_EQ(all->text(), "全て材質(&M)");

    edge->trigger();
    EXPECT_FALSE(Document().edge);
    EXPECT_FALSE(edge->isChecked());
    all->trigger();
    EXPECT_EQ(all->text(), "全てテクスチャ(&M)");
    EXPECT_EQ(Router().Action(ID_EDIT_UNDO)->text(), "元に戻す(&U) - 色の編集\tCtrl+Z");

    Router().Execute(ID_EDIT_UNDO);
    EXPECT_EQ(all->text(), "全て材質(&M)");
    Router().Execute(ID_EDIT_UNDO);
    EXPECT_TRUE(edge->isChecked());
}

TEST_F(FrameTest, ColourCommandEditsTheEntryOfTheCurrentColour) {
    Document().currentColor = {8, 0};
    const CDotColor before = Document().GetColor(8);
    prompts.paletteColor = PALETTE_COLOR{0x00336699, 0.5f, true};
    Router().Execute(ID_SET_COLOR1);
    ASSERT_TRUE(prompts.paletteInitial);
    EXPECT_EQ(prompts.paletteInitial->color, before.color);
    EXPECT_EQ(Document().GetColor(8).color, 0x00336699u);
    EXPECT_EQ(Document().GetColor(8).alpha, 0.5f);
    EXPECT_TRUE(Document().GetColor(8).material);
    Router().Execute(ID_EDIT_UNDO);
    EXPECT_EQ(Document().GetColor(8), before);

    prompts.paletteColor.reset(); // cancelled
    Router().Execute(ID_SET_COLOR1);
    EXPECT_EQ(Document().position, 0);
}

TEST(DotColorDialogTest, AlphaFollowsTheMaterialBoxAndNumbersAreChecked) {
    CDotColorDialog dialog({0x00102030, 0.25f, false});
    EXPECT_EQ(dialog.ChannelEdit(0)->text(), "48");
    EXPECT_EQ(dialog.ChannelEdit(2)->text(), "16");
    EXPECT_FALSE(dialog.AlphaEdit()->isEnabled());
    dialog.MaterialBox()->setChecked(true);
    EXPECT_TRUE(dialog.AlphaEdit()->isEnabled());

    std::optional<PALETTE_COLOR> value = dialog.ReadControls();
    ASSERT_TRUE(value);
    EXPECT_EQ(value->color, 0x00102030u);
    EXPECT_EQ(value->alpha, 0.25f);
    EXPECT_TRUE(value->material);

    QString problem;
    dialog.ChannelEdit(1)->setText("256");
    EXPECT_FALSE(dialog.ReadControls(&problem));
    EXPECT_EQ(problem, "0 から 255 までの整数を入力してください。");
    dialog.ChannelEdit(1)->setText("0");
    dialog.AlphaEdit()->setText("1.5");
    EXPECT_FALSE(dialog.ReadControls(&problem));
    EXPECT_EQ(problem, "0 から 1 までの数値を入力してください。");
}

TEST_F(FrameTest, RateDialogChangesTheCurrentPart) {
    CPart* part = &CurrentPart();
    prompts.dotSize = 2.0f;
    Router().Execute(ID_PART_RATE);
    EXPECT_EQ(prompts.dotSizeCaption, "倍率");
    EXPECT_EQ(prompts.dotSizeInitial, 1.0f);
    EXPECT_EQ(part->rate, 2.0f);
    EXPECT_EQ(Router().Action(ID_EDIT_UNDO)->text(), "元に戻す(&U) - 倍率\tCtrl+Z");
}

TEST_F(FrameTest, NewPartGoesUnderTheCurrentPartAndBecomesCurrent) {
    CPart& parent = CurrentPart();
    const size_t before = Document().CollectParts().size();
    Router().Execute(ID_PART_NEW);
    EXPECT_EQ(Document().CollectParts().size(), before + 1);
    ASSERT_TRUE(Document().currentPart);
    EXPECT_EQ(Document().currentPart->parent, &parent);
    EXPECT_EQ(Router().Action(ID_EDIT_UNDO)->text(), "元に戻す(&U) - 新規部品\tCtrl+Z");
}
