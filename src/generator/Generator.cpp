#include "generator/Generator.h"

#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/TextCodec.h"
#include "document/StagedFile.h"
#include "generator/ModelStream.h"
#include "generator/OutputPaths.h"
#include "generator/PMDLimits.h"
#include "generator/PMXWriter.h"
#include "generator/PngWriter.h"
#include "generator/SurfaceBuilder.h"
#include "generator/SurfaceReuse.h"
#include "generator/ThreadAside.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <span>
#include <thread>
#include <unordered_map>

namespace {

// String-table texts the model uses.

// Beyond this many vertices the build stops counting: the model is far over
// the format's limit and going on would only use memory.
constexpr size_t VERTEX_COUNT_CAP = 4 * kPMDMaxVertices;

// How many vertices the build makes before it stops: for PMD far beyond its
// limit (so the limit error can give the count), for PMX what it can hold.
size_t VertexCap(ModelFormat format) {
    return format == ModelFormat::PMX ? kPMXMaxCount : VERTEX_COUNT_CAP;
}

bool HasOwnBone(const CPart& part) {
    return part.boneKind != BONE_HIDDEN && !(part.boneKind == BONE_NONE && part.parent);
}

PMDFloat3 ToFloat3(const VEC3& v) { return {v[0], v[1], v[2]}; }

} // namespace

CGenerator::CGenerator(CDotDocument& document, std::string path)
    : CGenerator(document, path, ModelFormatOfPath(path)) {}

CGenerator::CGenerator(CDotDocument& document, std::string path, ModelFormat format)
    : document(document), path(std::move(path)), format(format) {
    texturePath = TexturePathFor(this->path);
    CollectParts();
}

// The stream's thread uses the model and the texture members: it is stopped
// before any of them goes.
CGenerator::~CGenerator() { AbandonStream(); }

void CGenerator::CollectParts() {
    std::vector<CPart*> list = document.CollectParts();
    std::unordered_map<const CPart*, int> indexOf;
    indexOf.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i)
        indexOf.emplace(list[i], static_cast<int>(i));

    const VEC3 offset{document.modelOffset[0], document.modelOffset[1], document.modelOffset[2]};
    parts.resize(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        PART_INFO& info = parts[i];
        info.part = static_cast<CDotPart*>(list[i]);
        const CPart& part = *info.part;
        info.parentIndex = part.parent ? indexOf.at(part.parent) : -1;
        const CPart* owner = &part;
        if ((part.boneKind == BONE_NONE || part.boneKind == BONE_HIDDEN) && part.parent) {
            owner = part.parent;
            while ((owner->boneKind == BONE_NONE || owner->boneKind == BONE_HIDDEN) &&
                   owner->parent)
                owner = owner->parent;
        }
        info.ownerIndex = indexOf.at(owner);
        info.dotEdge = document.dotSize * part.rate;
        for (const CPart* a = part.parent; a; a = a->parent)
            info.dotEdge *= a->rate;
        const auto& world = info.part->worldPosition;
        info.position = {world[0] + offset[0], world[1] + offset[1], world[2] + offset[2]};
        const auto& q = info.part->worldRotation;
        info.rotation = RotationMatrix(q[0], q[1], q[2], q[3]);
    }
    // Children follow their parent in the list, so a backward pass sees every
    // child before its parent.
    for (size_t i = parts.size(); i-- > 0;) {
        PART_INFO& info = parts[i];
        info.subtreeEnd = static_cast<int>(i) + 1;
        info.subtreeEmpty = !info.part->HasDots();
        for (const auto& child : info.part->children) {
            const PART_INFO& c = parts[static_cast<size_t>(indexOf.at(child.get()))];
            info.subtreeEnd = std::max(info.subtreeEnd, c.subtreeEnd);
            info.subtreeEmpty = info.subtreeEmpty && c.subtreeEmpty;
        }
    }
}

