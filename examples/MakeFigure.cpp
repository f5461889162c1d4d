// Builds the sample figure, a small humanoid on the standard skeleton, and
// saves it as a document:
//
//     make_figure OUT.kbrl
//
// The figure is made only through the core API, so running the program again
// gives the same bytes. It shows what a document can carry: textured colours
// (skin, hair, eyes, mouth, shoes), material colours (shirt, trousers, belt)
// and one translucent material (the glasses), a ponytail with a rigid body and
// a joint, and a blink morph that swaps the open eyes for closed ones.
//
// Everything is laid out in one frame in dots: x to the figure's left, y up,
// z to the back, the soles at y = 0, the arms hanging straight down. Each
// part has its joint point in that frame; the standard skeleton's rest angles
// then turn the arms out from the shoulders. A joint may sit on a half dot.

#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/TextCodec.h"

#include <cstdio>
#include <exception>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Palette indices of the figure's colours.
enum : int {
    SKIN = 1,
    HAIR = 2,
    PUPIL = 3,
    EYE_WHITE = 4,
    SHIRT = 5,    // material
    TROUSERS = 6, // material
    SHOES = 7,
    GLASSES = 8, // translucent material
    MOUTH = 9,
    BELT = 10, // material
};

// A point of the frame in half dots.
struct HALF {
    int x, y, z;
};

// Where a part's joint point lies in the frame, and how its grid maps to it.
class CLayout {
public:
    CLayout(CDotPart& part, HALF joint) : part_(part), joint_(joint) {
        // The joint point sits at the grid's centre, or half a dot past it when
        // it lies on a half dot.
        part.parentPosition = {32 + Odd(joint.x), 32 + Odd(joint.y), 32 + Odd(joint.z)};
    }

    // Attaches child, whose joint point is at childJoint, to this part.
    void Attach(CDotPart& child, HALF childJoint) const {
        const auto& p = part_.parentPosition;
        child.bonePosition = {p[0] + childJoint.x - joint_.x, p[1] + childJoint.y - joint_.y,
                              p[2] + childJoint.z - joint_.z};
    }

    // Fills the dots [x0, x1] × [y0, y1] × [z0, z1] of the frame.
    void Box(int x0, int x1, int y0, int y1, int z0, int z1, int colour) const {
        for (int z = z0; z <= z1; ++z)
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x)
                    part_.SetDot(Grid(x, joint_.x), Grid(y, joint_.y), Grid(z, joint_.z), colour);
    }

    CDotPart& Part() const { return part_; }

private:
    static int Odd(int half) { return ((half % 2) + 2) % 2; }
    static int FloorHalf(int half) { return (half - Odd(half)) / 2; }
    int Grid(int dot, int jointHalf) const {
        const int g = dot + 16 - FloorHalf(jointHalf);
        if (g < 0 || g > 31)
            throw std::logic_error("a dot of part " + Utf16ToUtf8(part_.name) +
                                   " lies outside its grid");
        return g;
    }

    CDotPart& part_;
    HALF joint_;
};

CDotPart& Part(CDotDocument& document, const char16_t* name) {
    CPart* part = document.FindPartByName(name);
    if (!part)
        throw std::logic_error("the standard skeleton has no part " + Utf16ToUtf8(name));
    return static_cast<CDotPart&>(*part);
}

CDotPart& AddChild(CDotDocument& document, CPart& parent, const char16_t* name, int boneKind) {
    auto part = document.CreatePart(document.GetFreeId(), name);
    part->boneKind = boneKind;
    part->parentId = parent.id;
    CDotPart& added = *part;
    parent.InsertChild(-1, std::move(part));
    return added;
}

