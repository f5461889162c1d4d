// kubrell-cli info IN.kbrl [--json]: what a document holds after loading,
// as a readable tree or as one JSON object.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/CliCommand.h"
#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/TextCodec.h"

namespace {

using Json = nlohmann::ordered_json;

// A float as the JSON number with at most 9 significant digits: the double
// nearest to its %.9g text, which the JSON writer prints in its shortest form.
// NaN and infinities become null.
Json Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return std::strtod(text, nullptr);
}

template <typename Values>
Json Numbers(const Values& values, size_t count) {
    Json array = Json::array();
    for (size_t i = 0; i < count; ++i)
        array.push_back(Number(values[i]));
    return array;
}

Json Integers(const std::array<int, 3>& values) {
    return Json::array({values[0], values[1], values[2]});
}

Json RigidBodyJson(const CDotPart& part) {
    if (!part.rigidBody)
        return nullptr;
    const RIGID_BODY_PARAMS& b = *part.rigidBody;
    const float values[] = {b.mass, b.linearDamping, b.angularDamping, b.restitution, b.friction};
    return Numbers(values, 5);
}

Json JointJson(const CDotPart& part) {
    if (!part.joint)
        return nullptr;
    const JOINT_PARAMS& j = *part.joint;
    Json array = Json::array();
    for (const auto* triple : {&j.positionMin, &j.positionMax, &j.rotationMin, &j.rotationMax,
                               &j.springPosition, &j.springRotation})
        for (float v : *triple)
            array.push_back(Number(v));
    return array;
}

Json PartJson(const CDotPart& part) {
    Json children = Json::array();
    for (const auto& child : part.children)
        children.push_back(PartJson(static_cast<const CDotPart&>(*child)));
    return Json{
        {"name", Utf16ToUtf8(part.name)},
        {"id", part.id},
        {"parentId", part.parentId},
        {"boneKind", part.boneKind},
        {"angle", Numbers(part.angle, 3)},
        {"ikRange", part.ikRange},
        {"ikName", Utf16ToUtf8(part.ikName)},
        {"ikParentId", part.ikParentId},
        {"morph", part.morph},
        {"linkedPartId", part.linkedPartId},
        {"rate", Number(part.rate)},
        {"bonePosition", Integers(part.bonePosition)},
        {"parentPosition", Integers(part.parentPosition)},
        {"rigidBody", RigidBodyJson(part)},
        {"joint", JointJson(part)},
        {"worldPosition", Numbers(part.worldPosition, 3)},
        {"worldRotation", Numbers(part.worldRotation, 4)},
        {"dots", part.CountDots()},
        {"children", std::move(children)},
    };
}

Json DocumentJson(const CDotDocument& document, int version) {
    Json palette = Json::array();
    for (const CDotColor& color : document.colors)
        palette.push_back(
            {{"color", color.color}, {"alpha", Number(color.alpha)}, {"material", color.material}});
    Json parts = Json::array();
    for (const auto& part : document.children)
        parts.push_back(PartJson(static_cast<const CDotPart&>(*part)));
    return Json{
        {"version", version},
        {"dotSize", Number(document.dotSize)},
        {"background", document.background},
        {"modelPath", Utf16ToUtf8(document.modelPath)},
        {"edge", document.edge},
        {"palette", std::move(palette)},
        {"modelOffset", Numbers(document.modelOffset, 3)},
        {"parts", std::move(parts)},
    };
}

const char* BoneKindName(int kind) {
    switch (kind) {
    case BONE_ROTATE: return "rotate";
    case BONE_MOVE: return "move";
    case BONE_NONE: return "no bone";
    case BONE_HIDDEN: return "hidden";
    default: return "?";
    }
}

std::string Triple(const std::array<int, 3>& p) {
    return "(" + std::to_string(p[0]) + ", " + std::to_string(p[1]) + ", " + std::to_string(p[2]) +
           ")";
}

std::string Float(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

// One line per part: indentation by depth, name and id, bone kind, dots,
// joint points, then the rigging settings that differ from the defaults.
void PrintPartLine(const CDotPart& part, int depth) {
    std::string line(static_cast<size_t>(depth) * 2, ' ');
    line += Utf16ToUtf8(part.name) + " [" + std::to_string(part.id) + "] " +
            BoneKindName(part.boneKind);
    line += ", " + std::to_string(part.CountDots()) + " dots";
    line += ", bone " + Triple(part.bonePosition) + ", own " + Triple(part.parentPosition);
    if (part.rate != 1.0f)
        line += ", rate " + Float(part.rate);
    if (!part.ikName.empty())
        line += ", IK " + Utf16ToUtf8(part.ikName) + " range " + std::to_string(part.ikRange);
    if (part.ikParent)
        line += ", IK parent " + Utf16ToUtf8(part.ikParent->name);
    if (part.morph)
        line += ", morph";
    if (part.linkedPart)
        line += ", linked to " + Utf16ToUtf8(part.linkedPart->name);
    if (part.rigidBody)
        line += ", rigid body";
    if (part.joint)
        line += ", joint";
    std::printf("%s\n", line.c_str());
    for (const auto& child : part.children)
        PrintPartLine(static_cast<const CDotPart&>(*child), depth + 1);
}

void PrintText(const std::string& path, const CDotDocument& document, int version) {
    std::printf("%s: version %d, %zu parts\n", path.c_str(), version,
                document.CollectParts().size());
    std::printf("dot size %s, background #%02X%02X%02X, edges %s, model offset (%s, %s, %s)\n",
                Float(document.dotSize).c_str(), RedOf(document.background),
                GreenOf(document.background), BlueOf(document.background),
                document.edge ? "on" : "off", Float(document.modelOffset[0]).c_str(),
                Float(document.modelOffset[1]).c_str(), Float(document.modelOffset[2]).c_str());
    if (!document.modelPath.empty())
        std::printf("model path %s\n", Utf16ToUtf8(document.modelPath).c_str());
    for (const auto& part : document.children)
        PrintPartLine(static_cast<const CDotPart&>(*part), 0);
}

struct INFO_OPTIONS {
    std::string in;
    bool json = false;
};

void AddInfoCommand(CLI::App& app) {
    auto* command = app.add_subcommand("info", "Show what a document holds, after loading");
    auto options = std::make_shared<INFO_OPTIONS>();
    command->add_option("IN", options->in, "The document to read (.kbrl)")->required();
    command->add_flag("--json", options->json, "Print one JSON object instead of the part tree");
    command->callback([options] {
        CDotDocument document;
        const int version = LoadDocumentFile(options->in, document);
        if (options->json)
            std::printf("%s\n", DocumentJson(document, version).dump(2).c_str());
        else
            PrintText(options->in, document, version);
    });
}

const CCliCommandRegistration registration(20, AddInfoCommand);

} // namespace