void CGenerator::BuildSurfaces() {
    CBlock::COLOUR_TABLE& colours = colourTable;
    for (int i = 1; i <= PaletteSize; ++i) {
        const CDotColor& entry = document.colors[static_cast<size_t>(i - 1)];
        colours[static_cast<size_t>(i)] = entry.material ? &entry : &SharedTextureColour();
    }
    // The faces are counted as they are made; the texture's rows are those
    // of the key the shared texture colour has (the palette indices it
    // stands for share one).
    const COLOUR_KEYS keys = ColourKeys(colours);
    uint8_t textureKey = 0;
    for (size_t i = 1; i < colours.size() && textureKey == 0; ++i)
        if (colours[i] == &SharedTextureColour())
            textureKey = keys[i];
    std::vector<size_t> shown;
    std::vector<const uint8_t*> grids;
    for (size_t i = 0; i < parts.size(); ++i)
        if (parts[i].part->boneKind != BONE_HIDDEN) {
            shown.push_back(i);
            grids.push_back(parts[i].part->Grid());
        }
    // A part whose grid gives the same blocks as an earlier one's takes a
    // copy of them once the workers are done.
    const std::vector<SURFACE_SOURCE> sources = SurfaceSources(grids, keys);
    std::vector<size_t> work;
    for (size_t k = 0; k < shown.size(); ++k)
        if (sources[k].first == k)
            work.push_back(shown[k]);

    // A pool of workers takes the parts one by one; each touches only the
    // grid and block list of the part it took. This thread is one of them,
    // so a single part starts no thread at all.
    std::atomic<size_t> next{0};
    const size_t workers =
        std::min<size_t>(work.size(), std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::exception_ptr> errors(workers);
    auto run = [&](size_t worker) {
        try {
            for (size_t k = next++; k < work.size(); k = next++) {
                PART_INFO& info = parts[work[k]];
                info.tally = FACE_TALLY{textureKey};
                info.blocks = ::BuildSurfaces(info.part->Grid(), colours, true, &info.tally);
                info.tallied = true;
                if (info.blocks.empty())
                    info.part->ReleaseIfEmpty();
            }
        } catch (...) {
            errors[worker] = std::current_exception();
            next = work.size();
        }
    };
    std::vector<std::thread> threads;
    if (workers > 1)
        threads.reserve(workers - 1);
    try {
        for (size_t w = 1; w < workers; ++w)
            threads.push_back(StartThreadAside([&run, w] { run(w); }));
    } catch (...) {
        next = work.size();
        for (std::thread& t : threads)
            t.join();
        throw;
    }
    if (workers > 0)
        run(0);
    for (std::thread& t : threads)
        t.join();
    for (const std::exception_ptr& error : errors)
        if (error)
            std::rethrow_exception(error);
    for (size_t k = 0; k < shown.size(); ++k)
        if (sources[k].first != k) {
            PART_INFO& info = parts[shown[k]];
            info.blocks =
                CopySurfaces(parts[shown[sources[k].first]].blocks, sources[k], colours, keys);
            MarkBuilt(info.part->Grid());
        }
}

void CGenerator::BuildModel() {
    ikGroup = static_cast<int>(model.boneGroups.size());
    model.AddBoneGroup(LoadString(IDS_IK_GROUP));
    CreateMaterials();
    CreateBones();
    // Mostly four new vertices a visible face: size the lists once.
    size_t faces = 0, texturedFaces = 0, textureRows = 0;
    std::vector<size_t> partFaces(parts.size());
    std::vector<int> bones(parts.size(), -1);
    std::unordered_map<int, int> bonePartCount;
    const CDotColor* const textureColour = &SharedTextureColour();
    const CDotColor* countedColour = nullptr;
    CMaterial* counted = nullptr;
    for (size_t i = 0; i < parts.size(); ++i) {
        const PART_INFO& info = parts[i];
        if (info.part->boneKind == BONE_HIDDEN)
            continue;
        for (size_t key = 1; info.tallied && key < info.tally.faces.size(); ++key) {
            const size_t count = info.tally.faces[key];
            if (count == 0)
                continue;
            const CDotColor* const colour = colourTable[key];
            CMaterial& material = FindMaterial(colour);
            material.faces += count;
            partFaces[i] += count;
            if (colour == textureColour) {
                texturedFaces += count;
                textureRows += info.tally.rows;
                if (material.record->texture.empty())
                    material.record->texture = Utf8ToUtf16(texturePath);
            }
        }
        // A copy of another part's blocks was not counted: its faces are.
        const std::span<const CBlock> uncounted =
            info.tallied ? std::span<const CBlock>() : std::span<const CBlock>(info.blocks);
        for (const CBlock& block : uncounted)
            for (const CBlock::CSurface& face : block.GetAllSurfaces())
                if (!face.hidden) {
                    ++partFaces[i];
                    if (face.colour == textureColour) {
                        ++texturedFaces;
                        textureRows += static_cast<size_t>(CBlock::GetTextureSize(face)[1]);
                    }
                    // Neighbouring faces mostly share a colour. The shared
                    // texture's material names the image once it has a face.
                    if (face.colour != countedColour) {
                        countedColour = face.colour;
                        counted = &FindMaterial(face.colour);
                        if (face.colour == textureColour && counted->record->texture.empty())
                            counted->record->texture = Utf8ToUtf16(texturePath);
                    }
                    counted->faces += 1;
                }
        faces += partFaces[i];
        if (partFaces[i] > 0) {
            bones[i] = BoneOf(static_cast<int>(i));
            ++bonePartCount[bones[i]];
        }
    }
    // Each face adds its two triangles to its material's range of the face
    // list, the materials' ranges one after the other: the list is made
    // once, in place, with no copy.
    size_t faceIndices = 0;
    for (const auto& material : materials) {
        material->first = material->next = faceIndices;
        faceIndices += 6 * material->faces;
    }
    model.faces.resize(faceIndices);
    // A part shares vertices by lattice point when its bone moves no other
    // part's faces and its corners stay apart (CornerLattice.h), and when
    // such parts have faces enough to pay for clearing the lattice.
    latticeParts.assign(parts.size(), false);
    size_t latticeFaces = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (partFaces[i] == 0)
            continue;
        const PART_INFO& info = parts[i];
        latticeParts[i] =
            bonePartCount[bones[i]] == 1 &&
            CornersStayApart(info.dotEdge, info.part->parentPosition, info.rotation, info.position);
        latticeFaces += latticeParts[i] ? partFaces[i] : 0;
    }
    // A face makes six vertices at most: its second triangle's normal can
    // differ from its first's in the last place.
    const size_t latticeVertices = 6 * faces;
    if (latticeFaces < CCornerLattice::MIN_FACES ||
        latticeVertices > CCornerLattice::MAX_CAPACITY) {
        latticeParts.assign(parts.size(), false);
        latticeFaces = 0;
    }
    const size_t tableFaces = faces - latticeFaces;
    const size_t vertexBound = format == ModelFormat::PMX ? VertexCap(format) : kPMDMaxVertices + 1;
    if (tableFaces > 0)
        vertexTable.Reserve(std::min(4 * tableFaces, VertexCap(format)));
    if (tableFaces < faces)
        cornerLattice.Reserve(latticeVertices);
    model.vertices.reserve(std::min(4 * faces, vertexBound));
    PlaceTextures(texturedFaces, textureRows);
    // The atlas is complete, so its image's height is known: the vertices
    // are made with their final texture coordinates, when the image can be
    // written at all. Below that height the rescaling maps distinct
    // coordinates (whole cells and cells less the inset) to distinct ones,
    // so vertices are shared exactly as in cell units.
    emissionImageHeight = textured && atlas.ImageHeight() <= kPngMaxSide ? atlas.ImageHeight() : 0;
    try {
        StartStream(faces);
        vertexLimit = std::min(VertexCap(format), stream ? streamLimit : SIZE_MAX);
        partVertexStart.assign(parts.size() + 1, 0);
        for (size_t i = 0; i < parts.size(); ++i) {
            partVertexStart[i] = model.vertices.size();
            if (parts[i].part->boneKind != BONE_HIDDEN)
                EmitFaces(static_cast<int>(i));
        }
        partVertexStart.back() = model.vertices.size();
        uvRescaled = emissionImageHeight > 0;
        if (stream)
            stream->Close(model.vertices.size());
        // What only the emission needed goes now.
        vertexTable = CVertexTable();
        cornerLattice = CCornerLattice();
        std::vector<uint32_t>().swap(texturePlaces);
        RecordFaceCounts();
        CreateIKs();
        CreateMorphs();
        CreateRigidBodies();
        CreateJoints();
        model.name = Utf8ToUtf16(std::filesystem::path(path).stem().string());
        if (format == ModelFormat::PMX)
            CheckPMXLimits(model);
        else
            model.CheckLimits();
        if (stream)
            stream->Complete();
    } catch (...) {
        AbandonStream();
        throw;
    }
}

