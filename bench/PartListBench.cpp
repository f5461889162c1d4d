// The part list with many parts: rebuilding its rows after a change, against
// the plain pre-order walk of the tree (CollectParts) as the baseline, for
// growing counts so that the times show whether the rebuild stays linear; and
// one step of an icon drag at the end of a long list (scroll, new drop place,
// drop rule), which runs on every pointer move.

#include <benchmark/benchmark.h>
#include <string>

#include "document/DotDocument.h"
#include "document/PartListModel.h"

namespace {

// count parts: ten top-level parts, each with a chain of three and the rest
// side by side below the chain's end.
void Fill(CDotDocument& document, int count) {
    int id = 1;
    for (int top = 0; top < 10 && id <= count; ++top) {
        CPart* parent = document.GetChild(document.InsertChild(
            -1, document.CreatePart(id, u"t" + std::u16string(1, u'0' + top))));
        ++id;
        for (int level = 0; level < 3 && id <= count; ++level, ++id)
            parent = parent->GetChild(parent->InsertChild(-1, document.CreatePart(id, u"c")));
        for (int i = 0; i < count / 10 - 4 && id <= count; ++i, ++id)
            parent->InsertChild(-1, document.CreatePart(id, u"p"));
    }
    document.currentPart = document.GetChild(0);
}

void BM_CollectParts(benchmark::State& state) {
    CDotDocument document;
    Fill(document, int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(document.CollectParts());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CollectParts)->RangeMultiplier(10)->Range(100, 10000)->Complexity();

void BM_RebuildRows(benchmark::State& state) {
    CDotDocument document;
    Fill(document, int(state.range(0)));
    CPartListModel model(document, nullptr);
    model.SetViewHeight(800);
    for (auto _ : state) {
        model.Rebuild();
        benchmark::DoNotOptimize(model.Rows().data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RebuildRows)->RangeMultiplier(10)->Range(100, 10000)->Complexity();

void BM_DragStepAtTheEnd(benchmark::State& state) {
    CDotDocument document;
    Fill(document, 10000);
    CPartListModel model(document, nullptr);
    model.SetViewHeight(800);
    model.Reset();
    model.SetOrigin(model.MaxOrigin());
    const int last = model.RowCount() - 1;
    model.Press(model.IconRect(last).left + 8, model.RowTop(last) + 9);
    int step = 0;
    for (auto _ : state) {
        // Alternate between two places so that every step is a new drop.
        const double y = step++ % 2 ? 40.0 : 400.0;
        model.DragTo(20, y);
        benchmark::DoNotOptimize(model.Drop());
    }
}
BENCHMARK(BM_DragStepAtTheEnd);

} // namespace
