// Writing version 785: exact bytes, round trips of random documents, the part
// record on a memory block, and saving and loading by path.

#include <filesystem>
#include <random>

#include <gtest/gtest.h>

#include "document/Archive.h"
#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "support/DocumentBytes.h"

namespace {

CDotPart& AddPart(CPartParent& holder, CDotDocument& document, int id, std::u16string name) {
    auto part = document.CreatePart(id, std::move(name));
    CDotPart& ref = *part;
    if (auto* parentPart = dynamic_cast<CPart*>(&holder))
        ref.parentId = parentPart->id;
    holder.InsertChild(-1, std::move(part));
    return ref;
}

void ExpectSameParts(const CDotPart& a, const CDotPart& b) {
    SCOPED_TRACE("part " + std::to_string(a.id));
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.id, b.id);
    EXPECT_EQ(a.parent ? a.parent->id : 0, b.parent ? b.parent->id : 0);
    EXPECT_EQ(a.boneKind, b.boneKind);
    EXPECT_EQ(a.angle, b.angle);
    EXPECT_EQ(a.ikRange, b.ikRange);
    EXPECT_EQ(a.ikName, b.ikName);
    EXPECT_EQ(a.ikParentId, b.ikParentId);
    EXPECT_EQ(a.ikParent ? a.ikParent->id : 0, b.ikParent ? b.ikParent->id : 0);
    EXPECT_EQ(a.morph, b.morph);
    EXPECT_EQ(a.linkedPartId, b.linkedPartId);
    EXPECT_EQ(a.linkedPart ? a.linkedPart->id : 0, b.linkedPart ? b.linkedPart->id : 0);
    EXPECT_EQ(a.rate, b.rate);
    EXPECT_EQ(a.bonePosition, b.bonePosition);
    EXPECT_EQ(a.parentPosition, b.parentPosition);
    std::vector<uint8_t> dotsA(GridDots), dotsB(GridDots);
    a.CopyDots(dotsA);
    b.CopyDots(dotsB);
    EXPECT_EQ(dotsA, dotsB);
    EXPECT_EQ(a.rigidBody != nullptr, b.rigidBody != nullptr);
    if (a.rigidBody && b.rigidBody) {
        EXPECT_EQ(*a.rigidBody, *b.rigidBody);
    }
    EXPECT_EQ(a.joint != nullptr, b.joint != nullptr);
    if (a.joint && b.joint) {
        EXPECT_EQ(*a.joint, *b.joint);
    }
    EXPECT_EQ(a.worldPosition, b.worldPosition);
    EXPECT_EQ(a.worldRotation, b.worldRotation);
    ASSERT_EQ(a.children.size(), b.children.size());
    for (size_t i = 0; i < a.children.size(); ++i)
        ExpectSameParts(static_cast<const CDotPart&>(*a.children[i]),
                        static_cast<const CDotPart&>(*b.children[i]));
}

void ExpectSameDocuments(const CDotDocument& a, const CDotDocument& b) {
    EXPECT_EQ(a.dotSize, b.dotSize);
    EXPECT_EQ(a.colors, b.colors);
    EXPECT_EQ(a.background, b.background);
    EXPECT_EQ(a.modelPath, b.modelPath);
    EXPECT_EQ(a.edge, b.edge);
    EXPECT_EQ(a.modelOffset, b.modelOffset);
    ASSERT_EQ(a.children.size(), b.children.size());
    for (size_t i = 0; i < a.children.size(); ++i)
        ExpectSameParts(static_cast<const CDotPart&>(*a.children[i]),
                        static_cast<const CDotPart&>(*b.children[i]));
}

