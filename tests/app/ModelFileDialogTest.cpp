// The real file chooser of "モデル生成(&G)...", driven as a person uses it:
// choose a file type in the type box, type a bare name, press Enter. The
// chosen type decides the extension the name gets.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "FrameFixture.h"
#include "app/ShellPrompts.h"

namespace {

FILE_PROMPT ModelPrompt(const QString& folder, int selected) {
    FILE_PROMPT prompt;
    prompt.title = QStringLiteral("モデル生成");
    prompt.initialPath = folder;
    prompt.filters = {QStringLiteral("PMDファイル(*.pmd)"), QStringLiteral("PMXファイル(*.pmx)"),
                      QStringLiteral("すべてのファイル(*)")};
    prompt.filterSuffixes = {QStringLiteral("pmd"), QStringLiteral("pmx"), QString()};
    prompt.selectedFilter = selected;
    prompt.defaultSuffix = prompt.filterSuffixes[selected];
    return prompt;
}

// Runs the chooser and, once it shows, lets user act on it.
std::optional<QString> RunChooser(const FILE_PROMPT& prompt,
                                  std::function<void(QFileDialog&)> user) {
    QTimer::singleShot(0, [user] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no file dialog shown";
            return;
        }
        user(*dialog);
    });
    CDialogPrompts prompts(nullptr);
    return prompts.ChooseSaveFile(prompt);
}

void TypeNameAndAccept(QFileDialog& dialog, const QString& name) {
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, name);
    QTest::keyClick(edit, Qt::Key_Return);
}

} // namespace

TEST(ModelFileDialog, TheChosenTypeGivesABareNameItsExtension) {
    QTemporaryDir folder;
    QString shown;
    std::optional<QString> chosen =
        RunChooser(ModelPrompt(folder.path(), 0), [&](QFileDialog& dialog) {
            shown = dialog.selectedNameFilter();
            auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            ASSERT_NE(types, nullptr);
            types->setFocus();
            QTest::keyClick(types, Qt::Key_Down); // PMD → PMX
            EXPECT_EQ(dialog.selectedNameFilter(), "PMXファイル(*.pmx)");
            if (const char* shots = std::getenv("KUBRELL_SCREENSHOTS"))
                dialog.grab().save(QDir(shots).filePath("model-file-dialog.png"));
            TypeNameAndAccept(dialog, QStringLiteral("doll"));
        });
    EXPECT_EQ(shown, "PMDファイル(*.pmd)");
    ASSERT_TRUE(chosen);
    EXPECT_EQ(QFileInfo(*chosen).fileName(), "doll.pmx");
}

TEST(ModelFileDialog, ThePreselectedTypeAndATypedExtensionAreKept) {
    QTemporaryDir folder;
    QString shown;
    std::optional<QString> chosen =
        RunChooser(ModelPrompt(folder.path(), 1), [&](QFileDialog& dialog) {
            shown = dialog.selectedNameFilter();
            TypeNameAndAccept(dialog, QStringLiteral("a"));
        });
    EXPECT_EQ(shown, "PMXファイル(*.pmx)");
    ASSERT_TRUE(chosen);
    EXPECT_EQ(QFileInfo(*chosen).fileName(), "a.pmx");

    chosen = RunChooser(ModelPrompt(folder.path(), 1), [&](QFileDialog& dialog) {
        TypeNameAndAccept(dialog, QStringLiteral("b.pmd"));
    });
    ASSERT_TRUE(chosen);
    EXPECT_EQ(QFileInfo(*chosen).fileName(), "b.pmd");
}
