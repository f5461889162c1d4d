// Bad document files: every failure is a CArchiveException with a reason, and
// the document being read into stays exactly as it was.

#include <random>

#include <gtest/gtest.h>

#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "support/DocumentBytes.h"

using test::TREE_PART;

namespace {

// A document to read into: the standard skeleton with a few changes, so that
// a half-done read would show.
void Prepare(CDotDocument& document) {
    document.OnNewDocument();
    document.dotSize = 0.125f;
    document.modelPath = u"keep.pmd";
    document.edge = false;
}

void ExpectUntouched(const CDotDocument& document) {
    EXPECT_EQ(19u, document.CollectParts().size());
    EXPECT_EQ(0.125f, document.dotSize);
    EXPECT_EQ(u"keep.pmd", document.modelPath);
    EXPECT_FALSE(document.edge);
    ASSERT_NE(nullptr, document.currentPart);
    EXPECT_EQ(u"センター", document.currentPart->name);
    for (const CPart* part : document.CollectParts())
        EXPECT_EQ(&document, part->document);
}

std::string ReadError(const std::vector<uint8_t>& bytes) {
    CDotDocument document;
    try {
        ReadDocumentFile(bytes, document);
    } catch (const CArchiveException& e) {
        return e.what();
    }
    return "";
}

std::vector<uint8_t> NestedTreeFile(int depth) {
    // Written by hand from the innermost part outwards would need recursion in
    // the builder; build the bytes directly: depth headers, then the tails.
    CArchiveWriter w;
    w.WriteU16(785);
    test::PutSettings(w, 785, {});
    w.WriteBool(true);
    w.WriteU16(1);
    for (int i = 0; i < depth; ++i) {
        w.WriteString(u"n");
        w.WriteU16(static_cast<uint16_t>(i + 1));
        w.WriteU16(static_cast<uint16_t>(i));
        w.WriteU8(0x80);
        for (int k = 0; k < 3; ++k)
            w.WriteF32(0.0f);
        w.WriteU16(0);
        w.WriteString(u"");
        w.WriteU16(0);
        test::PutTriple(w, {32, 31, 32});
        test::PutTriple(w, {32, 32, 32});
        w.WriteF32(1.0f);
        w.WriteU16(i + 1 < depth ? 1 : 0);
    }
    for (int i = 0; i < depth; ++i)
        w.WriteU16(0); // linkedPartId, innermost first
    return w.Take();
}

std::vector<uint8_t> SampleFile() {
    TREE_PART root;
    root.name = u"センター";
    root.flags = 0x20 | 0x04 | 1; // dots and rigid-body values
    root.dotValue = 3;
    root.rigidBody = {1, 2, 3, 4, 5};
    TREE_PART child;
    child.id = 2;
    child.parentId = 1;
    child.flags = 0x40 | 0x08 | 0x80;
    child.joint.assign(18, 0.25f);
    child.ikName = u"IK";
    root.children = {child, child};
    return test::TreeFile(785, {root});
}

} // namespace

TEST(DocumentFileHostile, EveryTruncationFailsAndLeavesTheDocumentAlone) {
    const std::vector<std::vector<uint8_t>> files = {
        SampleFile(),
        test::FlatFile(600, {{u"a", 1, 0, 1}, {u"b", 2, 1, 0}},
                       {{u"g", 4, {{1, {1, 2, 3}}, {2, {4, 5, 6}}}}}),
    };
    for (const auto& file : files) {
        for (size_t size = 0; size < file.size(); ++size) {
            CDotDocument document;
            Prepare(document);
            std::vector<uint8_t> cut(file.begin(),
                                     file.begin() + static_cast<std::ptrdiff_t>(size));
            EXPECT_THROW(ReadDocumentFile(cut, document), CArchiveException) << "size " << size;
            ExpectUntouched(document);
        }
    }
    std::vector<uint8_t> legacy = test::LegacyFile(300, {1, 2, 3});
    for (size_t size :
         {size_t(0), size_t(1), size_t(2), size_t(5000), size_t(32770), legacy.size() - 1}) {
        CDotDocument document;
        Prepare(document);
        EXPECT_THROW(ReadDocumentFile(std::span(legacy).first(size), document), CArchiveException);
        ExpectUntouched(document);
    }
}

