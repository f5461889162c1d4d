// kubrell-cli as a user runs it: new, info (text and JSON) and convert on
// files made here, and the failures the contract promises.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/DocumentBytes.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

struct RESULT {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("kubrell-cli-test-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    RESULT Run(const std::string& arguments) {
        const fs::path out = folder / "stdout.txt";
        const fs::path err = folder / "stderr.txt";
        const std::string command =
            std::string(KUBRELL_CLI) + " " + arguments + " >" + out.string() + " 2>" + err.string();
        const int raw = std::system(command.c_str());
        RESULT result;
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = Slurp(out);
        result.err = Slurp(err);
        return result;
    }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    json Info(const std::string& path) {
        RESULT result = Run("info " + path + " --json");
        EXPECT_EQ(0, result.status) << result.err;
        EXPECT_EQ("", result.err);
        return json::parse(result.out);
    }

    // The parts of the tree in pre-order.
    static void Flatten(const json& parts, std::vector<json>& list) {
        for (const json& part : parts) {
            list.push_back(part);
            Flatten(part["children"], list);
        }
    }
    static json FindPart(const json& info, const std::string& name) {
        std::vector<json> list;
        Flatten(info["parts"], list);
        for (const json& part : list)
            if (part["name"] == name)
                return part;
        ADD_FAILURE() << "no part " << name;
        return json::object();
    }

    fs::path folder;
};

} // namespace

TEST_F(CliTest, NewDocumentAsJson) {
    const std::string path = (folder / "new.kbrl").string();
    RESULT made = Run("new " + path);
    ASSERT_EQ(0, made.status) << made.err;
    EXPECT_EQ("", made.out + made.err);

    const json info = Info(path);
    EXPECT_EQ(785, info["version"]);
    EXPECT_EQ(0.5, info["dotSize"]);
    EXPECT_EQ(0xFFFFFF, info["background"]);
    EXPECT_EQ("", info["modelPath"]);
    EXPECT_EQ(true, info["edge"]);
    ASSERT_EQ(31u, info["palette"].size());
    EXPECT_EQ((json{{"color", 0xFFFFFF}, {"alpha", 1.0}, {"material", false}}), info["palette"][7]);
    EXPECT_EQ((json{0.0, 0.0, 0.0}), info["modelOffset"]);

    std::vector<json> parts;
    Flatten(info["parts"], parts);
    ASSERT_EQ(19u, parts.size());
    const json& center = info["parts"][0];
    EXPECT_EQ("センター", center["name"]);
    EXPECT_EQ(1, center["id"]);
    EXPECT_EQ(1, center["boneKind"]);
    EXPECT_EQ("上半身", center["children"][0]["name"]);
    EXPECT_EQ("下半身", center["children"][1]["name"]);
    const std::vector<std::string> keys = {
        "name",           "id",           "parentId", "boneKind",
        "angle",          "ikRange",      "ikName",   "ikParentId",
        "morph",          "linkedPartId", "rate",     "bonePosition",
        "parentPosition", "rigidBody",    "joint",    "worldPosition",
        "worldRotation",  "dots",         "children"};
    const auto ordered = nlohmann::ordered_json::parse(Run("info " + path + " --json").out);
    std::vector<std::string> order;
    for (const auto& item : ordered["parts"][0].items())
        order.push_back(item.key());
    EXPECT_EQ(keys, order);
    const json arm = FindPart(info, "左腕");
    EXPECT_EQ(7, arm["id"]);
    EXPECT_EQ(6, arm["parentId"]);
    EXPECT_EQ(1.02274227, arm["angle"][2].get<double>()); // 9 significant digits
    EXPECT_EQ(4u, arm["worldRotation"].size());
    EXPECT_TRUE(arm["rigidBody"].is_null());
    EXPECT_TRUE(arm["joint"].is_null());
    EXPECT_EQ(0, arm["dots"]);
    EXPECT_EQ("左足ＩＫ", FindPart(info, "左足首")["ikName"]);
}

