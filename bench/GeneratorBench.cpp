// Model generation from a loaded document to the written files, whole and
// stage by stage (surfaces, assembly, texture, write), over the benchmark
// documents (BenchDocuments.h). A model the format cannot hold is refused at
// the end of assembly; "Whole" then measures the time until refusal (the
// counter "refused" is 1).
// Stage timings are manual: each iteration runs all stages and times only
// the one measured (after a refusal the later stages are not run). Run with
// --benchmark_repetitions=N to get medians.

#include "BenchDocuments.h"
#include "document/DotDocument.h"
#include "generator/Generator.h"
#include "generator/PMDLimits.h"

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

enum STAGE { WHOLE, SURFACES, ASSEMBLY, TEXTURE, WRITE };

void Run(benchmark::State& state, DocumentMaker make, STAGE stage) {
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
            CGenerator generator(*document, path);
            const STAGE stages[] = {SURFACES, ASSEMBLY, TEXTURE, WRITE};
            double seconds = 0;
            refused = false;
            for (STAGE s : stages) {
                const auto start = Clock::now();
                try {
                    switch (s) {
                    case SURFACES: generator.BuildSurfaces(); break;
                    case ASSEMBLY: generator.BuildModel(); break;
                    case TEXTURE: generator.EncodeTexture(); break;
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

void Register(const char* name, DocumentMaker make) {
    const std::pair<const char*, STAGE> stages[] = {
        {"Whole", WHOLE}, {"Surfaces", SURFACES}, {"Assembly", ASSEMBLY}, {"Texture", TEXTURE}, {"Write", WRITE}};
    for (const auto& [stageName, stage] : stages)
        benchmark::RegisterBenchmark((std::string("Stages/") + name + "/" + stageName).c_str(),
                                     [make, stage = stage](benchmark::State& state) { Run(state, make, stage); })
            ->UseManualTime()
            // Every iteration runs the whole build whatever stage it times,
            // so the count is fixed rather than grown to fill a time budget.
            ->Iterations(10)
            ->Unit(benchmark::kMillisecond);
}

const bool registered = [] {
    for (const BENCH_DOCUMENT& document : BenchDocuments())
        Register(document.name, document.make);
    return true;
}();

} // namespace
