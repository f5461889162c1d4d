#pragma once
// Everything the model preview shows, computed without a display: a mesh per
// part, which parts are shown and where, the order and outline colour of the
// draws, the bone markers, the box on the edited slice and the camera for
// the shown subject. The view turns the result into GPU buffers and draws;
// it asks OnUpdate what a document change means for it.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "document/UpdateNotice.h"
#include "scene/OrbitCamera.h"
#include "scene/PreviewMesh.h"

class CDotDocument;
class CDotPart;
class CPart;

// A part's mesh and the generation it was built in (it grows with every
// rebuild, so the view knows which GPU copies are stale).
struct PART_RESOURCE {
    CDotPart* part = nullptr;
    PART_MESH mesh;
    uint64_t generation = 0;
};

// A part drawn in the current mode, with the matrix that takes its cells
// (grid units) to model space and whether it is outlined in dark red.
struct SHOWN_PART {
    const PART_RESOURCE* resource = nullptr;
    Matrix4 model;
    bool red = false;
};

// One instanced draw of faces: `count` merged rectangles of open faces in
// one direction (a face bit number) of one colour of one shown part, from
// rectangle `first` of its mesh.
struct FACE_DRAW {
    size_t shown = 0;
    int color = 0;
    int face = 0;
    uint32_t first = 0;
    uint32_t count = 0;
};

// A bone marker: the joint of `part` at `point` (model space of the mode),
// sheet cell (column = bone kind, row 1 for the marked part).
struct BONE_ITEM {
    CPart* part = nullptr;
    Float3 point;
    int column = 0;
    int row = 0;
};

class CPreviewScene {
public:
    // What a change asks of the view (bits).
    enum : unsigned {
        UPDATE_NONE = 0,
        UPDATE_GEOMETRY = 1,   // meshes or the shown parts changed: upload and redraw
        UPDATE_MARKERS = 2,    // marker list changed: re-project and redraw
        UPDATE_SLICE_BOX = 4,  // slice box changed
        UPDATE_BACKGROUND = 8, // clear colour changed
        UPDATE_CAMERA = 16,    // the camera was switched
        UPDATE_WAIT = 32,      // a rebuild that may take a moment
    };

    CPreviewScene(CDotDocument& document, COrbitCamera& camera);
    ~CPreviewScene();

    // Whether a hint rebuilds meshes or the model (the view shows the wait
    // cursor meanwhile).
    static bool RebuildsModel(UpdateHint hint);

    // A new or opened document: whole-model mode, cameras forgotten,
    // everything rebuilt.
    unsigned InitialUpdate();
    // One update notice. A change of the current part is noticed whatever
    // the hint, since adding, dividing and deleting parts change it without
    // a hint of their own.
    unsigned OnUpdate(const CUpdateNotice& notice);
    // Whole-model (true) or part mode; nothing happens when it is the mode
    // already.
    unsigned SetWholeModel(bool whole);
    bool IsWholeModel() const { return whole_; }

    const std::vector<std::unique_ptr<PART_RESOURCE>>& Resources() const { return resources_; }
    const std::vector<SHOWN_PART>& Shown() const { return shown_; }
    const std::vector<FACE_DRAW>& FaceDraws() const { return faceDraws_; }
    // Outlines: every shown part with black outlines first, red ones last.
    const std::vector<size_t>& EdgeOrder() const { return edgeOrder_; }
    uint32_t TotalDots() const { return totalDots_; }
    uint32_t RedDots() const { return redDots_; }
    const ColorOrder& Colors() const { return colorOrder_; }
    // The marker items in drawing order: the marked part's last.
    const std::vector<BONE_ITEM>& BoneItems() const { return boneItems_; }
    const std::optional<std::array<Float3, 8>>& SliceBox() const { return sliceBox_; }
    // The clear colour from the document's background (RGBA, 0–1).
    std::array<float, 4> Background() const;

    // The edge of one dot of part: the document's dot size times the rates
    // of part and all its ancestors.
    float DotEdge(const CPart& part) const;
    // Rebuilds the mesh of one part (a dot edit).
    void RebuildPart(CDotPart& part);

private:
    void SyncResources();
    void RebuildSubtree(CPart& part);
    void UpdateColorOrder();
    void BuildModel();
    void BuildMarks();
    void BuildSliceBox();
    void SelectCamera();
    unsigned CurrentPartChanged();
    PART_RESOURCE* Find(const CPart* part);

    CDotDocument& document_;
    COrbitCamera& camera_;
    CCameraMemory cameras_;
    bool whole_ = true;
    const CPart* lastCurrent_ = nullptr;
    uint64_t generation_ = 0;
    OpaqueTable opaque_{};
    ColorOrder colorOrder_{};
    std::vector<std::unique_ptr<PART_RESOURCE>> resources_;
    std::vector<SHOWN_PART> shown_;
    std::vector<FACE_DRAW> faceDraws_;
    std::vector<size_t> edgeOrder_;
    uint32_t totalDots_ = 0;
    uint32_t redDots_ = 0;
    std::vector<BONE_ITEM> baseItems_; // in part order, before the marks
    std::vector<BONE_ITEM> boneItems_;
    std::optional<std::array<Float3, 8>> sliceBox_;
};
