#pragma once
// The documents model generation is measured on, shared by the benchmarks in
// this folder and by the tests that check the generated files stay the same
// byte for byte:
//   Figure      the sample figure (examples/figure.kbrl)
//   Solid       the standard skeleton, each of its nineteen parts a solid
//               32 × 32 × 32 block, some colours materials, some textured
//   SolidDots   one solid 32³ part plus a part of 2,048 separate dots
//               (about 49,000 vertices)
//   Random20    one part with 20% of its dots set at random, in a slab just
//               thin enough to stay under the 65,535 vertices a model holds
//   Checker     every dot of one part set, in two material colours by parity:
//               one block whose faces never merge, almost all of them hidden
//   NearLimit   separate dots in two parts, 65,520 vertices, half of them
//               textured

#include <memory>
#include <string>
#include <vector>

class CDotDocument;

struct BENCH_DOCUMENT {
    const char* name;
    std::unique_ptr<CDotDocument> (*make)();
};

// The six documents, in the order above.
const std::vector<BENCH_DOCUMENT>& BenchDocuments();

// The path of examples/figure.kbrl in the source tree.
std::string SampleFigurePath();
