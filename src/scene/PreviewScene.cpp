#include "scene/PreviewScene.h"

#include <algorithm>
#include <unordered_map>

#include "document/DotDocument.h"
#include "document/DotPart.h"

namespace {

Float3 ToFloat3(const std::array<float, 4>& v) { return {v[0], v[1], v[2]}; }
Quaternion ToQuaternion(const std::array<float, 4>& q) { return {q[0], q[1], q[2], q[3]}; }

// Scale to the dot edge g and move the joint point p (half dots) to the
// origin: a cell corner c lands at c · g − p · g / 2.
Matrix4 PartFrame(const CDotPart& part, float g) {
    const auto& p = part.parentPosition;
    const Float3 joint{static_cast<float>(p[0]), static_cast<float>(p[1]),
                       static_cast<float>(p[2])};
    return Matrix4::Scaling(g) * Matrix4::Translation(joint * (-g * 0.5f));
}

// Rotation by the part's worldRotation, then translation to its place in the
// model (worldPosition + modelOffset).
Matrix4 PartPlacement(const CDotPart& part, const CDotDocument& document) {
    return Matrix4::Rotation(ToQuaternion(part.worldRotation)) *
           Matrix4::Translation(ToFloat3(part.worldPosition) + ToFloat3(document.modelOffset));
}

} // namespace

CPreviewScene::CPreviewScene(CDotDocument& document, COrbitCamera& camera)
    : document_(document), camera_(camera) {}

CPreviewScene::~CPreviewScene() = default;

bool CPreviewScene::RebuildsModel(UpdateHint hint) {
    switch (hint) {
    case HINT_INITIAL:
    case HINT_PARTS:
    case HINT_BONE:
    case HINT_SELECT_PART:
    case HINT_PALETTE:
    case HINT_DOTS:
    case HINT_DOT_SIZE:
    case HINT_PART_RATE:
    case HINT_INVERT:
    case HINT_BONE_POSITION: return true;
    default: return false;
    }
}

float CPreviewScene::DotEdge(const CPart& part) const {
    float g = document_.dotSize;
    for (const CPart* p = &part; p; p = p->parent)
        g *= p->rate;
    return g;
}

std::array<float, 4> CPreviewScene::Background() const {
    const uint32_t c = document_.background;
    return {static_cast<float>(RedOf(c)) / 255.0f, static_cast<float>(GreenOf(c)) / 255.0f,
            static_cast<float>(BlueOf(c)) / 255.0f, 1.0f};
}

PART_RESOURCE* CPreviewScene::Find(const CPart* part) {
    for (auto& resource : resources_) {
        if (resource->part == part)
            return resource.get();
    }
    return nullptr;
}

unsigned CPreviewScene::InitialUpdate() {
    whole_ = true;
    cameras_.Clear();
    resources_.clear();
    SelectCamera();
    SyncResources();
    BuildSliceBox();
    UpdateColorOrder();
    BuildModel();
    BuildMarks();
    lastCurrent_ = document_.currentPart;
    return UPDATE_GEOMETRY | UPDATE_MARKERS | UPDATE_SLICE_BOX | UPDATE_BACKGROUND | UPDATE_CAMERA |
           UPDATE_WAIT;
}

