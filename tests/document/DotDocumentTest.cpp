#include "document/DotDocument.h"

#include <gtest/gtest.h>

#include <cmath>

#include "document/DotPart.h"
#include "document/Profile.h"
#include "resources/CommandIds.h"
#include "support/RecordingObserver.h"
#include "support/ScopedProfile.h"

namespace {

class DotDocumentTest : public ::testing::Test {
protected:
    CScopedProfile profile;
};

// A part that handles one command and records what it was asked.
class CHandlingPart : public CDotPart {
public:
    using CDotPart::CDotPart;
    bool OnCommand(unsigned id) override {
        if (id != handled)
            return false;
        ++calls;
        return true;
    }
    bool OnUpdateCommand(unsigned id, CCommandState& state) override {
        if (id != handled)
            return false;
        state.checked = true;
        return true;
    }
    unsigned handled = ID_PART_INVERT;
    int calls = 0;
};

} // namespace

TEST_F(DotDocumentTest, NewDocumentState) {
    CDotDocument document;
    EXPECT_EQ(document.dotSize, 0.5f);
    EXPECT_EQ(document.background, 0xFFFFFFu);
    EXPECT_TRUE(document.edge);
    EXPECT_EQ(document.currentColor, (std::array<int32_t, 2>{8, 0}));
    EXPECT_EQ(document.colors, DefaultPalette());
    EXPECT_FALSE(document.IsModified());
    EXPECT_FALSE(document.CanUndo());
}

TEST_F(DotDocumentTest, PaletteAccess) {
    CDotDocument document;
    EXPECT_EQ(document.GetColor(1).color, 0u);
    EXPECT_EQ(document.GetColor(31).color, 0u);
    EXPECT_EQ(&document.GetColor(8), &document.colors[7]);
    EXPECT_THROW(document.GetColor(0), std::out_of_range);
    EXPECT_THROW(document.GetColor(32), std::out_of_range);
}

TEST_F(DotDocumentTest, NearestColor) {
    CDotDocument document;
    EXPECT_EQ(document.FindNearestColor(MakeColorRef(0, 0, 0)), 1); // 30 and 31 tie, lose
    EXPECT_EQ(document.FindNearestColor(MakeColorRef(255, 255, 255)), 8);
    EXPECT_EQ(document.FindNearestColor(MakeColorRef(250, 5, 0)), 5);
    EXPECT_EQ(document.FindNearestColor(MakeColorRef(0, 0, 170)), 9); // 191 is nearer than 127
    // (0, 0, 159) lies 32 from both 191 (index 9) and 127 (index 16).
    EXPECT_EQ(document.FindNearestColor(MakeColorRef(0, 0, 159)), 9);
    // A later entry wins only when strictly nearer.
    document.GetColor(30).SetColor(MakeColorRef(1, 1, 1));
    EXPECT_EQ(document.FindNearestColor(MakeColorRef(1, 1, 1)), 30);
}

TEST_F(DotDocumentTest, DeleteContentsResetsAllButTheEdgeFlag) {
    CDotDocument document;
    std::vector<std::string> log;
    document.Execute(std::make_unique<CLoggingCommand>(document, log, "a"));
    auto part = document.CreatePart(1, u"a");
    part->InsertChild(-1, document.CreatePart(2, u"b"));
    document.currentPart = part.get();
    document.markedPart = part->GetChild(0);
    document.InsertChild(-1, std::move(part));
    document.dotSize = 3.0f;
    document.GetColor(2).SetColor(MakeColorRef(1, 2, 3));
    document.currentColor = {3, 4};
    document.background = 0x123456;
    document.modelPath = u"/tmp/m.pmd";
    document.edge = false;
    profile.profile.WriteInt(u"Workspace", u"Background", 0x00FF00);

    document.DeleteContents();
    EXPECT_FALSE(document.CanUndo());
    EXPECT_TRUE(document.commands.empty());
    EXPECT_EQ(document.GetChildCount(), 0);
    EXPECT_EQ(document.currentPart, nullptr);
    EXPECT_EQ(document.markedPart, nullptr);
    EXPECT_EQ(document.dotSize, 0.5f);
    EXPECT_EQ(document.colors, DefaultPalette());
    EXPECT_EQ(document.currentColor, (std::array<int32_t, 2>{8, 0}));
    EXPECT_EQ(document.background, 0x00FF00u);
    EXPECT_TRUE(document.modelPath.empty());
    EXPECT_FALSE(document.edge);
}

