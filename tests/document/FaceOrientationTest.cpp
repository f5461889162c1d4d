#include "document/FaceOrientation.h"

#include <gtest/gtest.h>

#include "resources/CommandIds.h"

TEST(FaceOrientation, MappingOfEachFace) {
    const int a = 3, b = 5, c = 7;
    EXPECT_EQ(FaceOrientation::Front.ToGrid(a, b, c), (GridCell{a, 31 - b, c}));
    EXPECT_EQ(FaceOrientation::Back.ToGrid(a, b, c), (GridCell{31 - a, 31 - b, 31 - c}));
    EXPECT_EQ(FaceOrientation::Left.ToGrid(a, b, c), (GridCell{c, 31 - b, 31 - a}));
    EXPECT_EQ(FaceOrientation::Right.ToGrid(a, b, c), (GridCell{31 - c, 31 - b, a}));
    EXPECT_EQ(FaceOrientation::Top.ToGrid(a, b, c), (GridCell{a, 31 - c, 31 - b}));
    EXPECT_EQ(FaceOrientation::Bottom.ToGrid(a, b, c), (GridCell{a, c, b}));
}

TEST(FaceOrientation, InverseUndoesTheMapping) {
    for (const FaceOrientation* face : FaceOrientation::All()) {
        SCOPED_TRACE(face->commandId);
        for (int a : {0, 1, 16, 30, 31})
            for (int b : {0, 2, 31})
                for (int c : {0, 9, 31}) {
                    const GridCell cell = face->ToGrid(a, b, c);
                    EXPECT_EQ(face->ToView(cell), (ViewCell{a, b, c}));
                }
    }
}

TEST(FaceOrientation, CommandsSelectFaces) {
    EXPECT_EQ(FaceOrientation::All().size(), 6u);
    EXPECT_EQ(FaceOrientation::FromCommand(ID_VIEW_FRONT), &FaceOrientation::Front);
    EXPECT_EQ(FaceOrientation::FromCommand(ID_VIEW_BACK), &FaceOrientation::Back);
    EXPECT_EQ(FaceOrientation::FromCommand(ID_VIEW_LEFT), &FaceOrientation::Left);
    EXPECT_EQ(FaceOrientation::FromCommand(ID_VIEW_RIGHT), &FaceOrientation::Right);
    EXPECT_EQ(FaceOrientation::FromCommand(ID_VIEW_TOP), &FaceOrientation::Top);
    EXPECT_EQ(FaceOrientation::FromCommand(ID_VIEW_BOTTOM), &FaceOrientation::Bottom);
    EXPECT_EQ(FaceOrientation::FromCommand(ID_VIEW_DEEPER), nullptr);
}