TEST(DocumentFileHostile, ErrorsSayWhatWasWrong) {
    // A string whose length runs past the end.
    CArchiveWriter w;
    w.WriteU16(785);
    w.WriteF32(0.5f);
    test::PutPalette(w, 785);
    w.WriteU32(0);
    w.WriteU8(0xFF);
    w.WriteU16(0xFFFE);
    w.WriteU8(200); // 200 UTF-16 units, none follow
    EXPECT_NE(std::string::npos, ReadError(w.Take()).find("string"));
    // Run-length data that never fills the grid.
    TREE_PART p;
    p.flags = 0;
    std::vector<uint8_t> file = test::TreeFile(785, {p});
    const size_t gridStart = file.size() - 256 - 4 - 2 - 2;
    file.resize(gridStart + 10);
    EXPECT_NE(std::string::npos, ReadError(file).find("dot data ends"));
}

TEST(DocumentFileHostile, CountsLargerThanTheDataFail) {
    std::vector<uint8_t> file = test::TreeFile(785, {});
    file[file.size() - 2] = 0xFF; // 65 535 top-level parts, none present
    file[file.size() - 1] = 0xFF;
    EXPECT_FALSE(ReadError(file).empty());
    // 65 535 joint records announced in a flat-list grid entry.
    std::vector<uint8_t> flat = test::FlatFile(600, {{u"a", 1}}, {{u"g", 1, {}}});
    flat[flat.size() - 2] = 0xFF;
    flat[flat.size() - 1] = 0xFF;
    EXPECT_NE(std::string::npos, ReadError(flat).find("joint records"));
}

TEST(DocumentFileHostile, DeepNestingIsRefusedWithoutExhaustingTheStack) {
    CDotDocument document;
    EXPECT_NO_THROW(ReadDocumentFile(NestedTreeFile(MaxPartDepth), document));
    EXPECT_EQ(static_cast<size_t>(MaxPartDepth), document.CollectParts().size());
    // Each level hangs half a dot lower: the deepest joint sets the offset.
    EXPECT_EQ(static_cast<float>(MaxPartDepth - 1) * 0.375f, document.modelOffset[1]);

    EXPECT_NE(std::string::npos, ReadError(NestedTreeFile(MaxPartDepth + 1)).find("nested"));
    EXPECT_NE(std::string::npos, ReadError(NestedTreeFile(10000)).find("nested"));

    // The same ten thousand levels as a flat list of parent ids.
    std::vector<test::BONE_BYTES> chain;
    for (int i = 1; i <= 10000; ++i)
        chain.push_back({u"n", i, i - 1});
    EXPECT_NE(std::string::npos, ReadError(test::FlatFile(700, chain, {})).find("nested"));
}

TEST(DocumentFileHostile, RandomBytesNeverCrash) {
    std::mt19937 random(99);
    const std::vector<uint8_t> sample = SampleFile();
    for (int trial = 0; trial < 3000; ++trial) {
        std::vector<uint8_t> bytes;
        if (trial % 2 == 0) {
            // Flip a few bytes of a valid file.
            bytes = sample;
            for (int flips = 1 + trial % 5; flips > 0; --flips)
                bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        } else {
            bytes.resize(random() % 600);
            for (uint8_t& b : bytes)
                b = static_cast<uint8_t>(random());
            if (bytes.size() >= 2) { // a version of each layout
                const uint16_t versions[] = {300, 520, 600, 770, 785, 786};
                const uint16_t v = versions[trial % 6];
                bytes[0] = static_cast<uint8_t>(v);
                bytes[1] = static_cast<uint8_t>(v >> 8);
            }
        }
        CDotDocument document;
        try {
            ReadDocumentFile(bytes, document);
        } catch (const CArchiveException&) {
        }
    }
}

TEST(DocumentFileHostile, ManyPartsNamingMissingIdsReadInLinearTime) {
    // 65 535 top-level parts that all name an IK parent no part has and link
    // to an id that many parts share: each reference goes to the first part
    // in tree order with the id (here a child of the first part), and looking
    // them up does not search the whole tree for every part.
    std::vector<TREE_PART> parts(65535);
    for (size_t i = 0; i < parts.size(); ++i) {
        parts[i].id = 1000 + static_cast<int>(i % 7);
        parts[i].ikParentId = 60000;
        parts[i].linkedPartId = 1003;
    }
    TREE_PART child;
    child.id = 1003;
    child.parentId = 1000;
    child.name = u"first 1003";
    child.ikParentId = 60000;
    child.linkedPartId = 1003;
    parts[0].children = {child};

    CDotDocument document;
    ReadDocumentFile(test::TreeFile(785, parts), document);
    const std::vector<CPart*> all = document.CollectParts();
    ASSERT_EQ(65536u, all.size());
    const CPart* first1003 = document.children[0]->children[0].get();
    for (const CPart* part : all) {
        EXPECT_EQ(nullptr, part->ikParent);
        EXPECT_EQ(first1003, part->linkedPart);
    }
}
