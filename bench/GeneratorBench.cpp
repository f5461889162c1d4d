// Model generation from a loaded document to the written files, whole and
// stage by stage (surfaces, assembly, texture, write), over four documents:
//   Figure      the sample figure (examples/figure.kbrl)
//   Solid       the standard skeleton, each of its nineteen parts a solid
//               32 × 32 × 32 block of one colour
//   Random20    one part with 20% of its dots set at random in one material
//               colour: about 90,000 vertices, so the PMD model is refused at
//               the end of assembly; "Whole" measures the time until refusal
//               (the counter "refused" is 1)
//   NearLimit   separate dots in two parts, just under the 65,535 vertices a
//               model file can hold, half of them textured
// Stage timings are manual: each iteration runs all stages and times only
// the one measured (after a refusal the later stages are not run). Run with
// --benchmark_repetitions=N to get medians. "Generate/…" writes PMD,
// "GeneratePMX/…" the same documents as PMX (Random20 then fits); the stage
// "Bytes" is the model's serialisation alone, "Write" the atomic save.
// "Serialise/DOC/FORMAT" repeats the serialisation of one built model.

#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "generator/Generator.h"
#include "generator/PMDLimits.h"
#include "generator/PMXWriter.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>

namespace {

namespace fs = std::filesystem;

std::string OutputPath() {
    static const fs::path folder = [] {
        fs::path f = fs::temp_directory_path() / "kubrell-bench";
        fs::create_directories(f);
        return f;
    }();
    return (folder / "model.pmd").string();
}

std::unique_ptr<CDotDocument> FigureDocument() {
    auto document = std::make_unique<CDotDocument>();
    const fs::path figure = fs::path(__FILE__).parent_path().parent_path() / "examples" / "figure.kbrl";
    LoadDocumentFile(figure.string(), *document);
    return document;
}

std::unique_ptr<CDotDocument> SolidDocument() {
    auto document = std::make_unique<CDotDocument>();
    document->OnNewDocument();
    int colour = 1;
    for (CPart* part : document->CollectParts()) {
        auto& dotPart = static_cast<CDotPart&>(*part);
        std::vector<uint8_t> grid(GridDots, static_cast<uint8_t>(colour));
        dotPart.SetDots(grid);
        colour = colour % 10 + 1;
    }
    // Some colours through the texture, some materials.
    for (int i = 1; i <= 10; i += 2)
        document->GetColor(i).SetMaterial(true);
    document->UpdateAllPlacements();
    return document;
}

std::unique_ptr<CDotDocument> RandomDocument() {
    auto document = std::make_unique<CDotDocument>();
    auto part = document->CreatePart(1, u"乱");
    std::mt19937 random(20);
    for (int z = 0; z < 32; ++z)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (random() % 5 == 0)
                    part->SetDot(x, y, z, 2);
    document->GetColor(2).SetMaterial(true);
    document->InsertChild(-1, std::move(part));
    document->UpdateAllPlacements();
    return document;
}

std::unique_ptr<CDotDocument> NearLimitDocument() {
    // 2,730 separate dots of 24 vertices each: 65,520 vertices.
    auto document = std::make_unique<CDotDocument>();
    document->GetColor(2).SetMaterial(true);
    for (int p = 0; p < 2; ++p) {
        auto part = document->CreatePart(p + 1, p ? u"粒二" : u"粒一");
        for (int n = 0; n < 1365; ++n) {
            // Every other position along each axis, so no two dots touch.
            const int x = n % 16 * 2, y = n / 16 % 16 * 2, z = n / 256 * 2;
            part->SetDot(x, y, z, n % 2 ? 2 : 8);
        }
        document->InsertChild(-1, std::move(part));
    }
    document->UpdateAllPlacements();
    return document;
}

using DocumentMaker = std::unique_ptr<CDotDocument> (*)();

// BYTES is the model file's serialisation alone, without the disk; it is
// not part of WHOLE.
enum STAGE { WHOLE, SURFACES, ASSEMBLY, TEXTURE, BYTES, WRITE };

void Run(benchmark::State& state, DocumentMaker make, STAGE stage, ModelFormat format) {
    std::unique_ptr<CDotDocument> document;
    try {
        document = make();
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    const std::string path = OutputPath();
    using Clock = std::chrono::steady_clock;
    CGenerator::RESULT result;
    bool refused = false;
    try {
        for (auto _ : state) {
            CGenerator generator(*document, path, format);
            const STAGE stages[] = {SURFACES, ASSEMBLY, TEXTURE, BYTES, WRITE};
            double seconds = 0;
            refused = false;
            for (STAGE s : stages) {
                const auto start = Clock::now();
                try {
                    switch (s) {
                    case SURFACES: generator.BuildSurfaces(); break;
                    case ASSEMBLY: generator.BuildModel(); break;
                    case TEXTURE: generator.EncodeTexture(); break;
                    case BYTES:
                        if (stage == BYTES)
                            benchmark::DoNotOptimize(format == ModelFormat::PMX ? PMXBytes(generator.Model())
                                                                                : generator.Model().ToBytes());
                        break;
                    case WRITE: generator.WriteFiles(); break;
                    case WHOLE: break;
                    }
                } catch (const CModelLimitError&) {
                    refused = true;
                }
                if (stage == WHOLE || stage == s)
                    seconds += std::chrono::duration<double>(Clock::now() - start).count();
                if (refused)
                    break;
            }
            state.SetIterationTime(seconds);
            result = generator.Summary();
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    state.counters["vertices"] = static_cast<double>(result.vertices);
    state.counters["triangles"] = static_cast<double>(result.triangles);
    state.counters["refused"] = refused ? 1 : 0;
}

// The model file's bytes alone, many times over one built model: steadier
// than the Bytes stage, which times one serialisation per build.
void RunSerialise(benchmark::State& state, DocumentMaker make, ModelFormat format) {
    try {
        std::unique_ptr<CDotDocument> document = make();
        CGenerator generator(*document, OutputPath(), format);
        generator.BuildSurfaces();
        generator.BuildModel();
        for (auto _ : state)
            benchmark::DoNotOptimize(format == ModelFormat::PMX ? PMXBytes(generator.Model())
                                                                : generator.Model().ToBytes());
        state.counters["vertices"] = static_cast<double>(generator.Model().vertices.size());
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

void Register(const char* name, DocumentMaker make, ModelFormat format) {
    benchmark::RegisterBenchmark((std::string("Serialise/") + name + "/" + ModelFormatName(format)).c_str(),
                                 [make, format](benchmark::State& state) { RunSerialise(state, make, format); })
        ->Unit(benchmark::kMillisecond);
    const std::pair<const char*, STAGE> stages[] = {
        {"Whole", WHOLE}, {"Surfaces", SURFACES}, {"Assembly", ASSEMBLY}, {"Texture", TEXTURE},
        {"Bytes", BYTES}, {"Write", WRITE}};
    const std::string prefix = format == ModelFormat::PMX ? "GeneratePMX/" : "Generate/";
    for (const auto& [stageName, stage] : stages)
        benchmark::RegisterBenchmark((prefix + name + "/" + stageName).c_str(),
                                     [make, stage = stage, format](benchmark::State& state) {
                                         Run(state, make, stage, format);
                                     })
            ->UseManualTime()
            // Every iteration runs the whole build whatever stage it times,
            // so the count is fixed rather than grown to fill a time budget.
            ->Iterations(10)
            ->Unit(benchmark::kMillisecond);
}

const bool registered = [] {
    // Each document in both formats one after the other, so that the two
    // are timed under the same load.
    const std::pair<const char*, DocumentMaker> documents[] = {
        {"Figure", FigureDocument}, {"Solid", SolidDocument}, {"Random20", RandomDocument},
        {"NearLimit", NearLimitDocument}};
    for (const auto& [name, make] : documents)
        for (ModelFormat format : {ModelFormat::PMD, ModelFormat::PMX})
            Register(name, make, format);
    return true;
}();

} // namespace
