// Writes a set of documents that exercise the arithmetic of placement and
// model generation, for comparing the output of two builds of kubrell-cli:
//
//     make_samples OUT_FOLDER
//
// Each document starts from the standard skeleton (which carries the leg
// IKs), fills every part with a few boxes of dots and then stresses one
// thing: rest angles on all three axes, nested rates, morphs, extra IK
// chains, rigid bodies with joints, or all of them at once. The values come
// from a fixed-seed generator of our own, so every run and every build writes
// the same documents.

#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "support/TestDocument.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace {

// xorshift32: the same numbers on every platform and standard library.
class CSequence {
public:
    explicit CSequence(uint32_t seed) : state_(seed ? seed : 1) {}

    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // An integer in [lo, hi].
    int Between(int lo, int hi) {
        return lo + static_cast<int>(Next() % static_cast<uint32_t>(hi - lo + 1));
    }
    // A float in [lo, hi) with 2^-16 steps; the steps keep the values exact in
    // the document, the odd ones keep them away from round angles.
    float Real(float lo, float hi) {
        return lo + (hi - lo) * static_cast<float>(Next() >> 16) / 65536.0f;
    }
    bool OneIn(int n) { return Next() % static_cast<uint32_t>(n) == 0; }

private:
    uint32_t state_;
};

void ForEachPart(CPartParent& parent, const std::function<void(CDotPart&)>& visit) {
    for (const auto& child : parent.children) {
        visit(static_cast<CDotPart&>(*child));
        ForEachPart(*child, visit);
    }
}

std::u16string Digit(int n) { return std::u16string(1, static_cast<char16_t>(u'0' + n)); }

CDotPart& Named(CDotDocument& document, const char16_t* name) {
    CPart* part = document.FindPartByName(name);
    if (!part)
        throw std::runtime_error("the standard skeleton lost a part");
    return static_cast<CDotPart&>(*part);
}

// Palette: textured colours and materials, two of them translucent.
void FillPalette(CDotDocument& document, CSequence& random) {
    for (int index = 1; index <= 12; ++index) {
        CDotColor& colour = document.GetColor(index);
        colour.SetColor(
            MakeColorRef(random.Between(0, 255), random.Between(0, 255), random.Between(0, 255)));
        colour.SetMaterial(index % 3 == 0);
        colour.SetAlpha(index == 6 || index == 9 ? random.Real(0.2f, 0.9f) : 1.0f);
    }
}

void FillBoxes(CDotPart& part, CSequence& random, int boxes) {
    for (int b = 0; b < boxes; ++b) {
        const int x0 = random.Between(8, 22), y0 = random.Between(8, 22),
                  z0 = random.Between(8, 22);
        const int x1 = x0 + random.Between(0, 4), y1 = y0 + random.Between(0, 5),
                  z1 = z0 + random.Between(0, 3);
        const int colour = random.Between(1, 12);
        for (int z = z0; z <= z1; ++z)
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x)
                    part.SetDot(x, y, z, colour);
    }
}

// The standard skeleton with dots in every part and joint points spread
// around the grid centre, some on half dots.
void BaseDocument(CDotDocument& document, CSequence& random) {
    document.OnNewDocument();
    document.dotSize = random.Real(0.2f, 0.8f);
    FillPalette(document, random);
    ForEachPart(document, [&](CDotPart& part) {
        FillBoxes(part, random, 2);
        for (int axis = 0; axis < 3; ++axis) {
            part.parentPosition[axis] = 32 + random.Between(-5, 5);
            part.bonePosition[axis] = 32 + random.Between(-9, 9);
        }
    });
}

void Rotate(CDotDocument& document, CSequence& random) {
    const float pi = std::numbers::pi_v<float>;
    ForEachPart(document, [&](CDotPart& part) {
        for (float& angle : part.angle)
            angle = random.Real(-pi, pi);
    });
}

void Rescale(CDotDocument& document, CSequence& random) {
    ForEachPart(document, [&](CDotPart& part) {
        if (!random.OneIn(3))
            part.rate = random.Real(0.3f, 2.7f);
    });
}

