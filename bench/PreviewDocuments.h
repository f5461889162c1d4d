#pragma once
// The documents the preview benchmarks measure:
//   SampleFigure   examples/figure.kbrl
//   SolidSkeleton  the standard skeleton, all nineteen parts solid 32³
//                  blocks in nine colours
// and the part an edit costs most in.

#include <filesystem>
#include <memory>
#include <vector>

#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"

inline std::unique_ptr<CDotDocument> SampleFigure() {
    auto document = std::make_unique<CDotDocument>();
    LoadDocumentFile((std::filesystem::path(KUBRELL_EXAMPLES) / "figure.kbrl").string(), *document);
    return document;
}

inline std::unique_ptr<CDotDocument> SolidSkeleton() {
    auto document = std::make_unique<CDotDocument>();
    document->OnNewDocument();
    int index = 0;
    for (CPart* part : document->CollectParts())
        static_cast<CDotPart*>(part)->SetDots(
            std::vector<uint8_t>(GridDots, static_cast<uint8_t>(1 + index++ % 9)));
    document->UpdateAllPlacements();
    return document;
}

// The part with the most dots.
inline CDotPart* LargestPart(CDotDocument& document) {
    CDotPart* largest = nullptr;
    for (CPart* part : document.CollectParts()) {
        auto* dotPart = static_cast<CDotPart*>(part);
        if (!largest || dotPart->CountDots() > largest->CountDots())
            largest = dotPart;
    }
    return largest;
}
