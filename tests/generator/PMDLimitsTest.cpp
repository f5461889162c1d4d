#include "document/Archive.h"
#include "generator/PMDLimits.h"
#include "generator/PMDModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdlib.h>

namespace {

struct LIMIT_CASE {
    const char* items;
    size_t maximum;
    std::function<void(CPMDModel&, size_t)> grow; // makes the model hold n items
};

std::vector<LIMIT_CASE> LimitCases() {
    return {
        {"vertices", 65535, [](CPMDModel& m, size_t n) { m.vertices.resize(n); }},
        {"bones", 65535,
         [](CPMDModel& m, size_t n) {
             while (static_cast<size_t>(m.BoneCount()) < n)
                 m.AddBone(u"b");
         }},
        {"IK records", 65535, [](CPMDModel& m, size_t n) { m.iks.resize(n); }},
        {"morphs", 255, [](CPMDModel& m, size_t n) { m.morphs.resize(n); }},
        {"bone groups", 255, [](CPMDModel& m, size_t n) { m.boneGroups.resize(n); }},
        {"links", 255,
         [](CPMDModel& m, size_t n) {
             if (m.iks.empty())
                 m.AddIK(0, 0, 0, 1);
             m.iks[0].chain.resize(n);
         }},
        {"iterations", 65535,
         [](CPMDModel& m, size_t n) {
             if (m.iks.empty())
                 m.AddIK(0, 0, 0, 1);
             m.iks[0].iterations = static_cast<int>(n);
         }},
    };
}

} // namespace

TEST(PMDLimits, EachCountIsAcceptedUpToItsFieldWidthAndRefusedBeyond) {
    for (const LIMIT_CASE& c : LimitCases()) {
        SCOPED_TRACE(c.items);
        CPMDModel model;
        c.grow(model, c.maximum);
        EXPECT_NO_THROW(model.CheckLimits());
        c.grow(model, c.maximum + 1);
        try {
            model.CheckLimits();
            ADD_FAILURE() << "no error";
        } catch (const CModelLimitError& e) {
            EXPECT_EQ(e.Items(), c.items);
            EXPECT_EQ(e.Count(), c.maximum + 1);
            EXPECT_EQ(e.Maximum(), c.maximum);
        }
    }
}

TEST(PMDLimits, MessagesNameTheCountTheExcessAndTheLimit) {
    CPMDModel model;
    model.vertices.resize(70000);
    EXPECT_THROW(
        {
            try {
                model.CheckLimits();
            } catch (const CModelLimitError& e) {
                EXPECT_STREQ(e.what(),
                             "the model has 70,000 vertices, 4,465 more than the 65,535 a "
                             "PMD file can hold");
                throw;
            }
        },
        CModelLimitError);

    CPMDModel chained;
    chained.AddBone(u"target");
    chained.AddBone(u"右足ＩＫ");
    chained.AddIK(1, 0, 4, 1).chain.resize(300);
    try {
        chained.CheckLimits();
        ADD_FAILURE() << "no error";
    } catch (const CModelLimitError& e) {
        EXPECT_STREQ(e.what(), "the IK chain of bone \"右足ＩＫ\" has 300 links, 45 more than the "
                               "255 a PMD file can hold");
    }
    EXPECT_EQ(FormatCount(0), "0");
    EXPECT_EQ(FormatCount(999), "999");
    EXPECT_EQ(FormatCount(1000), "1,000");
    EXPECT_EQ(FormatCount(1234567), "1,234,567");
}

TEST(PMDLimits, AModelBeyondALimitWritesNoByteAndKeepsThePreviousFile) {
    std::string pattern = (std::filesystem::temp_directory_path() / "pmd-limits-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    std::filesystem::path folder = pattern;
    std::string path = (folder / "model.pmd").string();

    CPMDModel small;
    small.name = u"small";
    small.WriteFile(path);
    std::vector<uint8_t> previous = ReadFileBytes(path);
    EXPECT_EQ(previous, small.ToBytes());

    CPMDModel large;
    large.vertices.resize(65536);
    CArchiveWriter archive;
    EXPECT_THROW(large.Write(archive), CModelLimitError);
    EXPECT_EQ(archive.Size(), 0u);
    EXPECT_THROW(large.WriteFile(path), CModelLimitError);
    EXPECT_EQ(ReadFileBytes(path), previous);
    // Nothing else was left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);
    std::filesystem::remove_all(folder);
}