TEST_F(DotDocumentTest, NewDocumentClearsTheModifiedFlagAndUndo) {
    CDotDocument document;
    std::vector<std::string> log;
    document.Execute(std::make_unique<CLoggingCommand>(document, log, "a"));
    ASSERT_TRUE(document.IsModified());
    document.OnNewDocument();
    EXPECT_FALSE(document.IsModified());
    EXPECT_FALSE(document.CanUndo());
    EXPECT_EQ(document.currentPart, document.GetChild(0));
}

TEST_F(DotDocumentTest, DotSizeAndBackgroundComeFromTheProfile) {
    profile.profile.WriteString(u"Workspace", u"DotSize", u"0.25");
    profile.profile.WriteInt(u"Workspace", u"Background", 0x202020);
    CDotDocument document;
    EXPECT_EQ(document.dotSize, 0.25f);
    EXPECT_EQ(document.background, 0x202020u);
    profile.profile.WriteString(u"Workspace", u"DotSize", u"abc");
    document.DeleteContents();
    EXPECT_EQ(document.dotSize, 0.0f);
    profile.profile.WriteString(u"Workspace", u"DotSize", u"");
    document.DeleteContents();
    EXPECT_EQ(document.dotSize, 0.5f);
}

TEST(Profile, DotSizeParsesLikeTheCLibrary) {
    EXPECT_EQ(ParseDouble(u"1.5"), 1.5);
    EXPECT_EQ(ParseDouble(u"  \t2e1xyz"), 20.0);
    EXPECT_EQ(ParseDouble(u"-.5"), -0.5);
    EXPECT_EQ(ParseDouble(u"+3"), 3.0);
    EXPECT_EQ(ParseDouble(u"0x10"), 16.0);
    EXPECT_EQ(ParseDouble(u"1,5"), 1.0); // the decimal point is always '.'
    EXPECT_EQ(ParseDouble(u"abc"), 0.0);
    EXPECT_EQ(ParseDouble(u"-"), 0.0);
    EXPECT_EQ(ParseDouble(u"--5"), 0.0); // one sign only
    EXPECT_EQ(ParseDouble(u"+-5"), 0.0);
    EXPECT_EQ(ParseDouble(u"0x-5"), 0.0); // "0" and then an x
    EXPECT_EQ(ParseDouble(u"１"), 0.0);   // full-width digits are not digits
    EXPECT_TRUE(std::isinf(ParseDouble(u"1e999")));
    EXPECT_EQ(ParseDouble(u"1e-999"), 0.0);

    CMemoryProfile p;
    EXPECT_EQ(ReadDotSizeSetting(p), 0.5f);
    EXPECT_EQ(ReadBackgroundSetting(p), 0xFFFFFFu);
    p.WriteString(u"Workspace", u"DotSize", u"0.125");
    EXPECT_EQ(ReadDotSizeSetting(p), 0.125f);
    p.WriteString(u"Window", u"DotSize", u"9"); // other sections do not count
    EXPECT_EQ(ReadDotSizeSetting(p), 0.125f);
    EXPECT_EQ(p.GetInt(u"Workspace", u"DotSize", 7), 0); // "0.125" reads as 0
    EXPECT_EQ(p.GetInt(u"Workspace", u"Missing", 7), 7);
}

TEST_F(DotDocumentTest, CommandsGoToTheCurrentPartFirst) {
    CDotDocument document;
    auto owned = std::make_unique<CHandlingPart>(&document, 1, u"p");
    CHandlingPart* part = owned.get();
    document.InsertChild(-1, std::move(owned));

    CCommandState state;
    EXPECT_FALSE(document.OnUpdateCommand(ID_PART_INVERT, state)); // no current part
    EXPECT_FALSE(document.OnCommand(ID_PART_INVERT));

    document.currentPart = part;
    EXPECT_TRUE(document.OnCommand(ID_PART_INVERT));
    EXPECT_EQ(part->calls, 1);
    EXPECT_TRUE(document.OnUpdateCommand(ID_PART_INVERT, state));
    EXPECT_TRUE(state.checked);
    // Commands the part does not take fall through to the document.
    CCommandState undo;
    EXPECT_TRUE(document.OnUpdateCommand(ID_EDIT_UNDO, undo));
    EXPECT_FALSE(undo.enabled);
    // A part that takes undo would shadow the document's handler.
    part->handled = ID_EDIT_UNDO;
    CCommandState shadowed;
    EXPECT_TRUE(document.OnUpdateCommand(ID_EDIT_UNDO, shadowed));
    EXPECT_TRUE(shadowed.checked);
}