// A random document whose every field survives the file: joint points are
// bytes, material colours keep their alpha, flags are 0 or 1.
void MakeRandomDocument(CDotDocument& document, std::mt19937& random) {
    auto uniform = [&](float lo, float hi) {
        return std::uniform_real_distribution<float>(lo, hi)(random);
    };
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    document.dotSize = uniform(0.01f, 2.0f);
    for (CDotColor& color : document.colors) {
        const bool material = pick(2);
        color = CDotColor(static_cast<uint32_t>(random()) & 0xFFFFFF,
                          material ? uniform(0, 1) : 1.0f, material);
    }
    document.background = static_cast<uint32_t>(random()) & 0xFFFFFF;
    document.modelPath =
        pick(2) ? u"" : u"出力/モデル" + std::u16string(static_cast<size_t>(pick(300)), u'x');
    document.edge = pick(2);

    std::vector<CDotPart*> parts;
    const int count = 1 + pick(25);
    for (int id = 1; id <= count; ++id) {
        CPartParent& holder =
            parts.empty() || pick(4) == 0
                ? static_cast<CPartParent&>(document)
                : *parts[static_cast<size_t>(pick(static_cast<int>(parts.size())))];
        CDotPart& p = AddPart(holder, document, id,
                              u"部品" + std::u16string(1, static_cast<char16_t>(u'A' + id)));
        p.boneKind = pick(4);
        p.angle = {uniform(-3, 3), uniform(-3, 3), uniform(-3, 3)};
        p.ikRange = pick(65536);
        p.ikName = pick(3) ? u"" : u"ＩＫ";
        p.morph = pick(2);
        p.rate = pick(2) ? 1.0f : uniform(0.1f, 4.0f);
        p.bonePosition = {pick(65), pick(65), pick(65)};
        p.parentPosition = {pick(65), pick(65), pick(65)};
        if (pick(2))
            for (int n = pick(400); n > 0; --n)
                p.SetDot(pick(32), pick(32), pick(32), pick(32));
        if (pick(3) == 0) {
            p.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
            if (pick(2))
                p.rigidBody->restitution = uniform(0, 1);
        }
        if (pick(3) == 0) {
            p.joint = std::make_unique<JOINT_PARAMS>();
            if (pick(2))
                p.joint->springRotation[1] = uniform(0, 10);
        }
        parts.push_back(&p);
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        CDotPart* p = parts[i];
        // IK parents only among the parts made before: a loop of them is
        // something the reader mends, not something that round-trips.
        const auto ikParent = static_cast<size_t>(pick(count));
        if (pick(3) == 0 && ikParent < i)
            p->SetIkParent(parts[ikParent]);
        if (pick(3) == 0)
            p->SetLinkedPart(parts[static_cast<size_t>(pick(count))]);
    }
    document.OnDocumentLoaded();
}

} // namespace

TEST(DocumentFileWrite, BytesMatchTheLayout) {
    // The document of a hand-built file, made in memory, writes those bytes.
    test::TREE_PART root;
    root.name = u"センター";
    root.flags = 0x10 | 0x20 | 0x40 | 0x08 | 1; // morph, default rigid body, joint values
    root.angle = {0.0f, 1.5f, -2.0f};
    root.ikRange = 2;
    root.ikName = u"左足ＩＫ";
    root.ikParentId = 2;
    root.bone = {1, 2, 3};
    root.own = {64, 0, 33};
    root.dotValue = 5;
    root.rate = 0.5f;
    root.joint = {0,
                  0,
                  0,
                  0,
                  0,
                  0,
                  -0.15707964f,
                  -0.15707964f,
                  -0.15707964f,
                  0.15707964f,
                  0.15707964f,
                  0.15707964f,
                  0,
                  0,
                  0,
                  0,
                  0,
                  7.0f};
    root.linkedPartId = 9;
    test::TREE_PART child;
    child.name = u"";
    child.id = 2;
    child.parentId = 1;
    child.flags = 0x80 | 0x20 | 0x04 | 3;
    child.rigidBody = {1.0f, 0.5f, 0.5f, 0.25f, 0.5f};
    root.children = {child};

    CDotDocument document;
    document.dotSize = 0.75f;
    for (int i = 1; i <= 31; ++i)
        document.GetColor(i) =
            CDotColor(test::PaletteColor(i), test::PaletteAlpha, test::PaletteMaterial(i));
    document.background = 0x00123456;
    document.modelPath = u"C:\\モデル\\a.pmd";
    document.edge = true;
    CDotPart& r = AddPart(document, document, 1, u"センター");
    r.boneKind = BONE_MOVE;
    r.morph = 1;
    r.angle = root.angle;
    r.ikRange = 2;
    r.ikName = u"左足ＩＫ";
    r.bonePosition = {1, 2, 3};
    r.parentPosition = {64, 0, 33};
    for (int z = 0; z < 32; ++z)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                r.SetDot(x, y, z, 5);
    r.rate = 0.5f;
    r.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    r.joint = std::make_unique<JOINT_PARAMS>();
    r.joint->springRotation[2] = 7.0f;
    r.linkedPartId = 9; // written as it is, though no part has that id
    CDotPart& c = AddPart(r, document, 2, u"");
    c.boneKind = BONE_HIDDEN;
    c.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    c.rigidBody->restitution = 0.25f;
    c.SetDot(3, 3, 3, 4); // drawn and erased: the grid exists but is empty
    c.SetDot(3, 3, 3, 0);
    r.ikParent = &c; // the id is taken from the pointer, not from ikParentId
    r.ikParentId = 55;

    EXPECT_EQ(test::TreeFile(785, {root}, true), WriteDocumentFile(document));
}

