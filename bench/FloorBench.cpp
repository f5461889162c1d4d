// Generation against its floor. The floor of a document is what no
// generator can avoid: reading the document file, then writing a buffer the
// size of its model and one the size of its texture through the same atomic
// write (temporary file, flush, rename) the model and texture use.
//
//   Floor/NAME      the floor alone
//   Generate/NAME   reading the document file and generating its model and
//                   texture; each iteration also runs the floor just before,
//                   and the counter "ratio" is generation time over floor
//                   time summed over the iterations, so the ratio holds on
//                   a machine whose speed drifts while the times do not
//
// The documents (BenchDocuments.h) are saved once as document files in the
// temporary folder's kubrell-bench/ (NAME.kbrl), where they can also be
// given to kubrell-cli. Run with --benchmark_repetitions=N for medians.

#include "BenchDocuments.h"
#include "document/Archive.h"
#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "generator/Generator.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <map>

namespace {

namespace fs = std::filesystem;

// A saved benchmark document and the sizes of what it generates.
struct SAVED {
    std::string document;
    std::string model;
    std::string floorModel;
    std::string floorTexture;
    size_t modelSize = 0;
    size_t textureSize = 0;
};

const SAVED& Saved(const BENCH_DOCUMENT& entry) {
    static std::map<std::string, SAVED> saved;
    auto found = saved.find(entry.name);
    if (found != saved.end())
        return found->second;
    const fs::path folder = fs::temp_directory_path() / "kubrell-bench";
    fs::create_directories(folder);
    const std::string name = entry.name;
    SAVED s;
    s.document = (folder / (name + ".kbrl")).string();
    s.model = (folder / (name + ".pmd")).string();
    s.floorModel = (folder / (name + "-floor.pmd")).string();
    s.floorTexture = (folder / (name + "-floor.png")).string();
    SaveDocumentFile(*entry.make(), s.document);
    CDotDocument document;
    LoadDocumentFile(s.document, document);
    const CGenerator::RESULT result = CGenerator(document, s.model).Generate();
    s.modelSize = fs::file_size(s.model);
    s.textureSize = result.texturePath.empty() ? 0 : fs::file_size(result.texturePath);
    return saved.emplace(entry.name, s).first->second;
}

void Floor(const SAVED& s) {
    CDotDocument document;
    LoadDocumentFile(s.document, document);
    WriteFileAtomically(s.floorModel, std::vector<uint8_t>(s.modelSize));
    if (s.textureSize)
        WriteFileAtomically(s.floorTexture, std::vector<uint8_t>(s.textureSize));
}

void Generate(const SAVED& s) {
    CDotDocument document;
    LoadDocumentFile(s.document, document);
    benchmark::DoNotOptimize(CGenerator(document, s.model).Generate());
}

double Seconds(void (*run)(const SAVED&), const SAVED& s) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    run(s);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void RunFloor(benchmark::State& state, const BENCH_DOCUMENT& entry) {
    try {
        const SAVED& s = Saved(entry);
        for (auto _ : state)
            state.SetIterationTime(Seconds(Floor, s));
        state.counters["bytes"] = static_cast<double>(s.modelSize + s.textureSize);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

void RunGenerate(benchmark::State& state, const BENCH_DOCUMENT& entry) {
    try {
        const SAVED& s = Saved(entry);
        double floor = 0, generate = 0;
        for (auto _ : state) {
            floor += Seconds(Floor, s);
            const double seconds = Seconds(Generate, s);
            generate += seconds;
            state.SetIterationTime(seconds);
        }
        state.counters["floor_ms"] = floor * 1000 / static_cast<double>(state.iterations());
        state.counters["ratio"] = floor > 0 ? generate / floor : 0;
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

const bool registered = [] {
    for (const BENCH_DOCUMENT& entry : BenchDocuments()) {
        benchmark::RegisterBenchmark((std::string("Floor/") + entry.name).c_str(),
                                     [&entry](benchmark::State& state) { RunFloor(state, entry); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(
            (std::string("Generate/") + entry.name).c_str(),
            [&entry](benchmark::State& state) { RunGenerate(state, entry); })
            ->UseManualTime()
            ->Iterations(20)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
