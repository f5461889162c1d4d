#include "support/PMDReader.h"

#include "document/Archive.h"
#include "document/TextCodec.h"

namespace {

std::string ReadField(CArchiveReader& in, size_t width) {
    auto span = in.ReadSpan(width);
    return std::string(span.begin(), span.end());
}

PMDContents::Float3 ReadFloat3(CArchiveReader& in) {
    PMDContents::Float3 v;
    for (float& f : v)
        f = in.ReadF32();
    return v;
}

// Reads count records of at least minSize bytes each, checking first that
// the data can hold them, so a corrupt count never makes a huge allocation.
template <typename T, typename ReadOne>
std::vector<T> ReadRecords(CArchiveReader& in, size_t count, size_t minSize, ReadOne readOne) {
    in.Require(count * minSize, "records");
    std::vector<T> records;
    records.reserve(count);
    for (size_t i = 0; i < count; ++i)
        records.push_back(readOne());
    return records;
}

PMDContents::VERTEX ReadVertex(CArchiveReader& in) {
    PMDContents::VERTEX v;
    v.position = ReadFloat3(in);
    v.normal = ReadFloat3(in);
    v.uv[0] = in.ReadF32();
    v.uv[1] = in.ReadF32();
    v.bone0 = in.ReadU16();
    v.bone1 = in.ReadU16();
    v.weight = in.ReadU8();
    v.edge = in.ReadU8();
    return v;
}

PMDContents::MATERIAL ReadMaterial(CArchiveReader& in) {
    PMDContents::MATERIAL m;
    for (float& f : m.diffuse)
        f = in.ReadF32();
    m.power = in.ReadF32();
    m.specular = ReadFloat3(in);
    m.ambient = ReadFloat3(in);
    m.toonIndex = in.ReadU8();
    m.edge = in.ReadU8();
    m.faceVertexCount = in.ReadU32();
    m.texture = ReadField(in, 20);
    return m;
}

PMDContents::BONE ReadBone(CArchiveReader& in) {
    PMDContents::BONE b;
    b.name = ReadField(in, 20);
    b.parent = in.ReadU16();
    b.tail = in.ReadU16();
    b.type = in.ReadU8();
    b.ikBone = in.ReadU16();
    b.position = ReadFloat3(in);
    return b;
}

PMDContents::IK ReadIK(CArchiveReader& in) {
    PMDContents::IK ik;
    ik.ikBone = in.ReadU16();
    ik.target = in.ReadU16();
    size_t length = in.ReadU8();
    ik.iterations = in.ReadU16();
    ik.weight = in.ReadF32();
    ik.chain = ReadRecords<uint16_t>(in, length, 2, [&] { return in.ReadU16(); });
    return ik;
}

PMDContents::MORPH ReadMorph(CArchiveReader& in) {
    PMDContents::MORPH m;
    m.name = ReadField(in, 20);
    size_t count = in.ReadU32();
    m.type = in.ReadU8();
    m.vertices = ReadRecords<PMDContents::MORPH_VERTEX>(in, count, 16, [&] {
        PMDContents::MORPH_VERTEX v;
        v.vertex = in.ReadU32();
        v.offset = ReadFloat3(in);
        return v;
    });
    return m;
}

PMDContents::RIGID_BODY ReadRigidBody(CArchiveReader& in) {
    PMDContents::RIGID_BODY b;
    b.name = ReadField(in, 20);
    b.bone = in.ReadU16();
    b.group = in.ReadU8();
    b.mask = in.ReadU16();
    b.shape = in.ReadU8();
    b.size = ReadFloat3(in);
    b.position = ReadFloat3(in);
    b.rotation = ReadFloat3(in);
    b.mass = in.ReadF32();
    b.linearDamping = in.ReadF32();
    b.angularDamping = in.ReadF32();
    b.restitution = in.ReadF32();
    b.friction = in.ReadF32();
    b.mode = in.ReadU8();
    return b;
}

PMDContents::JOINT ReadJoint(CArchiveReader& in) {
    PMDContents::JOINT j;
    j.name = ReadField(in, 20);
    j.bodyA = in.ReadU32();
    j.bodyB = in.ReadU32();
    for (auto* v : {&j.position, &j.rotation, &j.positionMin, &j.positionMax, &j.rotationMin,
                    &j.rotationMax, &j.springPosition, &j.springRotation})
        *v = ReadFloat3(in);
    return j;
}

} // namespace

PMDContents ReadPMD(std::span<const uint8_t> bytes) {
    CArchiveReader in(bytes);
    PMDContents file;
    if (ReadField(in, 3) != "Pmd")
        throw CArchiveException("not a PMD file: it does not start with \"Pmd\"");
    file.version = in.ReadF32();
    file.name = ReadField(in, 20);
    file.comment = ReadField(in, 256);

    file.vertices =
        ReadRecords<PMDContents::VERTEX>(in, in.ReadU32(), 38, [&] { return ReadVertex(in); });
    file.faces = ReadRecords<uint16_t>(in, in.ReadU32(), 2, [&] { return in.ReadU16(); });
    file.materials =
        ReadRecords<PMDContents::MATERIAL>(in, in.ReadU32(), 70, [&] { return ReadMaterial(in); });
    file.bones = ReadRecords<PMDContents::BONE>(in, in.ReadU16(), 39, [&] { return ReadBone(in); });
    file.iks = ReadRecords<PMDContents::IK>(in, in.ReadU16(), 11, [&] { return ReadIK(in); });
    file.morphs =
        ReadRecords<PMDContents::MORPH>(in, in.ReadU16(), 25, [&] { return ReadMorph(in); });
    file.morphDisplay = ReadRecords<uint16_t>(in, in.ReadU8(), 2, [&] { return in.ReadU16(); });
    file.groupNames =
        ReadRecords<std::string>(in, in.ReadU8(), 50, [&] { return ReadField(in, 50); });
    file.groupEntries = ReadRecords<PMDContents::GROUP_ENTRY>(in, in.ReadU32(), 3, [&] {
        PMDContents::GROUP_ENTRY e;
        e.bone = in.ReadU16();
        e.group = in.ReadU8();
        return e;
    });
    file.englishFlag = in.ReadU8();
    if (file.englishFlag != 0)
        throw CArchiveException("the English block is not supported by this reader");
    for (std::string& toon : file.toonTextures)
        toon = ReadField(in, 100);
    file.rigidBodies = ReadRecords<PMDContents::RIGID_BODY>(in, in.ReadU32(), 83,
                                                            [&] { return ReadRigidBody(in); });
    file.joints =
        ReadRecords<PMDContents::JOINT>(in, in.ReadU32(), 124, [&] { return ReadJoint(in); });
    if (!in.AtEnd())
        throw CArchiveException(std::to_string(in.Remaining()) +
                                " bytes left over after the last section");
    return file;
}

std::u16string PMDText(std::string_view field) {
    return Cp932ToUtf16(field.substr(0, field.find('\0')));
}
