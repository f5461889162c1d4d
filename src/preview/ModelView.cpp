#include "preview/ModelView.h"

#include <QApplication>
#include <QOpenGLShaderProgram>
#include <QStyle>
#include <cstddef>

#include "document/DotDocument.h"
#include "preview/PreviewShaders.h"
#include "resources/CommandIds.h"
#include "views/BoneMarkerSheet.h"

namespace {

constexpr int EdgeCount = 24;
const void* const BoxEdgeOffset = reinterpret_cast<const void*>(36 * sizeof(uint16_t));

// The camera presets of the numeric keypad: pitch and yaw.
struct CAMERA_PRESET {
    unsigned id;
    float pitch;
    float yaw;
};
constexpr float HalfPi = 1.57079633f;
constexpr CAMERA_PRESET Presets[] = {
    {ID_CAMERA_FRONT, 0.0f, 0.0f},   {ID_CAMERA_BACK, 0.0f, 3.14159274f},
    {ID_CAMERA_RIGHT, 0.0f, HalfPi}, {ID_CAMERA_LEFT, 0.0f, -HalfPi},
    {ID_CAMERA_TOP, HalfPi, 0.0f},   {ID_CAMERA_BOTTOM, -HalfPi, 0.0f},
};

// Shows the wait cursor while it lives, when asked to.
class CWaitCursor {
public:
    explicit CWaitCursor(bool show) : shown_(show) {
        if (shown_)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~CWaitCursor() {
        if (shown_)
            QApplication::restoreOverrideCursor();
    }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    bool shown_;
};

} // namespace

CModelView::CModelView(CDotDocument& document, QWindow* parent)
    : CGLView(parent), document_(document), scene_(document, Camera()) {
    setObjectName(QStringLiteral("ModelView"));
    document_.AddObserver(this);
    CWaitCursor wait(true);
    Apply(scene_.InitialUpdate());
}

CModelView::~CModelView() {
    document_.RemoveObserver(this);
    if (IsReady() && context()) {
        makeCurrent();
        ReleaseResources();
        doneCurrent();
    }
}

void CModelView::OnUpdate(CDocumentObserver*, const CUpdateNotice& notice) {
    CWaitCursor wait(CPreviewScene::RebuildsModel(notice.hint));
    Apply(scene_.OnUpdate(notice));
}

void CModelView::Apply(unsigned change) {
    if (change & CPreviewScene::UPDATE_GEOMETRY)
        uploadPending_ = true;
    if (change & CPreviewScene::UPDATE_SLICE_BOX)
        boxPending_ = true;
    if (change & CPreviewScene::UPDATE_BACKGROUND)
        SetClearColor(scene_.Background());
    if (change & (CPreviewScene::UPDATE_MARKERS | CPreviewScene::UPDATE_CAMERA |
                  CPreviewScene::UPDATE_GEOMETRY))
        SetSceneDirty();
    ContentChanged();
}

std::span<const CCommandHandler<CModelView>> CModelView::Handlers() {
    static_assert(ID_PREVIEW_MODEL == ID_PREVIEW_PART + 1);
    static_assert(ID_CAMERA_BOTTOM == ID_CAMERA_TOP + 5);
    static constexpr CCommandHandler<CModelView> handlers[] = {
        {.id = ID_PREVIEW_PART,
         .count = 2,
         .run =
             [](CModelView& view, unsigned id) {
                 CWaitCursor wait(true);
                 view.Apply(view.scene_.SetWholeModel(id == ID_PREVIEW_MODEL));
             },
         .update =
             [](const CModelView& view, unsigned id, CCommandState& state) {
                 state.radio = true;
                 state.checked = view.scene_.IsWholeModel() == (id == ID_PREVIEW_MODEL);
             }},
        {.id = ID_CAMERA_TOP,
         .count = 6,
         .run =
             [](CModelView& view, unsigned id) {
                 for (const CAMERA_PRESET& preset : Presets) {
                     if (preset.id == id)
                         view.Camera().SetAngles(preset.pitch, preset.yaw);
                 }
                 view.CameraChanged();
             }},
    };
    return handlers;
}

bool CModelView::OnCommand(unsigned id) { return RunCommand(Handlers(), *this, id); }

bool CModelView::OnUpdateCommand(unsigned id, CCommandState& state) {
    return UpdateCommand(Handlers(), *this, id, state);
}

bool CModelView::CreateResources(QString& reason) {
    modelShader_ = MakeProgram(ModelShaderSource.vertex, ModelShaderSource.fragment, reason);
    if (!modelShader_)
        return false;
    const std::array<CUBE_VERTEX, 36> cube = CubeVertices();
    glGenBuffers(1, &cubeBuffer_);
    glBindBuffer(GL_ARRAY_BUFFER, cubeBuffer_);
    glBufferData(GL_ARRAY_BUFFER, sizeof(cube), cube.data(), GL_STATIC_DRAW);
    glGenBuffers(1, &indexBuffer_);
    glGenBuffers(1, &boxBuffer_);
    // The model: the unrolled cube's corners per vertex, the merged faces'
    // cells and sizes per instance (pointed at per draw).
    glGenVertexArrays(1, &modelArray_);
    glBindVertexArray(modelArray_);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(CUBE_VERTEX), nullptr);
    for (unsigned attribute : {1u, 2u}) {
        glEnableVertexAttribArray(attribute);
        glVertexAttribDivisor(attribute, 1);
    }
    // The outlines: lattice corners per vertex (pointed at per draw), with
    // no instance (see UnitInstance).
    glGenVertexArrays(1, &edgeArray_);
    glBindVertexArray(edgeArray_);
    glEnableVertexAttribArray(0);
    // The slice box: its own eight corners over the cube's index lists,
    // with no instance.
    glGenVertexArrays(1, &boxArray_);
    glBindVertexArray(boxArray_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof(CubeIndices), CubeIndices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, boxBuffer_);
    glBufferData(GL_ARRAY_BUFFER, 8 * 3 * sizeof(float), nullptr, GL_DYNAMIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glBindVertexArray(0);

    const qreal ratio = devicePixelRatio();
    const int icon = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
    if (!sprite_.Create(*this,
                        MakeProgram(SpriteShaderSource.vertex, SpriteShaderSource.fragment, reason),
                        BoneMarkerSheet(std::max(16, static_cast<int>(icon * ratio))),
                        BoneMarkerColumns, BoneMarkerRows))
        return false;
    uploadPending_ = boxPending_ = true;
    return true;
}

void CModelView::ReleaseResources() {
    sprite_.Destroy();
    modelShader_.reset();
    for (auto& [part, mesh] : meshes_)
        DeleteMesh(mesh);
    meshes_.clear();
    const unsigned buffers[3] = {cubeBuffer_, indexBuffer_, boxBuffer_};
    glDeleteBuffers(3, buffers);
    const unsigned arrays[3] = {modelArray_, edgeArray_, boxArray_};
    glDeleteVertexArrays(3, arrays);
    cubeBuffer_ = indexBuffer_ = boxBuffer_ = modelArray_ = edgeArray_ = boxArray_ = 0;
}

void CModelView::DeleteMesh(GPU_MESH& mesh) {
    const unsigned buffers[2] = {mesh.buffer, mesh.edges};
    glDeleteBuffers(2, buffers);
    mesh = {};
}

void CModelView::UploadMeshes() {
    std::unordered_map<const CDotPart*, GPU_MESH> kept;
    for (const auto& resource : scene_.Resources()) {
        auto found = meshes_.find(resource->part);
        GPU_MESH mesh = found != meshes_.end() ? found->second : GPU_MESH{};
        if (found != meshes_.end())
            meshes_.erase(found);
        if (!mesh.buffer) {
            glGenBuffers(1, &mesh.buffer);
            glGenBuffers(1, &mesh.edges);
        }
        if (mesh.generation != resource->generation) {
            const auto& faces = resource->mesh.faces;
            glBindBuffer(GL_ARRAY_BUFFER, mesh.buffer);
            glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(faces.size() * sizeof(FACE_RECT)),
                         faces.data(), GL_STATIC_DRAW);
            const auto& edges = resource->mesh.edges;
            glBindBuffer(GL_ARRAY_BUFFER, mesh.edges);
            glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(edges.size() * sizeof(EDGE_END)),
                         edges.data(), GL_STATIC_DRAW);
            mesh.generation = resource->generation;
        }
        kept.emplace(resource->part, mesh);
    }
    // What is left belongs to parts that are gone.
    for (auto& [part, mesh] : meshes_)
        DeleteMesh(mesh);
    meshes_ = std::move(kept);
    uploadPending_ = false;
}

