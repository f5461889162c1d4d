#pragma once
// The model preview (right-hand pane): the document as the generated model
// will look, every dot a cube in its colour with dark outlines, placed by
// the part placement, a translucent box on the slice the dot view edits and
// the bone markers at the joints. Whole-model and part modes each keep
// their own camera. It never changes the document.
//
// All decisions live in CPreviewScene; this view uploads what the scene
// built (per part an instance buffer of its merged faces and a line list
// of its outline segments, re-sent only when that part's mesh was rebuilt)
// and draws it.

#include <memory>
#include <span>
#include <unordered_map>

#include "document/CommandTarget.h"
#include "document/DocumentObserver.h"
#include "preview/GLView.h"
#include "preview/Sprite.h"
#include "scene/PreviewScene.h"

class CDotDocument;

class CModelView : public CGLView, public CDocumentObserver, public CCommandTarget {
    Q_OBJECT
public:
    explicit CModelView(CDotDocument& document, QWindow* parent = nullptr);
    ~CModelView() override;

    const CPreviewScene& Scene() const { return scene_; }

    void OnUpdate(CDocumentObserver* sender, const CUpdateNotice& notice) override;
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(unsigned id, CCommandState& state) override;

protected:
    bool CreateResources(QString& reason) override;
    void Render() override;
    void Prepare() override;

private:
    struct GPU_MESH {
        unsigned buffer = 0; // the merged faces, per instance
        unsigned edges = 0;  // the outline's line list
        uint64_t generation = 0;
    };

    static std::span<const CCommandHandler<CModelView>> Handlers();
    void Apply(unsigned change);
    void UploadMeshes();
    void UploadSliceBox();
    void ReleaseResources();
    void DeleteMesh(GPU_MESH& mesh);
    void SetColor(float r, float g, float b, float a);
    void DrawFaces();
    void DrawEdges();
    // Points the instance attributes at rectangle first of the bound mesh
    // buffer.
    void PointFaces(uint32_t first);
    // Lines and the slice box are drawn without instances: the shader's
    // cell is 0 and its size 1 for them.
    void UnitInstance();
    void DrawSliceBox();

    CDotDocument& document_;
    CPreviewScene scene_;
    std::unique_ptr<QOpenGLShaderProgram> modelShader_;
    unsigned modelArray_ = 0;
    unsigned edgeArray_ = 0;
    unsigned cubeBuffer_ = 0;
    unsigned indexBuffer_ = 0;
    unsigned boxArray_ = 0;
    unsigned boxBuffer_ = 0;
    std::unordered_map<const CDotPart*, GPU_MESH> meshes_;
    CSprite sprite_;
    bool uploadPending_ = true;
    bool boxPending_ = true;
};
