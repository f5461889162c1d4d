#include <gtest/gtest.h>

#include <algorithm>

#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "support/ScopedProfile.h"

namespace {

class PartTreeTest : public ::testing::Test {
protected:
    CScopedProfile profile;
    CDotDocument document;

    // Appends a new part under parent (top level when null).
    CDotPart* Add(int id, std::u16string name, CPart* parent = nullptr) {
        auto part = document.CreatePart(id, std::move(name));
        CDotPart* raw = part.get();
        if (parent)
            parent->InsertChild(-1, std::move(part));
        else
            document.InsertChild(-1, std::move(part));
        return raw;
    }
};

} // namespace

TEST_F(PartTreeTest, InsertAndRemoveChildren) {
    CDotPart* a = Add(1, u"a");
    CDotPart* b = Add(2, u"b");
    EXPECT_EQ(a->parent, nullptr);
    auto c = document.CreatePart(3, u"c");
    CDotPart* cRaw = c.get();
    EXPECT_EQ(document.InsertChild(0, std::move(c)), 0);
    EXPECT_EQ(document.GetChild(0), cRaw);
    EXPECT_EQ(document.InsertChild(3, document.CreatePart(4, u"d")), 3); // index == count appends
    EXPECT_EQ(document.InsertChild(-1, document.CreatePart(5, u"e")), 4);
    EXPECT_EQ(a->GetIndex(), 1);
    EXPECT_EQ(b->GetIndex(), 2);

    // A part holder sets and clears parent; the document leaves it alone.
    auto removed = document.RemoveChild(2);
    EXPECT_EQ(removed.get(), b);
    EXPECT_EQ(b->GetIndex(), -1);
    EXPECT_EQ(a->InsertChild(7, std::move(removed)), 0);
    EXPECT_EQ(b->parent, a);
    EXPECT_EQ(b->GetIndex(), 0);
    auto back = a->RemoveChild(0);
    EXPECT_EQ(back->parent, nullptr);

    EXPECT_THROW(document.RemoveChild(-1), std::out_of_range);
    EXPECT_THROW(document.RemoveChild(document.GetChildCount()), std::out_of_range);
    EXPECT_THROW(a->RemoveChild(0), std::out_of_range);
}

TEST_F(PartTreeTest, LookupsWalkInPreOrder) {
    CDotPart* a = Add(1, u"a");
    CDotPart* a1 = Add(5, u"dup", a);
    Add(3, u"b");
    Add(4, u"dup");
    EXPECT_EQ(document.FindPartByName(u"dup"), a1); // the child of a comes first
    EXPECT_EQ(document.FindPartByName(u"DUP"), nullptr);
    EXPECT_EQ(document.FindPartById(5), a1);
    EXPECT_EQ(document.FindPartById(2), nullptr);
    EXPECT_EQ(document.GetMaxId(0), 5);
    EXPECT_EQ(document.GetMaxId(19), 19);

    std::vector<CPart*> list{nullptr};
    document.CollectParts(list); // appends
    ASSERT_EQ(list.size(), 5u);
    std::vector<int> ids;
    for (size_t i = 1; i < list.size(); ++i)
        ids.push_back(list[i]->id);
    EXPECT_EQ(ids, (std::vector<int>{1, 5, 3, 4}));
}

TEST_F(PartTreeTest, FreeIdsFillTheFirstGap) {
    EXPECT_EQ(document.GetFreeId(), 1);
    CDotPart* a = Add(1, u"a");
    Add(4, u"b", a);
    Add(2, u"c");
    EXPECT_EQ(document.GetFreeId(), 3);
    Add(3, u"d");
    EXPECT_EQ(document.GetFreeId(), 5);
    Add(2147483647, u"e"); // a huge id does not disturb the search
    EXPECT_EQ(document.GetFreeId(), 5);
}

TEST_F(PartTreeTest, UniqueNames) {
    EXPECT_EQ(document.MakeUniqueName(u"部品"), u"部品1");
    EXPECT_EQ(document.GetUniqueName(u"頭"), u"頭");
    Add(1, u"頭");
    EXPECT_EQ(document.GetUniqueName(u"頭"), u"頭1");
    Add(2, u"頭1");
    Add(3, u"頭2");
    EXPECT_EQ(document.GetUniqueName(u"頭"), u"頭3");
    // The base alone is never tried by MakeUniqueName.
    EXPECT_EQ(document.MakeUniqueName(u"腕"), u"腕1");
    Add(4, u"部品9");
    EXPECT_EQ(document.MakeUniqueName(u"部品"), u"部品1");
}