TEST_F(CliTest, TreeFileAsJson) {
    test::TREE_PART root;
    root.name = u"センター";
    root.flags = 0x20 | 0x04 | 0x40 | 1; // dots, rigid body values, default joint
    root.dotValue = 9;
    root.rigidBody = {2.0f, 0.1f, 0.5f, 0.0f, 0.5f};
    root.linkedPartId = 2;
    test::TREE_PART child;
    child.name = u"下";
    child.id = 2;
    child.parentId = 1;
    child.bone = {32, 12, 32};
    child.ikParentId = 1;
    child.flags = 0x80;
    root.children = {child};
    test::SETTINGS_BYTES settings;
    settings.dotSize = 0.5f;
    const json info = Info(Write("tree.kbrl", test::TreeFile(785, {root}, false, settings)));

    EXPECT_EQ(false, info["edge"]);
    EXPECT_EQ(0x123456, info["background"]);
    EXPECT_EQ("C:\\モデル\\a.pmd", info["modelPath"]);
    EXPECT_EQ((json{{"color", test::PaletteColor(1)}, {"alpha", 0.25}, {"material", true}}),
              info["palette"][0]);
    EXPECT_EQ(1.0, info["palette"][1]["alpha"]);
    EXPECT_EQ((json{0.0, 5.0, 0.0}), info["modelOffset"]);
    const json& r = info["parts"][0];
    EXPECT_EQ(32768, r["dots"]);
    EXPECT_EQ((json{2.0, 0.100000001, 0.5, 0.0, 0.5}), r["rigidBody"]);
    ASSERT_EQ(18u, r["joint"].size());
    EXPECT_EQ(0.157079637, r["joint"][9]);
    EXPECT_EQ(2, r["linkedPartId"]);
    const json& c = r["children"][0];
    EXPECT_EQ((json{0.0, -5.0, 0.0}), c["worldPosition"]);
    EXPECT_EQ((json{0.0, 0.0, 0.0, 1.0}), c["worldRotation"]);
    EXPECT_EQ(1, c["ikParentId"]);
    EXPECT_EQ(1, c["parentId"]);
}

TEST_F(CliTest, OldLayoutsAsJsonAndConverted) {
    // Version 543: whole-dot joint points, a split-off grid, a grid of its own.
    const std::vector<test::BONE_BYTES> bones = {{u"a", 1, 0, 1}, {u"b", 2, 1, 0}};
    const std::vector<test::GRID_BYTES> grids = {
        {u"ga", 3, {{1, {10, 4, 16}}, {2, {1, 2, 3}}}},
        {u"more", 4, {{1, {5, 5, 5}}}},
        {u"loose", 5, {}},
    };
    const std::string flat = Write("flat.kbrl", test::FlatFile(543, bones, grids));
    const json info = Info(flat);
    EXPECT_EQ(543, info["version"]);
    EXPECT_EQ((json{10, 10, 10}), FindPart(info, "more")["parentPosition"]);
    EXPECT_EQ((json{10, 10, 10}), FindPart(info, "more")["bonePosition"]);
    EXPECT_EQ(3, FindPart(info, "more")["id"]); // the smallest free id
    EXPECT_EQ(1, FindPart(info, "more")["parentId"]);
    EXPECT_EQ((json{20, 8, 32}), FindPart(info, "a")["parentPosition"]);
    EXPECT_EQ((json{2, 4, 6}), FindPart(info, "b")["bonePosition"]);
    EXPECT_EQ(3, FindPart(info, "loose")["boneKind"]);
    EXPECT_EQ(1, FindPart(info, "loose")["dots"]);

    const std::string converted = (folder / "converted.kbrl").string();
    RESULT result = Run("convert " + flat + " " + converted);
    ASSERT_EQ(0, result.status) << result.err;
    json again = Info(converted);
    EXPECT_EQ(785, again["version"]);
    again["version"] = 543;
    EXPECT_EQ(info, again);

    // The legacy layout: one part holding every dot whose index is not a
    // multiple of 7.
    const json legacy = Info(Write("legacy.kbrl", test::LegacyFile(100, {1, 2, 3})));
    ASSERT_EQ(1u, legacy["parts"].size());
    EXPECT_EQ("センター", legacy["parts"][0]["name"]);
    EXPECT_EQ(32768 - 4682, legacy["parts"][0]["dots"]);
    EXPECT_EQ((json{2, 4, 6}), legacy["parts"][0]["parentPosition"]);
    EXPECT_EQ(0.75, legacy["dotSize"]);
}

