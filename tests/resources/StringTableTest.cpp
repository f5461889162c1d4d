#include "resources/StringIds.h"
#include "resources/StringTable.h"

#include <gtest/gtest.h>

#include <vector>

TEST(StringTable, KnownTexts) {
    EXPECT_EQ(LoadString(129), u"色の編集");
    EXPECT_EQ(LoadString(143), u"部品");
    EXPECT_EQ(LoadString(146), u"%s という部品は既にあります。");
    EXPECT_EQ(LoadString(500), u"センター");
    EXPECT_EQ(LoadString(556), u"左足ＩＫ");
    EXPECT_EQ(LoadString(900), u"元に戻す(&U)\tCtrl+Z");
    EXPECT_EQ(LoadString(901), u"やり直し(&R)\tCtrl+Y");
}

TEST(StringTable, DocumentTypeHasSevenFields) {
    const std::u16string text = LoadString(128);
    std::vector<std::u16string> fields(1);
    for (char16_t c : text) {
        if (c == u'\n')
            fields.emplace_back();
        else
            fields.back().push_back(c);
    }
    ASSERT_EQ(fields.size(), 7u);
    EXPECT_EQ(fields[0], u"Kubrell");
    EXPECT_EQ(fields[1], u"");
    EXPECT_EQ(fields[2], u"無題");
    EXPECT_EQ(fields[4], u".kbrl");
}

TEST(StringTable, UnknownIdsGiveEmptyText) {
    EXPECT_EQ(LoadString(0), u"");
    EXPECT_EQ(LoadString(144), u"");
    EXPECT_EQ(LoadString(4000000000u), u"");
    EXPECT_FALSE(HasString(144));
    EXPECT_TRUE(HasString(159));
}

TEST(StringTable, Formatting) {
    EXPECT_EQ(FormatString(146, {u"頭"}), u"頭 という部品は既にあります。");
    EXPECT_EQ(FormatText(u"%d, %d", {u"3", u"4"}), u"3, 4");
    EXPECT_EQ(FormatText(u"%d x %d", {u"3"}), u"3 x ");
    EXPECT_EQ(FormatText(u"100%% %q %", {}), u"100% %q %");
}

TEST(StringTable, EveryNamedIdHasItsText) {
    // A constant that drifted from the table would load an empty text.
    for (unsigned id : {IDS_DOCUMENT_TYPE, IDS_EDIT_COLOR,   IDS_PENCIL_TOOL,
                        IDS_DELETE,        IDS_LINE_TOOL,    IDS_MOVE,
                        IDS_RATE,          IDS_RECTANGLE,    IDS_FILLED_RECTANGLE,
                        IDS_FILL,          IDS_MOVE_BONE,    IDS_DOT_SIZE,
                        IDS_MODEL_FILTER,  IDS_ROTATE,       IDS_FLIP,
                        IDS_PART,          IDS_RENAME,       IDS_PART_EXISTS,
                        IDS_MATERIAL,      IDS_ALL_MATERIAL, IDS_PHYSICS,
                        IDS_RIGID_BODY,    IDS_NEW_PART,     IDS_BONE_GROUP,
                        IDS_JOINT,         IDS_ALL_TEXTURE,  IDS_EDGE,
                        IDS_LEFT,          IDS_RIGHT,        IDS_EDIT_BONE,
                        IDS_OVERWRITE,     IDS_INVERT_PART,  IDS_DIVIDE,
                        IDS_IK_GROUP,      IDS_CENTER,       IDS_LEFT_ANKLE,
                        IDS_RIGHT_ANKLE,   IDS_UNDO,         IDS_REDO,
                        IDS_CUT,           IDS_PASTE})
        EXPECT_TRUE(HasString(id)) << id;
    EXPECT_EQ(LoadString(IDS_INVERT_PART), u"部品反転");
    EXPECT_EQ(LoadString(IDS_RIGHT_ANKLE), u"右足首");
}
