// What CGenerator checks so that it never writes a model that loaders reject:
// numbers that are not finite, bone chains that loop, textures too large for
// the image format.

#include "generator/Generator.h"

#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/TextCodec.h"
#include "generator/ModelStream.h"
#include "generator/NameIds.h"
#include "generator/PngWriter.h"
#include "generator/PMDLimits.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>

namespace {

std::string Quoted(const std::u16string& name) { return "\"" + Utf16ToUtf8(name) + "\""; }

std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

bool Finite(const PMDFloat3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

template <size_t N>
const float* FirstNonFinite(const std::array<float, N>& values) {
    for (const float& v : values)
        if (!std::isfinite(v))
            return &v;
    return nullptr;
}

[[noreturn]] void Refuse(const std::u16string& part, const std::string& what, float value) {
    throw CGeneratorError("part " + Quoted(part) + ": " + what + " is " + Number(value) +
                          ", not a finite number");
}

} // namespace

void CGenerator::CheckValues() const {
    if (!std::isfinite(document.dotSize))
        throw CGeneratorError("the dot size is " + Number(document.dotSize) +
                              ", not a finite number");
    for (const PART_INFO& info : parts) {
        const CDotPart& part = *info.part;
        if (part.boneKind == BONE_HIDDEN)
            continue;
        if (const float* v = FirstNonFinite(part.angle))
            Refuse(part.name, "the angle", *v);
        if (!std::isfinite(part.rate))
            Refuse(part.name, "the rate", part.rate);
        if (part.rigidBody) {
            const RIGID_BODY_PARAMS& b = *part.rigidBody;
            for (float v : {b.mass, b.linearDamping, b.angularDamping, b.restitution, b.friction})
                if (!std::isfinite(v))
                    Refuse(part.name, "a rigid-body value", v);
        }
        if (part.joint) {
            const JOINT_PARAMS& j = *part.joint;
            for (const auto* values : {&j.positionMin, &j.positionMax, &j.rotationMin,
                                       &j.rotationMax, &j.springPosition, &j.springRotation})
                if (const float* v = FirstNonFinite(*values))
                    Refuse(part.name, "a joint value", *v);
        }
    }
    // Then what follows from them: the values themselves are finite, but
    // their products may not be.
    for (const PART_INFO& info : parts) {
        if (info.part->boneKind == BONE_HIDDEN)
            continue;
        if (!std::isfinite(info.dotEdge))
            Refuse(info.part->name, "the dot edge (dot size times the rates down to it)",
                   info.dotEdge);
        for (float v : info.position)
            if (!std::isfinite(v))
                Refuse(info.part->name, "the joint point's place in the model", v);
    }
}

void CGenerator::CheckModelFinite() const {
    // Finite inputs can still overflow (a rate of 1e30 under another): the
    // model itself is checked before it is written.
    // The stream's thread checks the vertices as it writes them.
    const bool streamChecked = stream && stream->WaitVertices() && stream->VerticesFinite();
    for (size_t v = streamChecked || AllFinite(model.vertices) ? model.vertices.size() : 0;
         v < model.vertices.size(); ++v) {
        const CModelVertex& vertex = model.vertices[v];
        if (!Finite(vertex.position) || !Finite(vertex.normal) || !std::isfinite(vertex.uv.x) ||
            !std::isfinite(vertex.uv.y))
            throw CGeneratorError(
                "part " + Quoted(parts[VertexPart(v)].part->name) +
                ": its vertices are not finite numbers (is a rate or the dot size too large?)");
    }
    for (const CModelBone& bone : model.Bones())
        if (!Finite(bone.position))
            throw CGeneratorError("bone " + Quoted(NameText(bone.name)) +
                                  ": its position is not finite");
    for (const CModelMorph& morph : model.morphs)
        for (const CModelMorphVertex& vertex : morph.vertices)
            if (!Finite(vertex.offset))
                throw CGeneratorError("morph " + Quoted(NameText(morph.name)) +
                                      ": an offset is not finite");
    for (const CRigidBody& body : model.rigidBodies)
        if (!Finite(body.size) || !Finite(body.position) || !Finite(body.rotation))
            throw CGeneratorError("rigid body " + Quoted(body.name) + ": its box is not finite");
    for (const CJoint& joint : model.joints)
        if (!Finite(joint.position) || !Finite(joint.rotation))
            throw CGeneratorError("joint " + Quoted(joint.name) + ": its position is not finite");
}

void CGenerator::CheckBoneChains() const {
    // A chain longer than the number of bones has met a bone twice.
    const int count = model.BoneCount();
    for (int start = 0; start < count; ++start) {
        int steps = 0;
        for (int bone = model.Bone(start).parent; bone >= 0 && bone < count;
             bone = model.Bone(bone).parent)
            if (++steps > count)
                throw CGeneratorError(
                    "bone " + Quoted(NameText(model.Bone(start).name)) +
                    ": its parents lead round in a circle (check the IK parents)");
    }
}

void CGenerator::CheckTextureSize() const {
    if (!textured)
        return;
    const int height = atlas.ImageHeight();
    if (height > kPngMaxSide)
        throw CGeneratorError("the texture would be " + FormatCount(CTextureAtlas::IMAGE_WIDTH) +
                              " x " + FormatCount(static_cast<size_t>(height)) +
                              " pixels, more than the " + FormatCount(kPngMaxSide) +
                              " rows a PNG image may have");
}
