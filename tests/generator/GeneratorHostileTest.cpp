// Documents from elsewhere (damaged, hostile, or made through the API) never
// become a model that loaders reject: no number that is not finite, no bone
// that is its own ancestor, no joint to a missing body, no texture the image
// format cannot hold; and nothing is written when the document is refused.

#include "generator/GeneratorTestUtil.h"

#include "document/DocumentFile.h"
#include "document/TextCodec.h"
#include "support/HostileDocuments.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Generates document into a fresh folder and returns the error message, or
// "" when it was generated. A refused document leaves the folder empty.
std::string Refusal(CDotDocument& document) {
    CTempFolder folder("hostile");
    try {
        CGenerator(document, folder.File("m.pmd")).Generate();
    } catch (const CGeneratorError& e) {
        EXPECT_TRUE(fs::is_empty(folder.Path())) << e.what();
        return e.what();
    }
    return "";
}

TEST(GeneratorHostile, BrokenNumbersAreRefusedNamingThePartAndTheValue) {
    using hostile::BROKEN;
    const struct {
        BROKEN what;
        const char* message;
    } cases[] = {
        {BROKEN::NAN_DOT_SIZE, "the dot size is nan"},
        {BROKEN::INFINITE_DOT_SIZE, "the dot size is inf"},
        // Each rate is finite; the product under the second is not.
        {BROKEN::HUGE_RATES, "is inf, not a finite number"},
        {BROKEN::NAN_RIGID_BODY, "part \"腕\": a rigid-body value is nan"},
        {BROKEN::NAN_JOINT, "part \"腕\": a joint value is nan"},
        {BROKEN::NAN_ANGLE, "part \"腕\": the angle is nan"},
    };
    for (const auto& c : cases) {
        std::unique_ptr<CDotDocument> document = hostile::Broken(c.what);
        const std::string message = Refusal(*document);
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
    }
}

TEST(GeneratorHostile, VerticesThatOverflowAreRefusedNamingTheirPart) {
    // Every number of the document is finite, the dot edge too; only the
    // corners of the far dots overflow. A NaN part way through the vertices
    // is found as well as one among the first.
    for (int far : {1, 31}) {
        CDotDocument document;
        document.dotSize = 1;
        CDotPart& body = AddPart(document, nullptr, u"体");
        body.SetDot(0, 0, 0, 2);
        CDotPart& arm = AddPart(document, &body, u"腕");
        for (int x = 0; x < 8; ++x)
            arm.SetDot(x, 0, 0, 2);
        arm.SetDot(far, far, far, 3);
        body.rate = 1e19f;
        arm.rate = 1e19f;
        const std::string message = Refusal(document);
        EXPECT_NE(message.find("part \"腕\": its vertices are not finite"), std::string::npos)
            << far << ": " << message;
    }
}

TEST(GeneratorHostile, IkParentsInACircleAreDroppedByTheReaderAndRefusedByTheGenerator) {
    std::unique_ptr<CDotDocument> cycle = hostile::IkCycle();
    // Made through the API, the loop reaches the generator: refused.
    const std::string message = Refusal(*cycle);
    EXPECT_NE(message.find("circle"), std::string::npos) << message;

    // Read from a file, the references that close a loop are dropped.
    CDotDocument read;
    std::vector<std::string> notes;
    ReadDocumentFile(WriteDocumentFile(*cycle), read, &notes);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_NE(notes[0].find("\"輪\""), std::string::npos) << notes[0];
    EXPECT_EQ(read.FindPartByName(u"輪")->ikParent, nullptr);
    const int kept = (read.FindPartByName(u"甲")->ikParent ? 1 : 0) +
                     (read.FindPartByName(u"乙")->ikParent ? 1 : 0);
    EXPECT_EQ(kept, 1) << "one link of the pair stays";
    CTempFolder folder("hostile");
    GENERATED g = GenerateFile(read, folder.File("m.pmd"));
    for (const auto& bone : g.file.bones) {
        int steps = 0;
        for (uint16_t b = bone.parent;
             b != 0xFFFF && steps <= static_cast<int>(g.file.bones.size());
             b = g.file.bones[b].parent)
            ++steps;
        EXPECT_LE(steps, static_cast<int>(g.file.bones.size())) << Utf16ToUtf8(PMDText(bone.name));
    }
}

TEST(GeneratorHostile, RepeatedNamesAreMadeUniqueSoBonesFindTheirParents) {
    CDotDocument read;
    std::vector<std::string> notes;
    ReadDocumentFile(WriteDocumentFile(*hostile::RepeatedNames()), read, &notes);
    std::vector<std::u16string> names;
    for (const CPart* part : read.CollectParts())
        names.push_back(part->name);
    // 腕1 is taken by the fourth part, so the repeats become 腕2 and 腕3.
    EXPECT_EQ(names, (std::vector<std::u16string>{u"腕", u"腕2", u"腕3", u"腕1"}));
    EXPECT_EQ(notes.size(), 2u);

    CTempFolder folder("hostile");
    GENERATED g = GenerateFile(read, folder.File("m.pmd"));
    // Each bone hangs from the one above it, not from the first of the name.
    int checked = 0;
    for (const auto& bone : g.file.bones) {
        if (PMDText(bone.name) == u"腕2" && ++checked) {
            EXPECT_EQ(PMDText(g.file.bones.at(bone.parent).name), u"腕");
        }
        if (PMDText(bone.name) == u"腕3" && ++checked) {
            EXPECT_EQ(PMDText(g.file.bones.at(bone.parent).name), u"腕2");
        }
    }
    EXPECT_EQ(checked, 2);
}

TEST(GeneratorHostile, AJointWithoutItsBodyIsLeftOutAndTold) {
    std::unique_ptr<CDotDocument> document = hostile::JointWithoutBody();
    CTempFolder folder("hostile");
    GENERATED g = GenerateFile(*document, folder.File("m.pmd"));
    EXPECT_TRUE(g.file.joints.empty());
    EXPECT_EQ(g.result.joints, 0u);
    ASSERT_EQ(g.result.notes.size(), 1u);
    EXPECT_NE(g.result.notes[0].find("\"尾\""), std::string::npos) << g.result.notes[0];
}

TEST(GeneratorHostile, ATextureTooTallForTheImageFormatIsRefusedBeforeWriting) {
    std::unique_ptr<CDotDocument> document = hostile::HugeTexture();
    const std::string message = Refusal(*document);
    EXPECT_NE(message.find("1,000,000 rows"), std::string::npos) << message;
    EXPECT_NE(message.find("512 x "), std::string::npos) << message;
}

} // namespace