// A morph part on the head with a linked part it replaces, one morph part of
// its own on each arm, and a morph with no dots.
void AddMorphs(CDotDocument& document, CSequence& random) {
    CDotPart& head = Named(document, u"頭");
    CDotPart& open = AddPart(document, &head, u"開いた目", BONE_NONE);
    CDotPart& closed = AddPart(document, &head, u"閉じた目", BONE_NONE);
    FillBoxes(open, random, 3);
    FillBoxes(closed, random, 2);
    closed.morph = 1;
    closed.linkedPart = &open;
    closed.linkedPartId = open.id;
    int n = 0;
    for (const char16_t* arm : {u"左腕", u"右腕"}) {
        CDotPart& morph = AddPart(document, &Named(document, arm), u"袖" + Digit(n++), BONE_NONE);
        FillBoxes(morph, random, 2);
        morph.morph = 1;
        morph.angle = {random.Real(-1.0f, 1.0f), random.Real(-1.0f, 1.0f), 0.0f};
    }
    AddPart(document, &head, u"空", BONE_NONE).morph = 1;
}

// IK on both arms besides the legs' own: a range over the elbow and arm, an
// IK parent on the wrist's chain, and the shoulders with a range of one.
void AddIK(CDotDocument& document, CSequence& random) {
    for (const char16_t* wrist : {u"左手首", u"右手首"}) {
        CDotPart& part = Named(document, wrist);
        part.ikName = std::u16string(wrist) + u"ＩＫ";
        part.ikRange = random.Between(1, 3);
        part.ikParent = part.parent;
        part.ikParentId = part.parent->id;
    }
    for (const char16_t* shoulder : {u"左肩", u"右肩"}) {
        CDotPart& part = Named(document, shoulder);
        part.ikName = std::u16string(shoulder) + u"ＩＫ";
        part.ikRange = 1;
    }
}

// Rigid bodies with their own values on about half the parts, joints on the
// parts that can take one, and a chain of jointed tails behind the head.
void AddPhysics(CDotDocument& document, CSequence& random) {
    CDotPart* link = &Named(document, u"頭");
    for (int i = 0; i < 4; ++i) {
        link = &AddPart(document, link, u"尾" + Digit(i), BONE_ROTATE);
        FillBoxes(*link, random, 1);
    }
    ForEachPart(document, [&](CDotPart& part) {
        if (!random.OneIn(2) && part.name.rfind(u"尾", 0) != 0)
            return;
        auto body = std::make_unique<RIGID_BODY_PARAMS>();
        body->mass = random.Real(0.1f, 5.0f);
        body->linearDamping = random.Real(0.0f, 1.0f);
        body->angularDamping = random.Real(0.0f, 1.0f);
        body->restitution = random.Real(0.0f, 1.0f);
        body->friction = random.Real(0.0f, 1.0f);
        part.rigidBody = std::move(body);
        if (!part.CanHaveJoint())
            return;
        auto joint = std::make_unique<JOINT_PARAMS>();
        for (int axis = 0; axis < 3; ++axis) {
            joint->positionMin[axis] = random.Real(-2.0f, 0.0f);
            joint->positionMax[axis] = random.Real(0.0f, 2.0f);
            joint->rotationMin[axis] = random.Real(-1.5f, 0.0f);
            joint->rotationMax[axis] = random.Real(0.0f, 1.5f);
            joint->springPosition[axis] = random.Real(0.0f, 10.0f);
            joint->springRotation[axis] = random.Real(0.0f, 10.0f);
        }
        part.joint = std::move(joint);
    });
}

struct SAMPLE {
    const char* file;
    uint32_t seed;
    std::vector<void (*)(CDotDocument&, CSequence&)> steps;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples OUT_FOLDER\n");
        return 1;
    }
    const std::vector<SAMPLE> samples = {
        {"rotated.kbrl", 11, {Rotate}},
        {"rates.kbrl", 23, {Rescale}},
        {"morphs.kbrl", 37, {AddMorphs, Rotate}},
        {"ik.kbrl", 41, {AddIK, Rescale}},
        {"physics.kbrl", 53, {AddPhysics}},
        {"everything.kbrl", 67, {AddMorphs, AddIK, AddPhysics, Rotate, Rescale}},
    };
    try {
        std::filesystem::create_directories(argv[1]);
        for (const SAMPLE& sample : samples) {
            CSequence random(sample.seed);
            CDotDocument document;
            BaseDocument(document, random);
            for (auto step : sample.steps)
                step(document, random);
            document.UpdateAllPlacements();
            SaveDocumentFile(document, (std::filesystem::path(argv[1]) / sample.file).string());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_samples: %s\n", e.what());
        return 1;
    }
    return 0;
}
