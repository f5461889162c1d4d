// New, open, save and save as; the save question; the recent-file list;
// opening from a drop; and what a file that cannot be read leaves behind.

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "FrameFixture.h"
#include "document/Profile.h"
#include "resources/CommandIds.h"

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST_F(FrameTest, SavedDocumentOpensWithTheSameContents) {
    Document().Execute(std::make_unique<CSizeCommand>(Document(), 1.25f, u"a"));
    Document().background = 0x123456;
    Document().modelPath = u"/tmp/モデル.pmd";
    const size_t parts = Document().CollectParts().size();
    prompts.files = {File("人形")};
    Router().Execute(ID_FILE_SAVE); // no file yet: asks for one
    const QString saved = File("人形.kbrl");
    ASSERT_TRUE(QFile::exists(saved)) << "the suffix is added";
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(frame->windowTitle(), "人形.kbrl[*] - Kubrell");
    EXPECT_EQ(AppProfile().GetString(ProfileWorkspace, u"DocumentDirectory"),
              QDir(folder.path()).absolutePath().toStdU16String());

    Router().Execute(ID_FILE_NEW);
    EXPECT_EQ(Document().dotSize, 0.5f);
    EXPECT_EQ(frame->windowTitle(), "無題[*] - Kubrell");

    prompts.files = {saved};
    Router().Execute(ID_FILE_OPEN);
    EXPECT_EQ(Document().dotSize, 1.25f);
    EXPECT_EQ(Document().background, 0x123456u);
    EXPECT_EQ(Document().modelPath, u"/tmp/モデル.pmd");
    EXPECT_EQ(Document().CollectParts().size(), parts);
    EXPECT_FALSE(Router().Action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_EQ(frame->DocManager().PathName(), saved);
    // The open dialog started in the folder of the last document.
    ASSERT_FALSE(prompts.filePrompts.empty());
    EXPECT_EQ(prompts.filePrompts.back().initialPath, QDir(folder.path()).absolutePath());
    EXPECT_EQ(prompts.filePrompts.back().filters.front(), "Kubrellファイル (*.kbrl)");
}

TEST_F(FrameTest, FileThatCannotBeReadKeepsTheOpenDocument) {
    Document().Execute(std::make_unique<CSizeCommand>(Document(), 2.0f, u"a"));
    ASSERT_TRUE(frame->DocManager().SaveTo(File("good.kbrl")));
    Document().Execute(std::make_unique<CSizeCommand>(Document(), 3.0f, u"b"));

    WriteBytes(File("bad.kbrl"), QByteArray("\x11\x03\x00", 3));
    prompts.saveAnswer = SaveAnswer::No;
    EXPECT_FALSE(frame->OpenDocumentFile(File("bad.kbrl")));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains("bad.kbrl"));
    EXPECT_TRUE(prompts.errors[0].contains("壊れています"));
    EXPECT_EQ(Document().dotSize, 3.0f);
    EXPECT_TRUE(Document().IsModified());
    EXPECT_EQ(Document().position, 2);
    EXPECT_EQ(frame->DocManager().PathName(), File("good.kbrl"));

    EXPECT_FALSE(frame->OpenDocumentFile(File("missing.kbrl")));
    ASSERT_EQ(prompts.errors.size(), 2);
    EXPECT_TRUE(prompts.errors[1].contains("ファイルが見つかりません"));
    EXPECT_EQ(Document().dotSize, 3.0f);
}

