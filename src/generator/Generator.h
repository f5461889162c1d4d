#pragma once
// Model generation: turns a document into a rigged model with its texture and
// writes both, the model as PMD or as PMX (ModelFormat).
//
// Generate runs the whole build. The stages are public so that tests and
// benchmarks can run and time them one by one, in this order:
//   BuildSurfaces   every part's blocks and merged faces, on worker threads
//   BuildModel      materials, bones, faces with shared vertices, IK, morphs,
//                   rigid bodies and joints; checks the chosen format's limits.
//                   The atlas is laid out first, so the vertices get their
//                   final texture coordinates (unless the image is too tall
//                   to be written, when they stay in atlas cells)
//   EncodeTexture   the atlas image in memory, and the final texture
//                   coordinates if not yet (optional: WriteFiles does what
//                   is left)
//   WriteFiles      the model and its texture, each to a temporary file,
//                   renamed over the old pair only when both are complete;
//                   the texture is encoded (if not yet), then written on a
//                   second thread while the model is written
// A PMD of many faces is written while it is built instead (ModelStream.h):
// BuildModel starts a second thread that encodes and writes the texture,
// writes the vertices as they are made and, once the model is complete, the
// rest of the file; WriteFiles then only commits what it wrote, or writes
// the files itself when the stream did not complete.
// Generate also checks the document's numbers before the first stage and the
// built model before the texture (GeneratorChecks.cpp). Nothing is written
// before every stage but the last has succeeded, and the last changes the old
// pair only once both new files are complete, so any failure leaves every
// file as it was.

#include "generator/Block.h"
#include "generator/CornerLattice.h"
#include "generator/ModelFormat.h"
#include "generator/ModelGeometry.h"
#include "generator/PMDModel.h"
#include "generator/SurfaceBuilder.h"
#include "generator/TextureAtlas.h"
#include "generator/VertexTable.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

struct CDotColor;
class CDotDocument;
class CDotPart;
class CModelStream;
class CPart;
class CStagedFile;

// A document that cannot become a model (other than by the format's limits,
// which raise CModelLimitError): the message names the part and the reason.
class CGeneratorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The one colour object that stands for every dot coloured through the
// texture: white, opaque, not a material.
const CDotColor& SharedTextureColour();

class CGenerator {
public:
    // A generated material: the colour it stands for (a palette entry, or the
    // shared texture colour), the model record it made and where its
    // triangles lie in the model's face list: three indices per triangle, in
    // emission order, from first up to next.
    struct CMaterial {
        const CDotColor* colour;
        CModelMaterial* record;
        size_t faces = 0; // its faces, counted before they are emitted
        size_t first = 0;
        size_t next = 0;
    };

    // What Generate made, for the caller's report.
    struct RESULT {
        size_t vertices = 0;
        size_t triangles = 0;
        size_t materials = 0;
        size_t bones = 0;
        size_t iks = 0;
        size_t morphs = 0;
        size_t rigidBodies = 0;
        size_t joints = 0;
        // The texture image's path; empty when the model has no texture.
        std::string texturePath;
        // What the model leaves out of the document, one sentence each (a
        // joint without its rigid bodies).
        std::vector<std::string> notes;
    };

    // Prepares a generation of document into the model file at path (UTF-8),
    // in the format its extension names (ModelFormatOfPath). The document
    // must stay unchanged until the generator is destroyed.
    CGenerator(CDotDocument& document, std::string path);
    // The same, in the given format whatever the extension.
    CGenerator(CDotDocument& document, std::string path, ModelFormat format);
    ~CGenerator();
    CGenerator(const CGenerator&) = delete;
    CGenerator& operator=(const CGenerator&) = delete;

    // Builds, then writes the model and, when one is needed, its texture.
    // Throws CGeneratorError or CModelLimitError before any file is written,
    // CPngException when the texture cannot be encoded, and CArchiveException
    // when the files cannot be written; the previous model and texture then
    // stay as they were. The document's modelPath is not touched: the caller
    // records the path after success.
    RESULT Generate();

    void BuildSurfaces();
    void BuildModel();
    // Rescales the texture coordinates to the image and encodes the image
    // (nothing without a texture, nothing a second time). Throws CPngException.
    void EncodeTexture();
    // Removes the stale temporaries of the model's folder, rescales the
    // texture coordinates and encodes the texture unless EncodeTexture did,
    // stages the texture (on a second thread) and the model at once, then
    // renames both into place (GeneratorOutput.cpp). Throws CPngException or
    // CArchiveException, the texture's first.
    void WriteFiles();