TEST(DocumentFileWrite, NewDocumentStoresNoDotBytes) {
    CDotDocument document;
    document.OnNewDocument();
    std::vector<uint8_t> bytes = WriteDocumentFile(document);
    // Version 785, dot size 0.5, then the first palette record: black, 1.0, false.
    const std::vector<uint8_t> head = {0x11, 0x03, 0x00, 0x00, 0x00, 0x3F, 0,   0,
                                       0,    0,    0x00, 0x00, 0x80, 0x3F, 0x00};
    EXPECT_EQ(head, std::vector<uint8_t>(bytes.begin(), bytes.begin() + 15));
    // Each of the 19 records: name, 2 + 2 + 1 + 12 + 2 + ikName + 2 + 3 + 3 + 4
    // + 2 + 2 bytes and no dots.
    size_t expected = 2 + 4 + 31 * 9 + 4 + 4 + 1 + 2;
    for (const CPart* part : document.CollectParts())
        expected += 4 + 2 * part->name.size() + 4 + 2 * part->ikName.size() + 35;
    EXPECT_EQ(expected, bytes.size());

    CDotDocument read;
    ReadDocumentFile(bytes, read);
    ExpectSameDocuments(document, read);
}

TEST(DocumentFileWrite, RandomDocumentsRoundTrip) {
    std::mt19937 random(785);
    for (int trial = 0; trial < 40; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        CDotDocument original;
        MakeRandomDocument(original, random);
        const std::vector<uint8_t> bytes = WriteDocumentFile(original);
        CDotDocument read;
        read.edge = !original.edge;
        EXPECT_EQ(785, ReadDocumentFile(bytes, read));
        ExpectSameDocuments(original, read);
        EXPECT_EQ(bytes, WriteDocumentFile(read));
    }
}

TEST(DocumentFileWrite, PartRecordWorksOnAMemoryBlock) {
    std::mt19937 random(7);
    CDotDocument source;
    MakeRandomDocument(source, random);
    auto& part = static_cast<CDotPart&>(*source.children[0]);
    CArchiveWriter writer;
    part.Store(writer);
    const std::vector<uint8_t> block = writer.Take();

    CDotDocument target;
    target.dotSize = source.dotSize;
    auto copy = target.CreatePart(0, u"");
    CArchiveReader reader(block);
    copy->Load(reader, DocumentFileVersion);
    EXPECT_TRUE(reader.AtEnd());
    // References are resolved by whoever inserts the part.
    source.ResolveSubtreeReferences(*copy);
    copy->UpdatePlacement();
    ExpectSameParts(part, *copy);
    EXPECT_EQ(&target, copy->document);
}

TEST(DocumentFileWrite, SavesAndLoadsByPath) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("kubrell-file-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "a.kbrl").string();
    CDotDocument document;
    document.OnNewDocument();
    document.modelPath = u"x.pmd";
    SaveDocumentFile(document, path);
    CDotDocument read;
    EXPECT_EQ(785, LoadDocumentFile(path, read));
    ExpectSameDocuments(document, read);

    // Errors name the file; a failed load leaves the document alone.
    const std::string missing = (folder / "missing.kbrl").string();
    try {
        LoadDocumentFile(missing, read);
        ADD_FAILURE() << "no error";
    } catch (const CArchiveException& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find(missing));
    }
    EXPECT_EQ(u"x.pmd", read.modelPath);
    const std::string broken = (folder / "broken.kbrl").string();
    std::vector<uint8_t> bytes = WriteDocumentFile(document);
    bytes.resize(bytes.size() / 2);
    WriteFileAtomically(broken, bytes);
    try {
        LoadDocumentFile(broken, read);
        ADD_FAILURE() << "no error";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(0u, std::string(e.what()).find(broken + ": "));
    }
    EXPECT_EQ(19u, read.CollectParts().size());
    EXPECT_THROW(SaveDocumentFile(document, (folder / "no-such-folder" / "b.kbrl").string()),
                 CArchiveException);
    std::filesystem::remove_all(folder);
}