TEST_F(FrameTest, ModifiedDocumentAsksBeforeItIsReplaced) {
    Document().Execute(std::make_unique<CSizeCommand>(Document(), 2.0f, u"a"));

    prompts.saveAnswer = SaveAnswer::Cancel;
    Router().Execute(ID_FILE_NEW);
    EXPECT_EQ(prompts.asked, QStringList({"無題"}));
    EXPECT_EQ(Document().dotSize, 2.0f);
    EXPECT_FALSE(frame->close()) << "Cancel keeps the window open";

    prompts.saveAnswer = SaveAnswer::Yes;
    prompts.files = {QString()}; // the save dialog is cancelled
    Router().Execute(ID_FILE_NEW);
    EXPECT_EQ(Document().dotSize, 2.0f);

    prompts.files = {File("kept.kbrl")};
    Router().Execute(ID_FILE_NEW);
    EXPECT_TRUE(QFile::exists(File("kept.kbrl")));
    EXPECT_EQ(Document().dotSize, 0.5f);

    Document().Execute(std::make_unique<CSizeCommand>(Document(), 4.0f, u"b"));
    prompts.saveAnswer = SaveAnswer::No;
    Router().Execute(ID_FILE_NEW);
    EXPECT_EQ(Document().dotSize, 0.5f);
    EXPECT_EQ(prompts.asked.size(), 5);
}

TEST_F(FrameTest, RecentFilesOpenAndForgetFilesThatAreGone) {
    ASSERT_TRUE(frame->DocManager().SaveTo(File("one.kbrl")));
    ASSERT_TRUE(frame->DocManager().SaveTo(File("two.kbrl")));
    ASSERT_TRUE(frame->DocManager().SaveTo(File("one.kbrl")));
    EXPECT_EQ(frame->DocManager().RecentFiles(), QStringList({File("one.kbrl"), File("two.kbrl")}));
    Router().Refresh();
    EXPECT_TRUE(Router().Action(ID_FILE_MRU_FILE1 + 1)->isVisible());
    EXPECT_TRUE(Router().Action(ID_FILE_MRU_FILE1 + 1)->text().startsWith("&2 "));
    EXPECT_FALSE(Router().Action(ID_FILE_MRU_FILE1 + 2)->isVisible());

    Router().Execute(ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(frame->DocManager().PathName(), File("two.kbrl"));

    QFile::remove(File("one.kbrl"));
    Router().Execute(ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(frame->DocManager().PathName(), File("two.kbrl"));
    EXPECT_EQ(frame->DocManager().RecentFiles(), QStringList({File("two.kbrl")}));

    // The list survives a restart.
    CMainFrame next(AppProfile(), &prompts);
    EXPECT_EQ(next.DocManager().RecentFiles(), QStringList({File("two.kbrl")}));
}

TEST_F(FrameTest, RecentFileTextIsShortenedAndEscaped) {
    EXPECT_EQ(RecentFileMenuText(0, "/a/b&c.kbrl"), "&1 /a/b&&c.kbrl");
    const QString longPath = "/" + QString(80, u'x') + "/figure.kbrl";
    const QString text = RecentFileMenuText(9, longPath);
    EXPECT_TRUE(text.startsWith("&10 /xxx"));
    EXPECT_TRUE(text.endsWith("…/figure.kbrl"));
    EXPECT_LE(text.size(), 70);
}

TEST_F(FrameTest, DroppedFileOpensLikeOpen) {
    ASSERT_TRUE(frame->DocManager().SaveTo(File("dropped.kbrl")));
    Router().Execute(ID_FILE_NEW);
    ASSERT_TRUE(frame->DocManager().PathName().isEmpty());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(File("dropped.kbrl"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &drop);
    EXPECT_EQ(frame->DocManager().PathName(), File("dropped.kbrl"));
}

TEST_F(FrameTest, SaveThatFailsTellsTheUserAndKeepsTheOldFile) {
    ASSERT_TRUE(frame->DocManager().SaveTo(File("keep.kbrl")));
    const QByteArray before = [&] {
        QFile file(File("keep.kbrl"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    Document().Execute(std::make_unique<CSizeCommand>(Document(), 2.0f, u"a"));
    EXPECT_FALSE(frame->DocManager().SaveTo(File("no/such/folder/x.kbrl")));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains("保存先のフォルダーがありません"));
    EXPECT_TRUE(Document().IsModified());
    EXPECT_EQ(frame->DocManager().PathName(), File("keep.kbrl"));
    QFile file(File("keep.kbrl"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}