TEST_F(CliTest, TextInfoIsAnIndentedTree) {
    const std::string path = (folder / "new.kbrl").string();
    ASSERT_EQ(0, Run("new " + path).status);
    RESULT result = Run("info " + path);
    ASSERT_EQ(0, result.status);
    EXPECT_NE(std::string::npos, result.out.find("version 785, 19 parts"));
    EXPECT_NE(
        std::string::npos,
        result.out.find("\nセンター [1] move, 0 dots, bone (32, 32, 32), own (32, 32, 32)\n"));
    EXPECT_NE(std::string::npos, result.out.find("\n  上半身 [2] rotate"));
    EXPECT_NE(std::string::npos,
              result.out.find("\n        左足首 [12] rotate, 0 dots, bone (32, 32, 32), "
                              "own (32, 32, 32), IK 左足ＩＫ range 2\n"));
}

TEST_F(CliTest, FailuresExitWithOneLineAndLeaveNoFile) {
    const std::string missing = (folder / "missing.kbrl").string();
    RESULT result = Run("info " + missing);
    EXPECT_EQ(1, result.status);
    EXPECT_EQ("", result.out);
    EXPECT_NE(std::string::npos, result.err.find(missing));
    EXPECT_EQ(1, std::count(result.err.begin(), result.err.end(), '\n'));

    std::vector<uint8_t> bytes = test::TreeFile(785, {test::TREE_PART{}});
    bytes.resize(bytes.size() - 3);
    const std::string broken = Write("broken.kbrl", bytes);
    const std::string out = (folder / "out.kbrl").string();
    result = Run("convert " + broken + " " + out);
    EXPECT_EQ(1, result.status);
    EXPECT_NE(std::string::npos, result.err.find(broken));
    EXPECT_EQ(1, std::count(result.err.begin(), result.err.end(), '\n'));
    EXPECT_FALSE(fs::exists(out));

    result = Run("new " + (folder / "no-folder" / "x.kbrl").string());
    EXPECT_EQ(1, result.status);
    EXPECT_NE(std::string::npos, result.err.find("x.kbrl"));

    // An existing file stays whole when a conversion onto it fails.
    const std::string keep = (folder / "keep.kbrl").string();
    ASSERT_EQ(0, Run("new " + keep).status);
    const std::string before = Slurp(keep);
    EXPECT_EQ(1, Run("convert " + broken + " " + keep).status);
    EXPECT_EQ(before, Slurp(keep));
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    EXPECT_EQ((std::set<std::string>{"broken.kbrl", "keep.kbrl", "stderr.txt", "stdout.txt"}),
              names);

    // Output that cannot be written is a failure too.
    if (fs::exists("/dev/full")) {
        const std::string command = std::string(KUBRELL_CLI) + " info " + keep +
                                    " --json >/dev/full 2>" + (folder / "stderr.txt").string();
        const int raw = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 1);
        EXPECT_NE(std::string::npos, Slurp(folder / "stderr.txt").find("standard output"));
    }

    EXPECT_EQ(1, Run("").status);
    EXPECT_EQ(1, Run("info").status);
    EXPECT_EQ(1, Run("frobnicate x").status);
}

TEST_F(CliTest, HelpAndVersion) {
    RESULT help = Run("--help");
    EXPECT_EQ(0, help.status);
    for (const char* command : {"new", "info", "convert"})
        EXPECT_NE(std::string::npos, help.out.find(command)) << command;
    RESULT version = Run("--version");
    EXPECT_EQ(0, version.status);
    EXPECT_NE(std::string::npos, version.out.find("kubrell-cli"));
    EXPECT_EQ(0, Run("info --help").status);
}
