// Writes the seed corpus of the document reader's fuzzer: small files of
// every layout and version step, built by the same helpers as the tests.
//   fuzz_seed_corpus FOLDER

#include <cstdio>
#include <string>

#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "support/DocumentBytes.h"

namespace {

void Save(const std::string& folder, const char* name, const std::vector<uint8_t>& bytes) {
    WriteFileAtomically(folder + "/" + name, bytes);
}

std::vector<test::TREE_PART> SmallTree() {
    test::TREE_PART root;
    root.name = u"センター";
    root.flags = 0x10 | 0x20 | 0x04 | 0x40 | 1;
    root.dotValue = 3;
    root.rigidBody = {2.0f, 0.5f, 0.5f, 0.1f, 0.5f};
    root.linkedPartId = 2;
    test::TREE_PART child;
    child.name = u"腕";
    child.id = 2;
    child.parentId = 1;
    child.flags = 0x80 | 0x40 | 0x08;
    child.joint.assign(18, 0.5f);
    child.ikName = u"ＩＫ";
    child.ikParentId = 1;
    child.bone = {40, 12, 32};
    child.rate = 2.0f;
    test::TREE_PART grandchild = child;
    grandchild.id = 3;
    grandchild.parentId = 2;
    grandchild.flags = 0x80;
    child.children = {grandchild};
    root.children = {child};
    return {root};
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seed_corpus FOLDER\n");
        return 1;
    }
    const std::string folder = argv[1];
    try {
        CDotDocument document;
        document.OnNewDocument();
        Save(folder, "tree-785-new.kbrl", WriteDocumentFile(document));
        Save(folder, "tree-785.kbrl", test::TreeFile(785, SmallTree(), true));
        Save(folder, "tree-784.kbrl", test::TreeFile(784, SmallTree(), true));
        Save(folder, "tree-768.kbrl", test::TreeFile(768, SmallTree()));

        const std::vector<test::BONE_BYTES> bones = {{u"a", 1, 0, 1},
                                                     {u"b", 2, 1, 0},
                                                     {u"c", 3, 2, 0x10 | 2},
                                                     {u"x", 4, 9, 0},
                                                     {u"y", 5, 5, 0}};
        std::vector<test::BONE_BYTES> withIk = bones;
        withIk[1].ikName = u"IK";
        withIk[2].ikParentId = 1;
        const std::vector<test::GRID_BYTES> grids = {
            {u"ga", 1, {{2, {1, 2, 3}}, {1, {4, 5, 6}}}},
            {u"gb", 2, {{1, {7, 8, 9}}}},
            {u"free", 3, {}},
            {u"lost", 4, {{77, {1, 1, 1}}}},
        };
        Save(folder, "flat-767.kbrl", test::FlatFile(767, withIk, grids));
        Save(folder, "flat-559.kbrl", test::FlatFile(559, bones, grids));
        Save(folder, "flat-543.kbrl", test::FlatFile(543, withIk, grids));
        Save(folder, "flat-527.kbrl", test::FlatFile(527, withIk, grids));
        Save(folder, "legacy-300.kbrl", test::LegacyFile(300, {10, 4, 16}));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "fuzz_seed_corpus: %s\n", e.what());
        return 1;
    }
    return 0;
}