void CModelView::UploadSliceBox() {
    if (const auto& box = scene_.SliceBox()) {
        glBindBuffer(GL_ARRAY_BUFFER, boxBuffer_);
        glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(Float3) * 8, box->data());
    }
    boxPending_ = false;
}

void CModelView::Prepare() {
    const Matrix4 transform = World() * View() * Projection();
    const QSizeF size = SceneSize();
    const int icon = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
    std::vector<MARKER_RECT> rects;
    rects.reserve(scene_.BoneItems().size());
    for (const BONE_ITEM& item : scene_.BoneItems()) {
        MARKER_RECT rect = ProjectMarker(item.point, transform, static_cast<float>(size.width()),
                                         static_cast<float>(size.height()), icon, icon);
        rect.column = item.column;
        rect.row = item.row;
        rects.push_back(rect);
    }
    sprite_.Build(rects, static_cast<float>(size.width()), static_cast<float>(size.height()));
}

void CModelView::SetColor(float r, float g, float b, float a) {
    glUniform4f(modelShader_->uniformLocation("color"), r, g, b, a);
}

void CModelView::Render() {
    if (uploadPending_)
        UploadMeshes();
    if (boxPending_)
        UploadSliceBox();
    CGLView::Render();
    modelShader_->bind();
    SetCameraUniforms(*modelShader_);
    if (scene_.TotalDots() > 0) {
        glBindVertexArray(modelArray_);
        DrawFaces();
        DrawEdges();
    }
    DrawSliceBox();
    glBindVertexArray(0);
    sprite_.Draw();
}

