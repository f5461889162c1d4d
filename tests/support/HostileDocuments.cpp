#include "support/HostileDocuments.h"

#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/TextCodec.h"
#include "support/TestDocument.h"

#include <limits>

namespace hostile {

namespace {

std::unique_ptr<CDotDocument> Empty() {
    auto document = std::make_unique<CDotDocument>();
    document->edge = true;
    return document;
}

} // namespace

std::unique_ptr<CDotDocument> Chain(int depth) {
    auto document = Empty();
    CPart* parent = nullptr;
    for (int i = 0; i < depth; ++i)
        parent = &AddPart(*document, parent, u"鎖" + Utf8ToUtf16(std::to_string(i + 1)));
    return document;
}

std::unique_ptr<CDotDocument> HighestId() {
    auto document = Empty();
    document->AddStandardSkeleton();
    auto last = document->CreatePart(65535, u"最後");
    last->SetDot(1, 1, 1, 2);
    AddPart(*document, last.get(), u"最後の子").SetDot(2, 2, 2, 3);
    document->InsertChild(-1, std::move(last));
    return document;
}

std::unique_ptr<CDotDocument> FreedId() {
    auto document = Empty();
    document->AddStandardSkeleton();
    CPart* head = document->FindPartByName(u"頭");
    CPart* arm = document->FindPartByName(u"左腕");
    arm->morph = 1;
    arm->linkedPartId = head->id;
    head->parent->RemoveChild(head->GetIndex());
    return document;
}

std::unique_ptr<CDotDocument> MirrorOffGrid() {
    auto document = Empty();
    CDotPart& body = AddPart(*document, nullptr, u"体");
    body.parentPosition = {0, 32, 32};
    body.SetDot(0, 16, 16, 2);
    CDotPart& arm = AddPart(*document, &body, u"左腕");
    arm.bonePosition = {64, 32, 32};
    arm.SetDot(31, 16, 16, 2);
    return document;
}

std::unique_ptr<CDotDocument> Broken(BROKEN what) {
    constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
    auto document = Empty();
    CDotPart& body = AddPart(*document, nullptr, u"体");
    body.SetDot(0, 0, 0, 2);
    CDotPart& arm = AddPart(*document, &body, u"腕");
    arm.SetDot(0, 0, 0, 2);
    switch (what) {
    case BROKEN::NAN_DOT_SIZE: document->dotSize = NaN; break;
    case BROKEN::INFINITE_DOT_SIZE:
        document->dotSize = std::numeric_limits<float>::infinity();
        break;
    case BROKEN::HUGE_RATES:
        body.rate = 1e30f;
        arm.rate = 1e30f;
        break;
    case BROKEN::NAN_RIGID_BODY:
        arm.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
        arm.rigidBody->mass = NaN;
        break;
    case BROKEN::NAN_JOINT:
        body.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
        arm.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
        arm.joint = std::make_unique<JOINT_PARAMS>();
        arm.joint->springRotation[1] = NaN;
        break;
    case BROKEN::NAN_ANGLE: arm.angle[2] = NaN; break;
    }
    return document;
}

std::unique_ptr<CDotDocument> IkCycle() {
    auto document = Empty();
    CDotPart& ring = AddPart(*document, nullptr, u"輪");
    ring.SetDot(0, 0, 0, 2);
    CDotPart& a = AddPart(*document, &ring, u"甲");
    CDotPart& b = AddPart(*document, &a, u"乙");
    for (CDotPart* part : {&ring, &a, &b})
        part->ikName = part->name + u"IK";
    ring.ikParent = &ring;
    a.ikParent = &b;
    b.ikParent = &a;
    for (CDotPart* part : {&ring, &a, &b})
        part->ikParentId = part->ikParent->id;
    return document;
}

std::unique_ptr<CDotDocument> RepeatedNames() {
    auto document = Empty();
    CPart* parent = nullptr;
    for (int i = 0; i < 3; ++i) {
        CDotPart& part = AddPart(*document, parent, u"腕");
        part.SetDot(i, 0, 0, 2);
        parent = &part;
    }
    AddPart(*document, nullptr, u"腕1");
    return document;
}

std::unique_ptr<CDotDocument> HugeTexture() {
    auto document = Empty();
    for (int i = 0; i < 200; ++i)
        FillBox(AddPart(*document, nullptr, u"塊" + Utf8ToUtf16(std::to_string(i + 1))), 0, 31, 0,
                31, 0, 31, 8);
    return document;
}

std::unique_ptr<CDotDocument> JointWithoutBody() {
    auto document = Empty();
    CDotPart& body = AddPart(*document, nullptr, u"体");
    body.SetDot(0, 0, 0, 2);
    body.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    CDotPart& tail = AddPart(*document, &body, u"尾", BONE_ROTATE);
    tail.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    tail.joint = std::make_unique<JOINT_PARAMS>();
    return document;
}

std::vector<HOSTILE_DOCUMENT> AllHostileDocuments() {
    std::vector<HOSTILE_DOCUMENT> all;
    auto add = [&all](std::string name, const std::unique_ptr<CDotDocument>& document) {
        all.push_back({std::move(name), WriteDocumentFile(*document)});
    };
    add("deep-paste-600.kbrl", Chain(600));
    add("id-65535.kbrl", HighestId());
    add("freed-id.kbrl", FreedId());
    add("mirror-off-grid.kbrl", MirrorOffGrid());
    add("nan-dot-size.kbrl", Broken(BROKEN::NAN_DOT_SIZE));
    add("infinite-dot-size.kbrl", Broken(BROKEN::INFINITE_DOT_SIZE));
    add("rates-1e30.kbrl", Broken(BROKEN::HUGE_RATES));
    add("nan-rigid-body.kbrl", Broken(BROKEN::NAN_RIGID_BODY));
    add("nan-joint.kbrl", Broken(BROKEN::NAN_JOINT));
    add("nan-angle.kbrl", Broken(BROKEN::NAN_ANGLE));
    add("ik-cycle.kbrl", IkCycle());
    add("repeated-names.kbrl", RepeatedNames());
    add("joint-without-body.kbrl", JointWithoutBody());
    add("huge-texture.kbrl", HugeTexture());
    return all;
}

} // namespace hostile