void SetPalette(CDotDocument& document) {
    struct ENTRY {
        int index;
        uint32_t colour;
        bool material;
        float alpha;
    };
    const ENTRY entries[] = {
        {SKIN, MakeColorRef(250, 214, 180), false, 1.0f},
        {HAIR, MakeColorRef(92, 52, 28), false, 1.0f},
        {PUPIL, MakeColorRef(24, 24, 40), false, 1.0f},
        {EYE_WHITE, MakeColorRef(255, 255, 255), false, 1.0f},
        {SHIRT, MakeColorRef(46, 96, 200), true, 1.0f},
        {TROUSERS, MakeColorRef(52, 54, 66), true, 1.0f},
        {SHOES, MakeColorRef(128, 64, 24), false, 1.0f},
        {GLASSES, MakeColorRef(150, 220, 255), true, 0.5f},
        {MOUTH, MakeColorRef(200, 48, 56), false, 1.0f},
        {BELT, MakeColorRef(230, 196, 40), true, 1.0f},
    };
    for (const ENTRY& e : entries) {
        CDotColor& colour = document.GetColor(e.index);
        colour.SetColor(e.colour);
        colour.SetMaterial(e.material);
        colour.SetAlpha(e.alpha);
    }
}

// One part of a limb: its name, joint point and box of dots.
struct SEGMENT {
    const char16_t* name;
    HALF joint;
    int x0, x1, y0, y1, z0, z1;
    int colour;
};

// Attaches each segment to the one before, the first to parent.
void BuildChain(CDotDocument& document, const CLayout& parent,
                std::initializer_list<SEGMENT> segments) {
    const CLayout* previous = &parent;
    std::vector<CLayout> made;
    made.reserve(segments.size());
    for (const SEGMENT& s : segments) {
        const CLayout& layout = made.emplace_back(Part(document, s.name), s.joint);
        previous->Attach(layout.Part(), s.joint);
        layout.Box(s.x0, s.x1, s.y0, s.y1, s.z0, s.z1, s.colour);
        previous = &layout;
    }
}

// One leg; side is +1 for the left (towards +x), -1 for the right. Legs are
// three dots wide with a gap of two dots between them. The ankle's joint is
// at the sole, so the figure stands on the ground.
void BuildLeg(CDotDocument& document, const CLayout& pelvis, int side, const char16_t* hip,
              const char16_t* knee, const char16_t* ankle) {
    const int x0 = side > 0 ? 1 : -4, x1 = x0 + 2;
    const int centre = side * 5; // half dots: x = ±2.5
    BuildChain(document, pelvis,
               {{hip, {centre, 30, 0}, x0, x1, 9, 14, -1, 1, TROUSERS},
                {knee, {centre, 18, 0}, x0, x1, 2, 8, -1, 1, TROUSERS},
                {ankle, {centre, 0, 0}, x0, x1, 0, 1, -3, 1, SHOES}});
}

// One arm, hanging straight down in the frame; the skeleton's rest angle on
// the upper arm turns it out. The shoulder is a pad above the upper arm.
void BuildArm(CDotDocument& document, const CLayout& torso, int side, const char16_t* shoulder,
              const char16_t* arm, const char16_t* elbow, const char16_t* wrist) {
    const int x0 = side > 0 ? 4 : -6, x1 = x0 + 1;
    const int centre = side * 10; // half dots: x = ±5
    BuildChain(document, torso,
               {{shoulder, {side * 4, 56, 0}, x0, x1, 28, 28, -1, 0, SHIRT},
                {arm, {centre, 56, 0}, x0, x1, 21, 27, -1, 0, SHIRT},
                {elbow, {centre, 42, 0}, x0, x1, 16, 20, -1, 0, SKIN},
                {wrist, {centre, 32, 0}, x0, x1, 12, 15, -1, 1, SKIN}});
}