// Lays out the texture regions of every textured face, in the order EmitFaces
// meets the faces, which then takes the places in turn: the same atlas as
// placing them while emitting, but complete before the first vertex.
void CGenerator::PlaceTextures(size_t texturedFaces, size_t textureRows) {
    texturePlaces.clear();
    texturePlaces.reserve(texturedFaces);
    // The regions stacked one below the other are as many rows as the atlas
    // can take; past the tallest image that can be written the build is
    // refused, so no more is reserved than that.
    constexpr size_t writableRows = kPngMaxSide / CTextureAtlas::CELL_PIXELS + 1;
    atlas.Reserve(std::min(textureRows, writableRows));
    nextPlace = 0;
    for (const PART_INFO& info : parts) {
        if (info.part->boneKind == BONE_HIDDEN)
            continue;
        for (const CBlock& block : info.blocks)
            for (int direction = 0; direction < CBlock::DIRECTION_COUNT; ++direction)
                for (const CBlock::CSurface& face : block.GetSurfaces(direction))
                    if (!face.hidden && face.colour == &SharedTextureColour()) {
                        const CTextureAtlas::PLACE place = PlaceTexture(info, face);
                        texturePlaces.push_back(static_cast<uint32_t>(place.row) *
                                                    CTextureAtlas::COLUMNS +
                                                static_cast<uint32_t>(place.column));
                    }
    }
}

