#include "generator/VertexTable.h"

#include "support/LinearVertices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <random>

namespace {

// The table holds no vertices of its own: like the generator, the tests keep
// the list and append every vertex the table says is new.
struct TABLE {
    CVertexTable table;
    std::vector<CModelVertex> vertices;

    CVertexTable::RESULT FindOrAdd(const VERTEX_KEY& key) {
        const CVertexTable::RESULT result = table.FindOrAdd(key, vertices);
        if (result.created) {
            EXPECT_EQ(result.index, vertices.size());
            vertices.emplace_back(PMDFloat3{key.position[0], key.position[1], key.position[2]},
                                  PMDFloat3{key.normal[0], key.normal[1], key.normal[2]},
                                  PMDFloat2{key.uv[0], key.uv[1]}, key.bone);
        }
        return result;
    }
};

} // namespace

TEST(VertexTable, SignedZerosMatchAndNanMatchesNothing) {
    TABLE table;
    const VERTEX_KEY zero{{0.0f, 1.0f, 2.0f}, {0.0f, 0.0f, -1.0f}, {0.0f, 0.0f}, 3};
    VERTEX_KEY negativeZero = zero;
    negativeZero.position[0] = -0.0f;
    negativeZero.normal[0] = -0.0f;
    negativeZero.uv[1] = -0.0f;
    EXPECT_EQ(table.FindOrAdd(negativeZero).index, 0u);
    auto shared = table.FindOrAdd(zero);
    EXPECT_FALSE(shared.created);
    EXPECT_EQ(shared.index, 0u);

    VERTEX_KEY otherBone = zero;
    otherBone.bone = -1;
    EXPECT_TRUE(table.FindOrAdd(otherBone).created);

    VERTEX_KEY nan = zero;
    nan.uv[0] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(table.FindOrAdd(nan).created);
    auto again = table.FindOrAdd(nan);
    EXPECT_TRUE(again.created);
    EXPECT_EQ(again.index, 3u);
}

TEST(VertexTable, GivesTheFirstMatchOfALinearSearch) {
    // Values drawn from a small pool so that many corners coincide, with
    // signed zeros, infinities and NaN among them.
    const float pool[] = {0.0f,
                          -0.0f,
                          1.0f,
                          -1.0f,
                          0.5f,
                          1e-30f,
                          -7.25f,
                          std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::quiet_NaN()};
    std::mt19937 random(99);
    auto pick = [&](int limit) { return pool[random() % static_cast<unsigned>(limit)]; };
    for (int round = 0; round < 20; ++round) {
        TABLE table;
        std::vector<VERTEX_KEY> linear;
        const int limit = round % 2 ? 9 : 5; // half the rounds without inf and NaN
        for (int n = 0; n < 4000; ++n) {
            VERTEX_KEY key{{pick(limit), pick(limit), pick(3)},
                           {pick(limit), pick(3), pick(3)},
                           {pick(limit), pick(3)},
                           static_cast<int32_t>(random() % 3) - 1};
            const auto next = static_cast<uint32_t>(linear.size());
            const uint32_t expected = FindOrAddLinearly(linear, key);
            const auto actual = table.FindOrAdd(key);
            ASSERT_EQ(actual.index, expected) << "round " << round << " corner " << n;
            ASSERT_EQ(actual.created, expected == next);
        }
    }
}

TEST(VertexTable, TagsOfLatticeCornersSpreadOverTheTable) {
    // Corners of a dot lattice, each with one of six face normals, two uvs
    // and two bones: keys that differ in one field only must still land on
    // different slots about as often as random tags would.
    const std::array<float, 3> normals[] = {{0, 0, -1}, {0, 0, 1}, {-1, 0, 0},
                                            {1, 0, 0},  {0, 1, 0}, {0, -1, 0}};
    constexpr uint32_t mask = (1u << 18) - 1;
    std::vector<bool> used(mask + 1);
    std::vector<uint32_t> tags;
    size_t keys = 0, distinct = 0;
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y)
            for (int z = 0; z < 16; ++z)
                for (const auto& normal : normals)
                    for (int variant = 0; variant < 4; ++variant) {
                        const VERTEX_KEY key{{x * 0.25f - 2.0f, y * 0.25f, z * -0.25f},
                                             normal,
                                             {variant % 2 * 0.5f, 0.0f},
                                             variant / 2};
                        tags.push_back(CVertexTable::Tag(key));
                        const uint32_t slot = tags.back() & mask;
                        ++keys;
                        distinct += used[slot] ? 0 : 1;
                        used[slot] = true;
                    }
    // At this load (0.375) random tags leave about 84% of the keys on a slot
    // of their own.
    EXPECT_GT(static_cast<double>(distinct) / static_cast<double>(keys), 0.80);
    // Whole tags: among 98,304 keys random ones would coincide about once.
    std::sort(tags.begin(), tags.end());
    const auto same =
        tags.size() -
        static_cast<size_t>(std::distance(tags.begin(), std::unique(tags.begin(), tags.end())));
    EXPECT_LE(same, 8u);
}

TEST(VertexTable, KeepsEveryEntryWhenIndicesOutgrowTheNarrowSlots) {
    // Past 2^19 - 2 vertices the slots widen; every key entered before and
    // after must still be found, and new keys still be new.
    TABLE table;
    auto keyOf = [](int n) {
        return VERTEX_KEY{{static_cast<float>(n % 97), static_cast<float>(n / 97), 0.5f},
                          {0.0f, 0.0f, n % 2 ? 1.0f : -1.0f},
                          {0.0f, 0.0f},
                          n % 3};
    };
    constexpr int count = (1 << 19) + 1000;
    for (int n = 0; n < count; ++n)
        ASSERT_TRUE(table.FindOrAdd(keyOf(n)).created) << n;
    EXPECT_EQ(table.table.Size(), static_cast<size_t>(count));
    EXPECT_GE(table.table.SlotBytes(), table.table.Size() * 8);
    for (int n = 0; n < count; n += 997) {
        const auto found = table.FindOrAdd(keyOf(n));
        ASSERT_FALSE(found.created) << n;
        ASSERT_EQ(found.index, static_cast<uint32_t>(n));
    }
    const auto last = table.FindOrAdd(keyOf(count - 1));
    EXPECT_EQ(last.index, static_cast<uint32_t>(count - 1));
}

TEST(VertexTable, ModelSizedTableTakesFourBytesASlot) {
    CVertexTable table;
    table.Reserve(65536);
    EXPECT_EQ(table.SlotBytes(), (size_t(1) << 17) * 4);
}