void BuildHead(CDotDocument& document, CLayout& neck) {
    const HALF headJoint{0, 60, 0};
    CLayout head(Part(document, u"頭"), headJoint);
    neck.Attach(head.Part(), headJoint);
    head.Box(-4, 3, 30, 37, -4, 3, SKIN);
    // Hair: a cap over the top, the back and the sides, a fringe in front.
    head.Box(-5, 4, 38, 38, -5, 4, HAIR);
    head.Box(-5, 4, 31, 37, 4, 4, HAIR);
    head.Box(-5, -5, 33, 37, -5, 3, HAIR);
    head.Box(4, 4, 33, 37, -5, 3, HAIR);
    head.Box(-4, 3, 37, 37, -5, -5, HAIR);
    // Mouth, and glasses in front of the eyes with a dot of air between.
    head.Box(-1, 0, 32, 32, -4, -4, MOUTH);
    head.Box(-3, -2, 34, 35, -7, -7, GLASSES);
    head.Box(1, 2, 34, 35, -7, -7, GLASSES);
    head.Box(-1, 0, 35, 35, -7, -7, GLASSES);
    head.Box(-4, -4, 35, 35, -7, -5, GLASSES);
    head.Box(3, 3, 35, 35, -7, -5, GLASSES);

    // The open eyes and the closed ones sit one dot in front of the face and
    // follow the head's bone. The blink morph shows the closed eyes and folds
    // the open ones into their joint point, inside the head.
    const HALF eyeJoint{0, 68, 0};
    CLayout eyes(AddChild(document, head.Part(), u"目", BONE_NONE), eyeJoint);
    head.Attach(eyes.Part(), eyeJoint);
    eyes.Box(-3, -3, 34, 35, -5, -5, EYE_WHITE);
    eyes.Box(-2, -2, 34, 35, -5, -5, PUPIL);
    eyes.Box(1, 1, 34, 35, -5, -5, PUPIL);
    eyes.Box(2, 2, 34, 35, -5, -5, EYE_WHITE);

    CLayout blink(AddChild(document, head.Part(), u"まばたき", BONE_NONE), eyeJoint);
    head.Attach(blink.Part(), eyeJoint);
    blink.Box(-3, -2, 34, 34, -5, -5, PUPIL);
    blink.Box(1, 2, 34, 34, -5, -5, PUPIL);
    blink.Part().morph = 1;
    blink.Part().linkedPart = &eyes.Part();
    blink.Part().linkedPartId = eyes.Part().id;

    // A ponytail behind the head that swings: a rigid body jointed to the head.
    const HALF tailJoint{0, 72, 10};
    CLayout tail(AddChild(document, head.Part(), u"ポニーテール", BONE_ROTATE), tailJoint);
    head.Attach(tail.Part(), tailJoint);
    tail.Box(-1, 0, 29, 36, 5, 6, HAIR);
    tail.Part().rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    tail.Part().joint = std::make_unique<JOINT_PARAMS>();
}

void BuildFigure(CDotDocument& document) {
    document.OnNewDocument();
    document.dotSize = 0.5f;
    SetPalette(document);

    // The centre is the root at the waist; it holds no dots itself.
    const HALF waist{0, 38, 0};
    CLayout centre(Part(document, u"センター"), waist);

    CLayout torso(Part(document, u"上半身"), waist);
    centre.Attach(torso.Part(), waist);
    torso.Box(-4, 3, 19, 28, -2, 1, SHIRT);

    CLayout pelvis(Part(document, u"下半身"), waist);
    centre.Attach(pelvis.Part(), waist);
    pelvis.Box(-4, 3, 15, 17, -2, 1, TROUSERS);
    pelvis.Box(-4, 3, 18, 18, -2, 1, BELT);

    const HALF neckJoint{0, 58, 0};
    CLayout neck(Part(document, u"首"), neckJoint);
    torso.Attach(neck.Part(), neckJoint);
    neck.Box(-1, 0, 29, 29, -1, 0, SKIN);
    BuildHead(document, neck);

    BuildArm(document, torso, +1, u"左肩", u"左腕", u"左ひじ", u"左手首");
    BuildArm(document, torso, -1, u"右肩", u"右腕", u"右ひじ", u"右手首");
    BuildLeg(document, pelvis, +1, u"左足", u"左ひざ", u"左足首");
    BuildLeg(document, pelvis, -1, u"右足", u"右ひざ", u"右足首");

    document.UpdateAllPlacements();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_figure OUT.kbrl\n");
        return 1;
    }
    try {
        CDotDocument document;
        BuildFigure(document);
        SaveDocumentFile(document, argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_figure: %s\n", e.what());
        return 1;
    }
    return 0;
}