unsigned CPreviewScene::OnUpdate(const CUpdateNotice& notice) {
    constexpr unsigned rebuilt = UPDATE_GEOMETRY | UPDATE_MARKERS | UPDATE_WAIT;
    unsigned result = UPDATE_NONE;
    switch (notice.hint) {
    case HINT_INITIAL: return InitialUpdate();
    case HINT_PARTS:
    case HINT_DOT_SIZE:
        SyncResources();
        BuildModel();
        BuildMarks();
        // The slice box follows the dot size and the part's place too.
        BuildSliceBox();
        result = rebuilt | UPDATE_SLICE_BOX;
        break;
    case HINT_BONE:
    case HINT_PALETTE:
    case HINT_INVERT:
    case HINT_BONE_POSITION:
        SyncResources();
        BuildSliceBox();
        UpdateColorOrder();
        BuildModel();
        BuildMarks();
        result = rebuilt | UPDATE_SLICE_BOX;
        break;
    case HINT_SELECT_PART: lastCurrent_ = document_.currentPart; return CurrentPartChanged();
    case HINT_MARKED_PART:
        BuildMarks();
        result = UPDATE_MARKERS;
        break;
    case HINT_DOTS:
        if (auto* part = dynamic_cast<CDotPart*>(notice.part))
            RebuildPart(*part);
        BuildModel();
        BuildMarks();
        result = rebuilt;
        break;
    case HINT_BACKGROUND: return UPDATE_BACKGROUND;
    case HINT_FACE:
        BuildSliceBox();
        result = UPDATE_SLICE_BOX;
        break;
    case HINT_PART_RATE:
        if (notice.part)
            RebuildSubtree(*notice.part);
        BuildModel();
        BuildMarks();
        BuildSliceBox();
        result = rebuilt | UPDATE_SLICE_BOX;
        break;
    default: break;
    }
    if (document_.currentPart != lastCurrent_) {
        lastCurrent_ = document_.currentPart;
        result |= CurrentPartChanged();
    }
    return result;
}

unsigned CPreviewScene::CurrentPartChanged() {
    // The box is rebuilt in part mode as well: it would otherwise keep
    // showing the slice of the part shown before.
    BuildSliceBox();
    unsigned result = UPDATE_GEOMETRY | UPDATE_MARKERS | UPDATE_SLICE_BOX;
    if (!whole_) {
        SelectCamera();
        result |= UPDATE_CAMERA;
    }
    BuildModel();
    BuildMarks();
    return result;
}

unsigned CPreviewScene::SetWholeModel(bool whole) {
    if (whole == whole_)
        return UPDATE_NONE;
    whole_ = whole;
    BuildModel();
    BuildMarks();
    BuildSliceBox();
    SelectCamera();
    return UPDATE_GEOMETRY | UPDATE_MARKERS | UPDATE_SLICE_BOX | UPDATE_CAMERA | UPDATE_WAIT;
}

void CPreviewScene::SelectCamera() {
    cameras_.Select(camera_, whole_ ? nullptr : document_.currentPart);
}

void CPreviewScene::SyncResources() {
    opaque_ = MakeOpaqueTable(document_.colors);
    std::unordered_map<const CPart*, std::unique_ptr<PART_RESOURCE>> old;
    for (auto& resource : resources_)
        old.emplace(resource->part, std::move(resource));
    resources_.clear();
    for (CPart* part : document_.CollectParts()) {
        auto* dotPart = dynamic_cast<CDotPart*>(part);
        if (!dotPart)
            continue;
        auto found = old.find(part);
        std::unique_ptr<PART_RESOURCE> resource =
            found != old.end() ? std::move(found->second) : std::make_unique<PART_RESOURCE>();
        resource->part = dotPart;
        resources_.push_back(std::move(resource));
    }
    for (auto& resource : resources_)
        RebuildPart(*resource->part);
}

void CPreviewScene::RebuildPart(CDotPart& part) {
    PART_RESOURCE* resource = Find(&part);
    if (!resource)
        return;
    resource->mesh = BuildPartMesh(part.Grid(), opaque_);
    resource->generation = ++generation_;
}

void CPreviewScene::RebuildSubtree(CPart& part) {
    if (auto* dotPart = dynamic_cast<CDotPart*>(&part))
        RebuildPart(*dotPart);
    for (const auto& child : part.children)
        RebuildSubtree(*child);
}

void CPreviewScene::UpdateColorOrder() { colorOrder_ = MakeColorOrder(document_.colors); }