void CGenerator::CreateBones() {
    boneGroup = static_cast<int>(model.boneGroups.size());
    model.AddBoneGroup(LoadString(IDS_BONE_GROUP));
    std::vector<int> partBone(parts.size(), -1);
    for (size_t i = 0; i < parts.size(); ++i) {
        const PART_INFO& info = parts[i];
        const CDotPart& part = *info.part;
        if (!HasOwnBone(part))
            continue;
        const int index = model.BoneCount();
        CModelBone& bone = model.AddBone(part.name);
        if (info.subtreeEmpty)
            bone.type = CModelBone::TYPE_INVISIBLE;
        else
            bone.type =
                part.boneKind == BONE_MOVE ? CModelBone::TYPE_ROTATE_MOVE : CModelBone::TYPE_ROTATE;
        bone.position = ToFloat3(info.position);
        // The first bone is the model's root and is not listed.
        if (index > 0 && bone.type != CModelBone::TYPE_INVISIBLE)
            model.boneGroups[static_cast<size_t>(boneGroup)].bones.push_back(index);
        partBone[i] = index;
    }
    // Parents and tails, once every part bone exists.
    for (size_t i = 0; i < parts.size(); ++i) {
        if (partBone[i] < 0)
            continue;
        const CDotPart& part = *parts[i].part;
        CModelBone& bone = model.Bone(partBone[i]);
        for (const CPart* a = part.parent; a; a = a->parent)
            if (a->boneKind == BONE_ROTATE || a->boneKind == BONE_MOVE) {
                bone.parent = model.FindBone(a->name);
                break;
            }
        bone.tail = part.children.size() == 1 ? model.FindBone(part.children.front()->name) : 0;
    }
}

size_t CGenerator::VertexPart(size_t v) const {
    // The last part that starts at or before v; parts without vertices
    // start where the next one does.
    const auto after = std::upper_bound(partVertexStart.begin(), partVertexStart.end(), v);
    return static_cast<size_t>(after - partVertexStart.begin()) - 1;
}

int CGenerator::BoneOf(int partIndex) const {
    const PART_INFO& owner =
        parts[static_cast<size_t>(parts[static_cast<size_t>(partIndex)].ownerIndex)];
    return model.FindBone(owner.part->name);
}

