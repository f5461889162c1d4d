// Surface extraction of one part: blocks, hidden faces and merging.

#include "generator/SurfaceBuilder.h"

#include "document/DotColor.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

// The default palette, every entry a material of its own.
CBlock::COLOUR_TABLE Colours() {
    static std::array<CDotColor, PaletteSize> palette = DefaultPalette();
    CBlock::COLOUR_TABLE table{};
    for (int i = 1; i <= PaletteSize; ++i)
        table[i] = &palette[i - 1];
    return table;
}

void Run(benchmark::State& state, std::vector<uint8_t> grid) {
    const CBlock::COLOUR_TABLE colours = Colours();
    size_t faces = 0;
    for (auto _ : state) {
        const CBlockList blocks = BuildSurfaces(grid.data(), colours);
        faces = 0;
        for (const CBlock& block : blocks)
            faces += block.GetAllSurfaces().size();
        benchmark::DoNotOptimize(faces);
    }
    state.counters["faces"] = static_cast<double>(faces);
}

void SolidGrid(benchmark::State& state) { Run(state, std::vector<uint8_t>(32768, 8)); }

void RandomGrid20Percent(benchmark::State& state) {
    std::mt19937 rng(1);
    std::vector<uint8_t> grid(32768, 0);
    for (uint8_t& dot : grid)
        if (rng() % 5 == 0)
            dot = static_cast<uint8_t>(1 + rng() % 3);
    Run(state, grid);
}

// Every other dot: 16 384 blocks of one dot each.
void Checkerboard(benchmark::State& state) {
    std::vector<uint8_t> grid(32768, 0);
    for (int i = 0; i < 32768; ++i)
        if (((i & 31) + (i >> 5 & 31) + (i >> 10)) % 2 == 0)
            grid[i] = 8;
    Run(state, grid);
}

// Every dot, in two material colours by parity: one block where nothing merges.
void TwoColourCheckerboard(benchmark::State& state) {
    std::vector<uint8_t> grid(32768, 0);
    for (int i = 0; i < 32768; ++i)
        grid[i] = ((i & 31) + (i >> 5 & 31) + (i >> 10)) % 2 == 0 ? 8 : 2;
    Run(state, grid);
}

} // namespace

BENCHMARK(SolidGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(RandomGrid20Percent)->Unit(benchmark::kMillisecond);
BENCHMARK(Checkerboard)->Unit(benchmark::kMillisecond);
BENCHMARK(TwoColourCheckerboard)->Unit(benchmark::kMillisecond);