TEST_F(PartTreeTest, PastedSubtreeIsNumberedAfterTheLargestId) {
    Add(19, u"頭");
    Add(3, u"首");
    auto pasted = document.CreatePart(0, u"頭");
    pasted->InsertChild(-1, document.CreatePart(0, u"x"));
    pasted->InsertChild(-1, document.CreatePart(0, u"首"));
    pasted->GetChild(0)->InsertChild(-1, document.CreatePart(0, u"y"));
    CDotDocument other; // parts that came from another document
    pasted->GetChild(1)->document = &other;

    auto result = document.PastePart(std::move(pasted));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->id, 20);
    EXPECT_EQ(result->name, u"頭1");
    CPart* x = result->GetChild(0);
    CPart* y = x->GetChild(0);
    CPart* neck = result->GetChild(1);
    EXPECT_EQ(x->id, 21);
    EXPECT_EQ(y->id, 22);
    EXPECT_EQ(neck->id, 23);
    EXPECT_EQ(x->parentId, 20);
    EXPECT_EQ(neck->parentId, 20);
    EXPECT_EQ(y->parentId, 21);
    EXPECT_EQ(neck->name, u"首1");
    EXPECT_EQ(neck->document, &document);
    EXPECT_EQ(y->document, &document);
}

TEST_F(PartTreeTest, PastedNamesAreUniqueWithinTheSubtreeToo) {
    // The pasted part takes 頭1, which its own child already bears.
    Add(1, u"頭");
    auto pasted = document.CreatePart(0, u"頭");
    pasted->InsertChild(-1, document.CreatePart(0, u"頭1"));
    pasted->InsertChild(-1, document.CreatePart(0, u"x"));
    pasted->InsertChild(-1, document.CreatePart(0, u"x"));
    auto result = document.PastePart(std::move(pasted));
    EXPECT_EQ(result->name, u"頭1");
    EXPECT_EQ(result->GetChild(0)->name, u"頭11");
    EXPECT_EQ(result->GetChild(1)->name, u"x");
    EXPECT_EQ(result->GetChild(2)->name, u"x1");
}

TEST_F(PartTreeTest, ReferencesResolveOnlyAgainstTheTree) {
    CDotPart* a = Add(1, u"a");
    CDotPart* b = Add(2, u"b", a);
    b->ikParentId = 1;
    b->linkedPartId = 9; // no such part
    b->linkedPart = a;   // stale pointer is replaced
    document.ResolveAllReferences();
    EXPECT_EQ(b->ikParent, a);
    EXPECT_EQ(b->linkedPart, nullptr);

    // A part taken out of the tree no longer counts as a reference target.
    auto taken = document.RemoveChild(0);
    auto c = document.CreatePart(3, u"c");
    c->ikParentId = 1;
    c->linkedPartId = 0;
    c->linkedPart = b;
    document.ResolveReferences(*c);
    EXPECT_EQ(c->ikParent, nullptr);
    EXPECT_EQ(c->linkedPart, nullptr);

    // The subtree form covers descendants and looks ids up in the tree.
    document.InsertChild(-1, std::move(taken));
    b->ikParentId = 2;
    document.ResolveSubtreeReferences(*a);
    EXPECT_EQ(b->ikParent, b);
}

TEST_F(PartTreeTest, PastedReferencesResolveAgainstTheDocument) {
    CDotPart* target = Add(19, u"t");
    auto pasted = document.CreatePart(0, u"p");
    pasted->linkedPartId = 19;
    pasted->InsertChild(-1, document.CreatePart(0, u"q"));
    pasted->GetChild(0)->ikParentId = 19;
    auto result = document.PastePart(std::move(pasted));
    EXPECT_EQ(result->linkedPart, target);
    EXPECT_EQ(result->GetChild(0)->ikParent, target);
}

TEST_F(PartTreeTest, AncestryOrder) {
    CDotPart* a = Add(1, u"a");
    CDotPart* b = Add(2, u"b", a);
    CDotPart* c = Add(3, u"c", b);
    CDotPart* d = Add(4, u"d");
    EXPECT_LT(CTreeDocument::CompareAncestry(a, c), 0);
    EXPECT_GT(CTreeDocument::CompareAncestry(c, a), 0);
    EXPECT_EQ(CTreeDocument::CompareAncestry(c, d), 0);
    EXPECT_EQ(CTreeDocument::CompareAncestry(b, b), 0);
    EXPECT_LT(CTreeDocument::CompareAncestry(d, nullptr), 0);
    EXPECT_GT(CTreeDocument::CompareAncestry(nullptr, d), 0);
    EXPECT_EQ(CTreeDocument::CompareAncestry(nullptr, nullptr), 0);

    std::vector<CPart*> parts{nullptr, c, a, b};
    std::sort(parts.begin(), parts.end(), CTreeDocument::AncestryLess);
    EXPECT_EQ(parts, (std::vector<CPart*>{a, b, c, nullptr}));
}
