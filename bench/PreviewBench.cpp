// The model preview's work on the processor, over the two documents of
// BenchDocuments.h:
// PartEdit   rebuilding one part after a dot edit (hint 9) and the draw plan
// FullBuild  the initial update: every part's mesh, colour order, plan,
//            markers and slice box
// Markers    re-projecting the markers after a camera drag
// The counter meshBytes is what the meshes hold (8 bytes a merged face, 8 an
// outline segment); the GPU holds the same plus the shared cube data.

#include "PreviewDocuments.h"
#include "document/UpdateNotice.h"
#include "scene/MarkerLayout.h"
#include "scene/PreviewScene.h"

#include <benchmark/benchmark.h>

namespace {

size_t MeshBytes(const CPreviewScene& scene) {
    size_t bytes = 0;
    for (const auto& resource : scene.Resources())
        bytes += resource->mesh.faces.size() * sizeof(FACE_RECT) +
                 resource->mesh.edges.size() * sizeof(EDGE_END);
    return bytes;
}

template <std::unique_ptr<CDotDocument> (*Make)()>
void PartEdit(benchmark::State& state) {
    auto document = Make();
    COrbitCamera camera;
    CPreviewScene scene(*document, camera);
    scene.InitialUpdate();
    CDotPart* part = LargestPart(*document);
    for (auto _ : state)
        benchmark::DoNotOptimize(scene.OnUpdate(Notice<HINT_DOTS>(part)));
    state.counters["dots"] = static_cast<double>(scene.TotalDots());
}

template <std::unique_ptr<CDotDocument> (*Make)()>
void FullBuild(benchmark::State& state) {
    auto document = Make();
    COrbitCamera camera;
    CPreviewScene scene(*document, camera);
    for (auto _ : state)
        benchmark::DoNotOptimize(scene.InitialUpdate());
    state.counters["dots"] = static_cast<double>(scene.TotalDots());
    state.counters["meshBytes"] = static_cast<double>(MeshBytes(scene));
}

template <std::unique_ptr<CDotDocument> (*Make)()>
void Markers(benchmark::State& state) {
    auto document = Make();
    COrbitCamera camera;
    CPreviewScene scene(*document, camera);
    scene.InitialUpdate();
    std::vector<MARKER_RECT> rects;
    for (auto _ : state) {
        camera.Rotate(1, 1);
        const Matrix4 m = camera.World() * camera.View() * camera.Projection(1.5f);
        rects.clear();
        for (const BONE_ITEM& item : scene.BoneItems())
            rects.push_back(ProjectMarker(item.point, m, 680, 800, 16, 16));
        benchmark::DoNotOptimize(BuildSpriteQuads(rects, 680, 800, 4, 2));
    }
}

BENCHMARK(PartEdit<SampleFigure>)->Name("Preview/PartEdit/Figure")->Unit(benchmark::kMicrosecond);
BENCHMARK(PartEdit<SolidSkeleton>)->Name("Preview/PartEdit/Solid")->Unit(benchmark::kMicrosecond);
BENCHMARK(FullBuild<SampleFigure>)->Name("Preview/FullBuild/Figure")->Unit(benchmark::kMillisecond);
BENCHMARK(FullBuild<SolidSkeleton>)->Name("Preview/FullBuild/Solid")->Unit(benchmark::kMillisecond);
BENCHMARK(Markers<SampleFigure>)->Name("Preview/Markers/Figure")->Unit(benchmark::kMicrosecond);

} // namespace