    const CPMDModel& Model() const { return model; }
    ModelFormat Format() const { return format; }
    const std::vector<std::unique_ptr<CMaterial>>& Materials() const { return materials; }
    const CTextureAtlas& Atlas() const { return atlas; }
    // Whether some palette entry goes through the texture.
    bool HasTexture() const { return textured; }
    const std::string& TexturePath() const { return texturePath; }
    RESULT Summary() const;

private:
    // What the build needs of each part in the list, computed once.
    struct PART_INFO {
        CDotPart* part;
        int parentIndex;   // index in parts, -1 at the top level
        int subtreeEnd;    // the parts after this one's subtree start here
        int ownerIndex;    // the part whose bone moves this part
        bool subtreeEmpty; // no dot in this part or below
        float dotEdge;     // edge length of one of its dots
        VEC3 position;     // joint point in model space, with the model offset
        ROTATION_MATRIX rotation;
        CBlockList blocks; // built by BuildSurfaces (not for hidden parts), visible faces only
        // Its faces by colour key and its texture rows, counted while
        // BuildSurfaces made its blocks (tallied); not for a part whose
        // blocks are a copy of another's.
        FACE_TALLY tally;
        bool tallied = false;
    };

    // Materials and texture (GeneratorMaterials.cpp).
    void CreateMaterials();
    CMaterial& FindMaterial(const CDotColor* colour);
    CTextureAtlas::PLACE PlaceTexture(const PART_INFO& info, const CBlock::CSurface& face);
    void RecordFaceCounts();

    // Bones and faces (Generator.cpp).
    void CollectParts();
    void CreateBones();
    // texturedFaces regions, of textureRows rows in all.
    void PlaceTextures(size_t texturedFaces, size_t textureRows);
    void EmitFaces(int partIndex);
    // The vertex equal to key, made if new. With the lattice, spot is the
    // corner's lattice point and direction its face's; otherwise spot is
    // the key's tag (CVertexTable::Tag).
    uint32_t FindOrAddVertex(const VERTEX_KEY& key, bool lattice, uint32_t spot, int direction);
    void AtVertexLimit();
    int BoneOf(int partIndex) const;

    // IK and morphs (GeneratorRigging.cpp).
    void CreateIKs();
    int RequireBone(const CPart& owner, const CPart& needed);
    void CreateMorphs();

    // Checks (GeneratorChecks.cpp) that Generate makes around the stages, so
    // that no file is written for a document with numbers that are not
    // finite, bones in a circle or a texture too large; each throws
    // CGeneratorError naming the part or record. CheckValues runs first, the
    // others on the built model.
    void CheckValues() const;
    void CheckModelFinite() const;
    void CheckBoneChains() const;
    void CheckTextureSize() const;

    // Texture output and the model stream (GeneratorOutput.cpp).
    void RescaleTextureCoordinates();
    void EncodeImage();
    void StartStream(size_t faces);
    void WaitForStream();
    void AbandonStream();
    bool WriteStreamedFiles();

    // Rigid bodies and joints (GeneratorPhysics.cpp).
    void CreateRigidBodies();
    void CreateBody(int partIndex, int group, bool forced);
    bool IsJointed(int partIndex) const;
    void CreateJoints();

    CDotDocument& document;
    std::string path;
    ModelFormat format;
    std::string texturePath;
    bool textured = false;
    std::vector<uint8_t> textureBytes; // the encoded image
    bool textureEncoded = false;       // textureBytes holds the image
    bool uvRescaled = false;           // texture coordinates fit the image
    // The image height the vertices' texture coordinates are made for; 0
    // when they are made in atlas cells (RescaleTextureCoordinates then
    // rescales them).
    int emissionImageHeight = 0;
    std::vector<std::string> notes; // for RESULT::notes

    std::vector<PART_INFO> parts;
    // What the faces of each palette index point to (BuildSurfaces): the
    // entry when it is a material, else the shared texture colour.
    CBlock::COLOUR_TABLE colourTable{};
    std::vector<std::unique_ptr<CMaterial>> materials;
    // materialOf[i]: the material of palette index i, or of the shared
    // texture colour for i = 0; null when there is none.
    std::array<CMaterial*, 32> materialOf{};
    CPMDModel model;
    CTextureAtlas atlas;
    // The vertices of part i are those from partVertexStart[i] up to
    // partVertexStart[i + 1]: the parts are emitted in list order.
    std::vector<size_t> partVertexStart;
    // The part whose face created model vertex v.
    size_t VertexPart(size_t v) const;
    CVertexTable vertexTable;
    // Vertex sharing by lattice point, for the parts flagged in latticeParts
    // (the others use vertexTable).
    CCornerLattice cornerLattice;
    std::vector<bool> latticeParts;
    // Where each textured face's region is, in the order EmitFaces meets
    // them (row × 32 + column): the atlas is laid out before the faces are
    // emitted, so that the image and its height are known while they are.
    std::vector<uint32_t> texturePlaces;
    size_t nextPlace = 0;
    // The model file written while it is built (PMD only), and the texture
    // staged by the stream's thread; both null when not streaming.
    std::unique_ptr<CModelStream> stream;
    std::unique_ptr<CStagedFile> stagedTexture;
    size_t streamLimit = 0; // vertices the stream may publish (the reserve)
    // Where FindOrAddVertex must stop before appending (AtVertexLimit): the
    // build's cap, or the stream's limit while there is a stream.
    size_t vertexLimit = 0;
    uint32_t collisionGroup = 0;
    int ikGroup = -1;   // index of the "IK" display group
    int boneGroup = -1; // index of the "ボーン" display group
};