// Before a vertex is appended at the build's vertex cap or the stream's
// limit: refuses a model past the cap, and gives up the stream before a
// vertex would move the ones it reads (a model far over the limit, refused
// anyway). Out of line, so that FindOrAddVertex stays small.
void CGenerator::AtVertexLimit() {
    if (model.vertices.size() >= VertexCap(format)) {
        if (format == ModelFormat::PMX)
            throw CModelLimitError("the model", "vertices", model.vertices.size() + 1, kPMXMaxCount,
                                   "PMX");
        throw CGeneratorError("the model has more than " + FormatCount(VERTEX_COUNT_CAP) +
                              " vertices, far more than the " + FormatCount(kPMDMaxVertices) +
                              " a PMD file can hold");
    }
    if (stream && model.vertices.size() == streamLimit) {
        AbandonStream();
        vertexLimit = VertexCap(format);
    }
}

[[gnu::always_inline]] inline uint32_t
CGenerator::FindOrAddVertex(const VERTEX_KEY& key, bool lattice, uint32_t spot, int direction) {
    const auto found = lattice ? cornerLattice.FindOrAdd(spot, direction, key, model.vertices)
                               : vertexTable.FindOrAdd(key, spot, model.vertices);
    if (found.created) {
        // A new vertex's index is the count of those before it.
        if (found.index >= vertexLimit)
            AtVertexLimit();
        model.vertices.emplace_back(ToFloat3(key.position), ToFloat3(key.normal),
                                    PMDFloat2{key.uv[0], key.uv[1]}, key.bone);
        const size_t count = size_t(found.index) + 1;
        if (stream && count % CModelStream::BATCH == 0)
            stream->Publish(count);
    }
    return found.index;
}

