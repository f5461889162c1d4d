// The files generation writes must not change by a single byte as the
// generator is made faster: the model and texture of each benchmark document
// and of a set of random documents are compared with digests recorded from
// the generator as it was before any of that work. A digest changes only
// when the output does; when it must change on purpose, the new digest is in
// the failure message.

#include "../bench/BenchDocuments.h"
#include "generator/GeneratorTestUtil.h"

#include "document/PhysicsParams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <random>

namespace {

// FNV-1a, 64 bits: enough to tell any change of output apart.
uint64_t Digest(const std::vector<uint8_t>& bytes, uint64_t h = 0xcbf29ce484222325ull) {
    for (uint8_t b : bytes)
        h = (h ^ b) * 0x100000001b3ull;
    return h;
}

std::string Hex(uint64_t v) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
    return text;
}

// Digest of the model file and (when written) the texture file of document.
std::string GeneratedDigest(CDotDocument& document, const CTempFolder& folder) {
    const std::string pmd = folder.File("model.pmd");
    const CGenerator::RESULT result = CGenerator(document, pmd).Generate();
    std::string digest = Hex(Digest(ReadFileBytes(pmd)));
    if (!result.texturePath.empty())
        digest += " " + Hex(Digest(ReadFileBytes(result.texturePath)));
    std::filesystem::remove(folder.File("model.png"));
    return digest;
}

// A document of a few parts in a small tree, with rates, angles, hidden and
// boneless parts, morphs (some folding a linked part), rigid bodies and
// joints, and dots in material and textured colours at varied density.
void FillRandomly(CDotDocument& document, unsigned seed) {
    std::mt19937 random(seed);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto chance = [&](int percent) { return below(100) < percent; };
    document.dotSize = chance(50) ? 1.0f : 0.3f;
    document.modelOffset = {chance(50) ? 0.0f : 2.5f, 0.0f, chance(80) ? 0.0f : -0.0f, 0};
    for (int i = 1; i <= 8; ++i) {
        document.GetColor(i).SetMaterial(chance(40));
        document.GetColor(i).SetAlpha(chance(70) ? 1.0f : 0.5f);
    }
    std::vector<CDotPart*> made;
    const int count = 1 + below(5);
    for (int n = 0; n < count; ++n) {
        CPart* parent = made.empty() || chance(30)
                            ? nullptr
                            : made[static_cast<size_t>(below(static_cast<int>(made.size())))];
        static constexpr int kinds[] = {BONE_MOVE, BONE_ROTATE, BONE_ROTATE, BONE_NONE,
                                        BONE_HIDDEN};
        CDotPart& part = AddPart(document, parent, u"p" + std::u16string(1, char16_t(u'a' + n)),
                                 kinds[below(5)]);
        part.rate = chance(70) ? 1.0f : 0.5f;
        part.parentPosition = {below(65), below(65), below(65)};
        part.angle = {static_cast<float>(below(7)) * 0.5f, static_cast<float>(below(3)), 0.0f};
        part.morph = chance(20);
        if (part.morph && !made.empty() && chance(50))
            part.linkedPart = made.front();
        if (chance(30))
            part.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
        if (part.rigidBody && parent && chance(50))
            part.joint = std::make_unique<JOINT_PARAMS>();
        const int percent = std::array{5, 20, 50, 90}[static_cast<size_t>(below(4))];
        const int side = 3 + below(12);
        const int colours = 1 + below(4);
        const int at = below(32 - side);
        for (int z = 0; z < side; ++z)
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x)
                    if (chance(percent))
                        part.SetDot(at + x, y, at + z, 1 + below(colours));
        made.push_back(&part);
    }
    document.UpdateAllPlacements();
}

} // namespace

TEST(GeneratedBytes, BenchmarkDocumentsGiveTheRecordedFiles) {
    const std::map<std::string, std::string> recorded = {
        {"Figure", "d0c10efe1259d746 2d5457ac572e9685"},
        {"Solid", "eadd61ff22e58a43 cd1568b23f323f82"},
        {"SolidDots", "087fd155ff6a1096 b665b443f8dbdaf5"},
        {"Random20", "f14ab6125cf7834d 7e070801871b17d3"},
        {"Checker", "33869cd9486d7e36 fae9f9e1cbad8117"},
        {"NearLimit", "31ad39c367954ec2 9dd92e5ab7d7ed86"},
    };
    CTempFolder folder("bytes");
    for (const BENCH_DOCUMENT& entry : BenchDocuments()) {
        auto document = entry.make();
        EXPECT_EQ(GeneratedDigest(*document, folder), recorded.at(entry.name)) << entry.name;
    }
}

TEST(GeneratedBytes, RandomDocumentsGiveTheRecordedFiles) {
    // Sixty documents, one digest over all their files' digests; the first
    // few alone as well, to narrow a failure down.
    CTempFolder folder("bytes");
    std::string all;
    std::vector<std::string> first;
    int written = 0;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        CDotDocument document;
        FillRandomly(document, seed);
        std::string digest;
        try {
            digest = GeneratedDigest(document, folder);
            ++written;
        } catch (const std::exception& e) {
            digest = e.what();
        }
        if (seed <= 4)
            first.push_back(digest);
        all += digest + "\n";
    }
    EXPECT_GT(written, 50);
    EXPECT_EQ(first, (std::vector<std::string>{"4781509eb1a186f6 b21813afd90d5b03",
                                               "ded874a1bb330d85 48b9176ff9c0cd87",
                                               "8fbc6a9a328e73e5 86b206fa03309815",
                                               "b62ca76fb09b562d 70b304f4371570fb"}));
    EXPECT_EQ(Hex(Digest(std::vector<uint8_t>(all.begin(), all.end()))), "671b0da0b71e9eee");
}
