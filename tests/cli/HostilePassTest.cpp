// The hostile-document pass: kubrell-cli generate over every file of the fuzz
// corpus and of the hostile documents. Whatever it is given, it either
// refuses (and writes nothing) or writes a model that loaders take: every
// float finite, every bone chain ending at the root, every joint between two
// bodies. And running out of memory is reported with the file's name.

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "document/Archive.h"
#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/TextCodec.h"
#include "support/PMDReader.h"

namespace fs = std::filesystem;

namespace {

bool Finite(const std::array<float, 3>& v) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

// What is wrong with a written model, "" when nothing.
std::string ModelFault(const PMDContents& model) {
    for (const auto& v : model.vertices)
        if (!Finite(v.position) || !Finite(v.normal) || !std::isfinite(v.uv[0]) ||
            !std::isfinite(v.uv[1]))
            return "a vertex is not finite";
    const size_t bones = model.bones.size();
    for (size_t i = 0; i < bones; ++i) {
        if (!Finite(model.bones[i].position))
            return "a bone position is not finite";
        size_t steps = 0;
        for (uint16_t b = model.bones[i].parent; b != 0xFFFF; b = model.bones[b].parent) {
            if (b >= bones)
                return "a bone parent is out of range";
            if (++steps > bones)
                return "a bone chain loops";
        }
    }
    for (const auto& m : model.morphs)
        for (const auto& v : m.vertices)
            if (!Finite(v.offset))
                return "a morph offset is not finite";
    for (const auto& b : model.rigidBodies)
        if (!Finite(b.size) || !Finite(b.position) || !Finite(b.rotation) ||
            !std::isfinite(b.mass) || !std::isfinite(b.linearDamping) ||
            !std::isfinite(b.angularDamping) || !std::isfinite(b.restitution) ||
            !std::isfinite(b.friction))
            return "a rigid body is not finite";
    for (const auto& j : model.joints) {
        if (j.bodyA >= model.rigidBodies.size() || j.bodyB >= model.rigidBodies.size())
            return "a joint names a missing body";
        for (const auto* v : {&j.position, &j.rotation, &j.positionMin, &j.positionMax,
                              &j.rotationMin, &j.rotationMax, &j.springPosition, &j.springRotation})
            if (!Finite(*v))
                return "a joint value is not finite";
    }
    return "";
}

TEST(HostilePass, GenerateNeverWritesABrokenModel) {
    const fs::path out =
        fs::temp_directory_path() / ("kubrell-hostile-pass-" + std::to_string(::getpid()));
    fs::remove_all(out);
    fs::create_directories(out);
    int inputs = 0, written = 0;
    for (const char* folder : {"fuzz", "hostile"}) {
        for (const auto& entry : fs::directory_iterator(fs::path(KUBRELL_TEST_DATA) / folder)) {
            ++inputs;
            const std::string name = entry.path().filename().string();
            const fs::path model = out / (entry.path().stem().string() + ".pmd");
            const std::string command = std::string(KUBRELL_CLI) + " generate --quiet '" +
                                        entry.path().string() + "' '" + model.string() +
                                        "' >/dev/null 2>&1";
            const int raw = std::system(command.c_str());
            ASSERT_TRUE(WIFEXITED(raw)) << name << " crashed";
            const int status = WEXITSTATUS(raw);
            ASSERT_TRUE(status == 0 || status == 1) << name << " exited " << status;
            if (status != 0) {
                EXPECT_FALSE(fs::exists(model)) << name << ": refused, but a model was written";
                continue;
            }
            ++written;
            const PMDContents contents = ReadPMD(ReadFileBytes(model.string()));
            EXPECT_EQ(ModelFault(contents), "") << name;
        }
    }
    fs::remove_all(out);
    EXPECT_GE(inputs, 20);
    EXPECT_GE(written, 5) << "the pass should also see models that were written";
}

TEST(HostilePass, RunningOutOfMemoryNamesTheFile) {
    // 3,000 parts of one dot each: about 96 MiB of grids, more than the
    // command may take under the limit below.
    const fs::path file =
        fs::temp_directory_path() / ("kubrell-oom-" + std::to_string(::getpid()) + ".kbrl");
    {
        CDotDocument document;
        for (int id = 1; id <= 3000; ++id) {
            auto part = document.CreatePart(id, u"p" + Utf8ToUtf16(std::to_string(id)));
            part->SetDot(0, 0, 0, 2);
            document.InsertChild(-1, std::move(part));
        }
        SaveDocumentFile(document, file.string());
    }
    const fs::path err = file.string() + ".err";
    const std::string command = "ulimit -v 60000; " + std::string(KUBRELL_CLI) + " info '" +
                                file.string() + "' >/dev/null 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    const std::vector<uint8_t> message = ReadFileBytes(err.string());
    const std::string text(message.begin(), message.end());
    fs::remove(file);
    fs::remove(err);
    // An i386 build on a machine that starts i386 programs through qemu's
    // user-mode emulator: the limit falls on the emulator, which cannot
    // even start under it, so the command's own handling is never reached.
    if (text.rfind("qemu-", 0) == 0)
        GTEST_SKIP() << "the command runs under an emulator: " << text;
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1) << text;
    EXPECT_NE(text.find(file.string() + ": not enough memory"), std::string::npos) << text;
}

} // namespace