void CModelView::DrawFaces() {
    // Faces sit a little behind their outlines, so the lines drawn on them
    // stay whole instead of fighting with the faces for depth.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 1.0f);
    const std::vector<SHOWN_PART>& shown = scene_.Shown();
    for (const FACE_DRAW& draw : scene_.FaceDraws()) {
        const SHOWN_PART& part = shown[draw.shown];
        const CDotColor& color = document_.GetColor(draw.color);
        SetColor(static_cast<float>(RedOf(color.color)) / 255.0f,
                 static_cast<float>(GreenOf(color.color)) / 255.0f,
                 static_cast<float>(BlueOf(color.color)) / 255.0f,
                 static_cast<float>(AlphaByte(color.alpha)) / 255.0f);
        SetMatrix(*modelShader_, "model", part.model);
        glBindBuffer(GL_ARRAY_BUFFER, meshes_[part.resource->part].buffer);
        PointFaces(draw.first);
        glDrawArraysInstanced(GL_TRIANGLES, FaceTriangles(draw.face), 6,
                              static_cast<GLsizei>(draw.count));
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
}

void CModelView::PointFaces(uint32_t first) {
    const uintptr_t at = static_cast<uintptr_t>(first) * sizeof(FACE_RECT);
    glVertexAttribPointer(1, 3, GL_UNSIGNED_BYTE, GL_FALSE, sizeof(FACE_RECT),
                          reinterpret_cast<const void*>(at + offsetof(FACE_RECT, x)));
    glVertexAttribPointer(2, 3, GL_UNSIGNED_BYTE, GL_FALSE, sizeof(FACE_RECT),
                          reinterpret_cast<const void*>(at + offsetof(FACE_RECT, sx)));
}

void CModelView::UnitInstance() {
    glVertexAttrib3f(1, 0.0f, 0.0f, 0.0f);
    glVertexAttrib3f(2, 1.0f, 1.0f, 1.0f);
}

void CModelView::DrawEdges() {
    glBindVertexArray(edgeArray_);
    UnitInstance();
    const std::vector<SHOWN_PART>& shown = scene_.Shown();
    for (size_t index : scene_.EdgeOrder()) {
        const SHOWN_PART& part = shown[index];
        if (part.red)
            SetColor(80.0f / 255.0f, 0.0f, 0.0f, 1.0f);
        else
            SetColor(0.0f, 0.0f, 0.0f, 1.0f);
        SetMatrix(*modelShader_, "model", part.model);
        glBindBuffer(GL_ARRAY_BUFFER, meshes_[part.resource->part].edges);
        glVertexAttribPointer(0, 3, GL_UNSIGNED_BYTE, GL_FALSE, sizeof(EDGE_END), nullptr);
        glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(part.resource->mesh.edges.size()));
    }
}

void CModelView::DrawSliceBox() {
    if (!scene_.SliceBox())
        return;
    glBindVertexArray(boxArray_);
    UnitInstance();
    SetMatrix(*modelShader_, "model", Matrix4::Identity());
    SetColor(0.0f, 0.7f, 0.7f, 0.05f);
    glDrawElements(GL_TRIANGLES, 36, GL_UNSIGNED_SHORT, nullptr);
    SetColor(0.0f, 0.7f, 0.7f, 0.5f);
    glDrawElements(GL_LINES, EdgeCount, GL_UNSIGNED_SHORT, BoxEdgeOffset);
}