void CGenerator::EmitFaces(int partIndex) {
    const PART_INFO& info = parts[static_cast<size_t>(partIndex)];
    const int32_t bone = BoneOf(partIndex);
    const std::array<int, 3> joint = info.part->parentPosition;
    const int height = emissionImageHeight;
    // Faces without a texture sample the image's top-left corner once it is
    // there.
    const CTextureAtlas::UV corner0 =
        height > 0 ? CTextureAtlas::Rescale({0, 0}, height) : CTextureAtlas::UV{0, 0};
    const std::array<CTextureAtlas::UV, 4> untextured{corner0, corner0, corner0, corner0};
    // The part-local coordinate of each plane of the lattice, as
    // CBlock::GetCorners places corners.
    std::array<std::array<float, CCornerLattice::SIDE>, 3> planes;
    for (size_t axis = 0; axis < 3; ++axis)
        for (int dot = 0; dot < CCornerLattice::SIDE; ++dot)
            planes[axis][static_cast<size_t>(dot)] =
                CBlock::CornerCoordinate(dot, joint[axis], info.dotEdge);
    const bool lattice = latticeParts[static_cast<size_t>(partIndex)];
    const CDotColor* const textureColour = &SharedTextureColour();
    if (lattice)
        cornerLattice.StartPart(model.vertices.size());
    const CDotColor* materialColour = nullptr;
    CMaterial* material = nullptr;
    for (const CBlock& block : info.blocks)
        for (int direction = 0; direction < CBlock::DIRECTION_COUNT; ++direction)
            for (const CBlock::CSurface& face : block.GetSurfaces(direction)) {
                if (face.hidden)
                    continue;
                const auto dots = CBlock::GetCornerDots(face);
                const bool isTextured = face.colour == textureColour;
                auto uv = untextured;
                if (isTextured) {
                    const uint32_t at = texturePlaces.at(nextPlace++);
                    const auto [columns, rows] = CBlock::GetTextureSize(face);
                    const CTextureAtlas::PLACE place{static_cast<int>(at % CTextureAtlas::COLUMNS),
                                                     static_cast<int>(at / CTextureAtlas::COLUMNS)};
                    uv = CTextureAtlas::CornerCoordinates(place, columns, rows);
                    if (height > 0)
                        for (CTextureAtlas::UV& c : uv)
                            c = CTextureAtlas::Rescale(c, height);
                }
                VEC3 corner[4];
                for (size_t k = 0; k < 4; ++k) {
                    const auto& d = dots[k];
                    corner[k] = Transform({planes[0][static_cast<size_t>(d[0])],
                                           planes[1][static_cast<size_t>(d[1])],
                                           planes[2][static_cast<size_t>(d[2])]},
                                          info.rotation, info.position);
                }
                // Neighbouring faces mostly share a colour.
                if (face.colour != materialColour) {
                    materialColour = face.colour;
                    material = &FindMaterial(face.colour);
                }
                // Its range was sized for the faces counted, the same ones.
                if (material->next - material->first >= 6 * material->faces)
                    throw std::logic_error("a material has more faces than were counted");
                uint32_t* const indices = model.faces.data() + material->next;
                material->next += 6;
                // The triangles A B C and A C D. A, B and C take the first
                // one's normal, D the second's.
                const VEC3 normals[2] = {TriangleNormal(corner[0], corner[1], corner[2]),
                                         TriangleNormal(corner[0], corner[2], corner[3])};
                VERTEX_KEY keys[4];
                for (size_t k = 0; k < 4; ++k)
                    keys[k] = {corner[k], normals[k == 3 ? 1 : 0], {uv[k].u, uv[k].v}, bone};
                // Where each corner's search starts (its lattice point, or
                // its key's tag): the four searches are started together, so
                // their waits for memory overlap.
                std::array<uint32_t, 4> spots;
                if (lattice) {
                    for (size_t k = 0; k < 4; ++k) {
                        spots[k] = CCornerLattice::Point(dots[k]);
                        cornerLattice.Prefetch(spots[k]);
                    }
                } else {
                    for (size_t k = 0; k < 4; ++k) {
                        spots[k] = CVertexTable::Tag(keys[k]);
                        vertexTable.Prefetch(spots[k]);
                    }
                }
                const uint32_t a = FindOrAddVertex(keys[0], lattice, spots[0], direction);
                const uint32_t b = FindOrAddVertex(keys[1], lattice, spots[1], direction);
                const uint32_t c = FindOrAddVertex(keys[2], lattice, spots[2], direction);
                // A and C again with the second normal: mostly the same
                // normal, and then the vertex the first triangle found. (The
                // vertex found for a key equals it, so comparing the keys
                // answers as comparing that vertex would: the same normal,
                // and no NaN, which equals nothing, in the key's own
                // numbers.)
                const bool sameNormal = normals[0][0] == normals[1][0] &&
                                        normals[0][1] == normals[1][1] &&
                                        normals[0][2] == normals[1][2];
                auto again = [&](size_t k, uint32_t first) {
                    const VERTEX_KEY& own = keys[k];
                    if (sameNormal && own.position[0] == own.position[0] &&
                        own.position[1] == own.position[1] && own.position[2] == own.position[2] &&
                        own.uv[0] == own.uv[0] && own.uv[1] == own.uv[1])
                        return first;
                    VERTEX_KEY key = own;
                    key.normal = normals[1];
                    // A lattice point is the corner's whatever the normal; a
                    // tag is the key's.
                    return FindOrAddVertex(key, lattice,
                                           lattice ? spots[k] : CVertexTable::Tag(key), direction);
                };
                const uint32_t a2 = again(0, a);
                const uint32_t c2 = again(2, c);
                const uint32_t d = FindOrAddVertex(keys[3], lattice, spots[3], direction);
                indices[0] = a;
                indices[1] = b;
                indices[2] = c;
                indices[3] = a2;
                indices[4] = c2;
                indices[5] = d;
            }
}

CGenerator::RESULT CGenerator::Summary() const {
    RESULT result;
    result.vertices = model.vertices.size();
    result.triangles = model.faces.size() / 3;
    result.materials = model.materials.size();
    result.bones = static_cast<size_t>(model.BoneCount());
    result.iks = model.iks.size();
    result.morphs = model.morphs.size();
    result.rigidBodies = model.rigidBodies.size();
    result.joints = model.joints.size();
    if (textured)
        result.texturePath = texturePath;
    result.notes = notes;
    return result;
}

CGenerator::RESULT CGenerator::Generate() {
    CheckValues();
    BuildSurfaces();
    BuildModel();
    try {
        CheckBoneChains();
        CheckModelFinite();
        CheckTextureSize();
    } catch (...) {
        AbandonStream();
        throw;
    }
    WriteFiles();
    return Summary();
}
