#pragma once
// A main window on a new document with fake prompts and empty settings.

#include <QApplication>
#include <QSettings>
#include <QTest>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

#include "FakePrompts.h"
#include "app/CommandRouter.h"
#include "app/Kubrell.h"
#include "app/MainFrame.h"
#include "app/PathRestorableDocManager.h"
#include "app/SettingsProfile.h"
#include "document/Command.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Lets queued work run (the frame refreshes its states after a change).
inline void Settle() { QCoreApplication::processEvents(); }

// Shows the window as the active one (no window manager runs under the
// virtual display, so the test makes it active itself).
inline void ShowActive(QWidget& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window, 1000))
        QApplication::setActiveWindow(&window);
    ASSERT_EQ(QApplication::activeWindow(), &window);
}

inline CSettingsProfile& AppProfile() { return static_cast<CKubrell*>(qApp)->Profile(); }

// Forgets every stored setting.
inline void ClearSettings() {
    QSettings settings;
    settings.clear();
    settings.sync();
}

class FrameTest : public testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        frame = std::make_unique<CMainFrame>(AppProfile(), &prompts);
        frame->DocManager().NewDocument();
    }
    void TearDown() override {
        frame->Document().SetModifiedFlag(false);
        frame.reset();
    }

    CDotDocument& Document() { return frame->Document(); }
    // The current part; a part is added first when the document has none.
    CPart& CurrentPart() {
        CDotDocument& document = Document();
        if (!document.currentPart) {
            const int index =
                document.InsertChild(-1, document.CreatePart(document.GetFreeId(), u"頭"));
            document.currentPart = document.GetChild(index);
            document.UpdateAllPlacements();
            Router().Refresh();
        }
        return *document.currentPart;
    }
    CCommandRouter& Router() { return frame->Router(); }
    QString File(const QString& name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    CFakePrompts prompts;
    std::unique_ptr<CMainFrame> frame;
};

// An undoable change of the dot size with a label of its choice; it follows
// the document protocol (modified flag, one hint) unless told to stay silent.
class CSizeCommand : public CCommand {
public:
    CSizeCommand(CDotDocument& document, float size, std::u16string label, bool silent = false)
        : CCommand(std::move(label)), document_(document), size_(size), silent_(silent) {}

    void Do(CDocumentObserver* view) override { Swap(view); }
    void Undo() override { Swap(nullptr); }

private:
    void Swap(CDocumentObserver* view) {
        std::swap(document_.dotSize, size_);
        if (silent_)
            return;
        document_.SetModifiedFlag();
        document_.UpdateAllViews(view, Notice<HINT_DOT_SIZE>());
    }

    CDotDocument& document_;
    float size_;
    bool silent_;
};
