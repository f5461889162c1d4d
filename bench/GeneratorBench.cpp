// Model generation from a loaded document to the written files, whole and
// stage by stage (surfaces, assembly, texture, write), over the benchmark
// documents (BenchDocuments.h). A model the format cannot hold is refused at
// the end of assembly; "Whole" then measures the time until refusal (the
// counter "refused" is 1).
// Stage timings are manual: each iteration runs all stages and times only
// the one measured (after a refusal the later stages are not run). Run with
// --benchmark_repetitions=N to get medians. "Stages/…" writes PMD,
// "StagesPMX/…" the same documents as PMX (Random20 then fits); the stage
// "Bytes" is the model's serialisation alone, "Write" the atomic save.
// "Serialise/DOC/FORMAT" repeats the serialisation of one built model;
// "Stream/DOC" its PMD file through the small buffer WriteFiles uses, handed
// to a sink that only counts the bytes (the serialisation without the disk).
// A PMD of thousands of faces is written while it is built: its vertices,
// the rest of the file and its flush run on a second thread from Assembly on,
// and the texture is encoded and written there too. Assembly then includes
// placing the texture regions and starting that thread; Texture waits for the
// thread to be done with the vertices and the image; Write waits for the rest
// and commits. The stages' sum is then more than Whole's work on one core.

#include "BenchDocuments.h"
#include "document/Archive.h"
#include "document/DotDocument.h"
#include "generator/Generator.h"
#include "generator/PMDLimits.h"
#include "generator/PMXWriter.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>

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
                            benchmark::DoNotOptimize(format == ModelFormat::PMX
                                                         ? PMXBytes(generator.Model())
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

void RunStream(benchmark::State& state, DocumentMaker make) {
    try {
        std::unique_ptr<CDotDocument> document = make();
        CGenerator generator(*document, OutputPath(), ModelFormat::PMD);
        generator.BuildSurfaces();
        generator.BuildModel();
        size_t bytes = 0;
        const CArchiveWriter::SINK sink = [&bytes](std::span<const uint8_t> piece) {
            benchmark::DoNotOptimize(piece.data());
            bytes += piece.size();
        };
        for (auto _ : state) {
            CArchiveWriter archive(sink, CPMDModel::FILE_BUFFER_SIZE);
            generator.Model().Write(archive);
            archive.Flush();
        }
        state.counters["bytes"] = static_cast<double>(bytes / state.iterations());
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

void Register(const char* name, DocumentMaker make, ModelFormat format) {
    if (format == ModelFormat::PMD)
        benchmark::RegisterBenchmark((std::string("Stream/") + name).c_str(),
                                     [make](benchmark::State& state) { RunStream(state, make); })
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(
        (std::string("Serialise/") + name + "/" + ModelFormatName(format)).c_str(),
        [make, format](benchmark::State& state) { RunSerialise(state, make, format); })
        ->Unit(benchmark::kMillisecond);
    const std::pair<const char*, STAGE> stages[] = {{"Whole", WHOLE},       {"Surfaces", SURFACES},
                                                    {"Assembly", ASSEMBLY}, {"Texture", TEXTURE},
                                                    {"Bytes", BYTES},       {"Write", WRITE}};
    const std::string prefix = format == ModelFormat::PMX ? "StagesPMX/" : "Stages/";
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
    for (const BENCH_DOCUMENT& document : BenchDocuments())
        for (ModelFormat format : {ModelFormat::PMD, ModelFormat::PMX})
            Register(document.name, document.make, format);
    return true;
}();

} // namespace
