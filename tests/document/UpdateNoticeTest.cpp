// Update notices accept exactly the object their hint carries: a sender that
// attaches the wrong object, or forgets one, does not compile.

#include <gtest/gtest.h>

#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/UpdateNotice.h"

namespace {

template <UpdateHint Hint>
concept BuildsWithoutObject = requires {
    Notice<Hint>();
};
template <UpdateHint Hint>
concept BuildsWithPart = requires(CPart* part) {
    Notice<Hint>(part);
};
template <UpdateHint Hint>
concept BuildsWithDocument = requires(CDotDocument* document) {
    Notice<Hint>(document);
};

// Hints whose object is always a part.
static_assert(BuildsWithPart<HINT_DOTS> && !BuildsWithoutObject<HINT_DOTS>);
static_assert(BuildsWithPart<HINT_PART_NAME> && !BuildsWithoutObject<HINT_PART_NAME>);
static_assert(BuildsWithPart<HINT_BONE> && BuildsWithPart<HINT_BONE_POSITION>);
static_assert(BuildsWithPart<HINT_MARKED_PART> && BuildsWithPart<HINT_PART_RATE>);
static_assert(!BuildsWithDocument<HINT_DOTS>);

// Hints whose object is a part or nothing.
static_assert(BuildsWithPart<HINT_PARTS> && BuildsWithoutObject<HINT_PARTS>);
static_assert(BuildsWithPart<HINT_SELECT_PART> && BuildsWithoutObject<HINT_SELECT_PART>);

// The one hint whose object is the document.
static_assert(BuildsWithDocument<HINT_PHYSICS>);
static_assert(!BuildsWithPart<HINT_PHYSICS> && !BuildsWithoutObject<HINT_PHYSICS>);

// Hints without an object.
static_assert(BuildsWithoutObject<HINT_FACE> && !BuildsWithPart<HINT_FACE>);
static_assert(BuildsWithoutObject<HINT_PALETTE> && !BuildsWithPart<HINT_PALETTE>);
static_assert(!BuildsWithDocument<HINT_EDGE> && !BuildsWithPart<HINT_INVERT>);

TEST(UpdateNoticeTest, CarriesTheObjectInItsOwnFieldAndNothingElse) {
    CDotDocument document;
    auto part = document.CreatePart(1, u"p");
    const CUpdateNotice dots = Notice<HINT_DOTS>(part.get());
    EXPECT_EQ(dots.hint, HINT_DOTS);
    EXPECT_EQ(dots.part, static_cast<CPart*>(part.get()));
    EXPECT_EQ(dots.document, nullptr);

    const CUpdateNotice physics = Notice<HINT_PHYSICS>(&document);
    EXPECT_EQ(physics.part, nullptr);
    EXPECT_EQ(physics.document, &document);

    // The numbers views and stored settings know stay as they were.
    EXPECT_EQ(Notice<HINT_EDGE>().hint, 18);
    EXPECT_EQ(Notice<HINT_DOT_SIZE>().hint, 11);
    EXPECT_EQ(Notice<HINT_PARTS>(), (CUpdateNotice{HINT_PARTS, nullptr, nullptr}));
}

} // namespace
