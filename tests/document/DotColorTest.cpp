#include "document/DotColor.h"

#include <gtest/gtest.h>

#include "document/Archive.h"

TEST(DotColor, PaletteHuesAndLevels) {
    const auto palette = DefaultPalette();
    ASSERT_EQ(palette.size(), 31u);
    EXPECT_EQ(palette[0].color, MakeColorRef(0, 0, 0));
    // Index 2–8 at level 255 in the order blue, green, cyan, red, magenta,
    // yellow, white.
    EXPECT_EQ(palette[1].color, MakeColorRef(0, 0, 255));
    EXPECT_EQ(palette[2].color, MakeColorRef(0, 255, 0));
    EXPECT_EQ(palette[3].color, MakeColorRef(0, 255, 255));
    EXPECT_EQ(palette[4].color, MakeColorRef(255, 0, 0));
    EXPECT_EQ(palette[5].color, MakeColorRef(255, 0, 255));
    EXPECT_EQ(palette[6].color, MakeColorRef(255, 255, 0));
    EXPECT_EQ(palette[7].color, MakeColorRef(255, 255, 255));
    EXPECT_EQ(palette[8].color, MakeColorRef(0, 0, 191));      // index 9
    EXPECT_EQ(palette[14].color, MakeColorRef(191, 191, 191)); // index 15
    EXPECT_EQ(palette[21].color, MakeColorRef(127, 127, 127)); // index 22
    EXPECT_EQ(palette[22].color, MakeColorRef(0, 0, 63));      // index 23
    EXPECT_EQ(palette[28].color, MakeColorRef(63, 63, 63));    // index 29
    EXPECT_EQ(palette[29].color, 0u);
    EXPECT_EQ(palette[30].color, 0u);
    for (const CDotColor& c : palette) {
        EXPECT_EQ(c.alpha, 1.0f);
        EXPECT_FALSE(c.material);
        EXPECT_EQ(c.color >> 24, 0u);
        EXPECT_EQ(c.diffuse[3], 1.0f);
    }
}

TEST(DotColor, ColorRefByteOrder) {
    EXPECT_EQ(MakeColorRef(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(RedOf(0x563412), 0x12);
    EXPECT_EQ(GreenOf(0x563412), 0x34);
    EXPECT_EQ(BlueOf(0x563412), 0x56);
}

TEST(DotColor, SettersRecomputeMaterialValues) {
    CDotColor c;
    c.SetColor(MakeColorRef(255, 51, 0));
    c.SetAlpha(0.25f);
    EXPECT_FLOAT_EQ(c.diffuse[0], 1.0f);
    EXPECT_FLOAT_EQ(c.diffuse[1], 0.2f);
    EXPECT_FLOAT_EQ(c.diffuse[2], 0.0f);
    EXPECT_EQ(c.diffuse[3], 0.25f);
    EXPECT_FLOAT_EQ(c.ambient[0], 0.3f);
    EXPECT_FLOAT_EQ(c.ambient[1], 0.06f);
    EXPECT_EQ(c.ambient[3], 0.25f);
    EXPECT_EQ(c.specular, (std::array<float, 4>{0.1f, 0.1f, 0.1f, 0.25f}));
    EXPECT_EQ(c.power, 0.5f);
    // Changing the colour keeps the alpha in every derived value.
    c.SetColor(MakeColorRef(0, 0, 255));
    EXPECT_EQ(c.diffuse, (std::array<float, 4>{0.0f, 0.0f, 1.0f, 0.25f}));
    c.SetMaterial(true);
    EXPECT_TRUE(c.material);
    EXPECT_EQ(c.diffuse[3], 0.25f);
}

TEST(DotColor, RecordRoundTripAndOlderVersions) {
    CDotColor c(MakeColorRef(1, 2, 3), 0.5f, true);
    CArchiveWriter w;
    c.Write(w);
    ASSERT_EQ(w.Size(), 9u);
    CArchiveReader r(w.Bytes());
    CDotColor back;
    back.Read(r, 785);
    EXPECT_EQ(back, c);

    // Without the material flag (before 528) the alpha is forced to 1.
    const uint8_t noMaterial[] = {1, 2, 3, 0, 0x00, 0x00, 0x00, 0x3F};
    CArchiveReader r2(noMaterial);
    CDotColor old;
    old.Read(r2, 527); // version 527 has no alpha and no flag: only the colour
    EXPECT_EQ(old.color, MakeColorRef(1, 2, 3));
    EXPECT_EQ(old.alpha, 1.0f);
    EXPECT_EQ(r2.Position(), 4u);

    // A textured entry with a stored alpha still reads as opaque.
    const uint8_t textured[] = {9, 9, 9, 0, 0x00, 0x00, 0x00, 0x3F, 0x00};
    CArchiveReader r3(textured);
    CDotColor t;
    t.Read(r3, 600);
    EXPECT_EQ(t.alpha, 1.0f);
    EXPECT_EQ(t.diffuse[3], 1.0f);
    EXPECT_TRUE(r3.AtEnd());

    // What an older record lacks takes the default, not the entry's old value.
    const CDotColor used(MakeColorRef(7, 7, 7), 0.5f, true);
    CDotColor reused = used;
    CArchiveReader r4(noMaterial);
    reused.Read(r4, 527);
    EXPECT_FALSE(reused.material);
    EXPECT_EQ(reused.alpha, 1.0f);
    const uint8_t noAlpha[] = {4, 5, 6, 0, 0x01};
    reused = used;
    CArchiveReader r5(noAlpha);
    reused.Read(r5, 559);
    EXPECT_TRUE(reused.material);
    EXPECT_EQ(reused.alpha, 1.0f);
    EXPECT_EQ(reused.diffuse[3], 1.0f);
    EXPECT_TRUE(r5.AtEnd());
}