void CPreviewScene::BuildModel() {
    shown_.clear();
    faceDraws_.clear();
    edgeOrder_.clear();
    baseItems_.clear();
    totalDots_ = redDots_ = 0;
    const CPart* current = document_.currentPart;
    const auto* currentDots = dynamic_cast<const CDotPart*>(current);
    for (const auto& resource : resources_) {
        const CDotPart& part = *resource->part;
        if (whole_ ? part.boneKind == BONE_HIDDEN : &part != current)
            continue;
        const float g = DotEdge(part);
        SHOWN_PART shown{resource.get(), PartFrame(part, g), whole_ && &part == current};
        if (whole_)
            shown.model = shown.model * PartPlacement(part, document_);
        totalDots_ += resource->mesh.Total();
        if (shown.red)
            redDots_ += resource->mesh.Total();
        shown_.push_back(shown);
        BONE_ITEM item{resource->part, {}, 0, 0};
        if (whole_)
            item.point = ToFloat3(part.worldPosition) + ToFloat3(document_.modelOffset);
        baseItems_.push_back(item);
    }
    if (!whole_ && currentDots) {
        // The children's joints in the current part's own, unturned frame.
        const Quaternion undo = QuaternionConjugate(ToQuaternion(currentDots->worldRotation));
        for (const auto& child : current->children) {
            const auto* dotChild = dynamic_cast<const CDotPart*>(child.get());
            if (!dotChild)
                continue;
            const Float3 offset =
                ToFloat3(dotChild->worldPosition) - ToFloat3(currentDots->worldPosition);
            baseItems_.push_back({child.get(), Rotate(offset, undo), 0, 0});
        }
    }
    for (int color : colorOrder_) {
        for (size_t i = 0; i < shown_.size(); ++i) {
            const PART_MESH& mesh = shown_[i].resource->mesh;
            for (int face = 0; face < CubeFaces; ++face) {
                const auto f = static_cast<size_t>(face);
                const auto k = static_cast<size_t>(color);
                if (mesh.count[f][k] > 0)
                    faceDraws_.push_back({i, color, face, mesh.first[f][k], mesh.count[f][k]});
            }
        }
    }
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < shown_.size(); ++i) {
            if (shown_[i].red == (pass == 1) && shown_[i].resource->mesh.Total() > 0)
                edgeOrder_.push_back(i);
        }
}

void CPreviewScene::BuildMarks() {
    const CPart* marked = document_.markedPart;
    boneItems_ = baseItems_;
    auto markedAt =
        std::stable_partition(boneItems_.begin(), boneItems_.end(),
                              [marked](const BONE_ITEM& item) { return item.part != marked; });
    for (auto it = boneItems_.begin(); it != boneItems_.end(); ++it) {
        it->column = std::clamp(static_cast<int>(it->part->boneKind), 0, 3);
        it->row = it >= markedAt ? 1 : 0;
    }
}

void CPreviewScene::BuildSliceBox() {
    sliceBox_.reset();
    const auto* part = dynamic_cast<const CDotPart*>(document_.currentPart);
    if (!part || !part->face)
        return;
    const auto& m = part->face->m;
    const float g = DotEdge(*part);
    const auto& p = part->parentPosition;
    const Float3 shift{static_cast<float>(32 - p[0]) * g * 0.5f,
                       static_cast<float>(32 - p[1]) * g * 0.5f,
                       static_cast<float>(32 - p[2]) * g * 0.5f};
    const int d = part->GetDepth();
    constexpr int square[4][2] = {{-16, -16}, {16, -16}, {16, 16}, {-16, 16}};
    const Matrix4 placement = whole_ ? PartPlacement(*part, document_) : Matrix4::Identity();
    std::array<Float3, 8> corners;
    for (int layer = 0; layer < 2; ++layer)
        for (int k = 0; k < 4; ++k) {
            const int v[3] = {square[k][0], square[k][1], d - 16 + layer};
            float c[3];
            for (int row = 0; row < 3; ++row)
                c[row] =
                    static_cast<float>(m[row][0] * v[0] + m[row][1] * v[1] + m[row][2] * v[2]) * g;
            const Float3 local = Float3{c[0], c[1], c[2]} + shift;
            corners[static_cast<size_t>(layer * 4 + k)] = TransformCoord(local, placement);
        }
    sliceBox_ = corners;
}
