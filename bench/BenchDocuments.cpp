#include "BenchDocuments.h"

#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"

#include <filesystem>
#include <random>

namespace {

namespace fs = std::filesystem;

std::unique_ptr<CDotDocument> FigureDocument() {
    auto document = std::make_unique<CDotDocument>();
    LoadDocumentFile(SampleFigurePath(), *document);
    return document;
}

std::unique_ptr<CDotDocument> SolidDocument() {
    auto document = std::make_unique<CDotDocument>();
    document->OnNewDocument();
    int colour = 1;
    for (CPart* part : document->CollectParts()) {
        std::vector<uint8_t> grid(GridDots, static_cast<uint8_t>(colour));
        static_cast<CDotPart&>(*part).SetDots(grid);
        colour = colour % 10 + 1;
    }
    // Some colours through the texture, some materials.
    for (int i = 1; i <= 10; i += 2)
        document->GetColor(i).SetMaterial(true);
    document->UpdateAllPlacements();
    return document;
}

// 2,048 dots at every other position of the lower half of the grid, no two
// touching: 24 vertices each. Odd ones in colour, even ones in texture.
void SeparateDots(CDotPart& part, int count, int material, int textured) {
    for (int n = 0; n < count; ++n) {
        const int x = n % 16 * 2, y = n / 16 % 16 * 2, z = n / 256 * 2;
        part.SetDot(x, y, z, n % 2 ? material : textured);
    }
}

std::unique_ptr<CDotDocument> SolidDotsDocument() {
    auto document = std::make_unique<CDotDocument>();
    document->GetColor(2).SetMaterial(true);
    auto solid = document->CreatePart(1, u"塊");
    solid->SetDots(std::vector<uint8_t>(GridDots, 2));
    document->InsertChild(-1, std::move(solid));
    auto dots = document->CreatePart(2, u"粒");
    SeparateDots(*dots, 2048, 2, 8);
    document->InsertChild(-1, std::move(dots));
    document->UpdateAllPlacements();
    return document;
}

std::unique_ptr<CDotDocument> RandomDocument() {
    // 20% of the first 606 rows of 32 dots (eighteen layers and most of the
    // next), in a material and a textured colour: 65,347 vertices.
    constexpr int rows = 606;
    auto document = std::make_unique<CDotDocument>();
    auto part = document->CreatePart(1, u"乱");
    std::mt19937 random(20);
    for (int row = 0; row < rows; ++row)
        for (int x = 0; x < 32; ++x)
            if (random() % 5 == 0)
                part->SetDot(x, row % 32, row / 32, random() % 2 ? 2 : 8);
    document->GetColor(2).SetMaterial(true);
    document->InsertChild(-1, std::move(part));
    document->UpdateAllPlacements();
    return document;
}

std::unique_ptr<CDotDocument> CheckerDocument() {
    auto document = std::make_unique<CDotDocument>();
    document->GetColor(2).SetMaterial(true);
    document->GetColor(8).SetMaterial(true);
    auto part = document->CreatePart(1, u"市松");
    std::vector<uint8_t> grid(GridDots);
    for (int i = 0; i < GridDots; ++i)
        grid[static_cast<size_t>(i)] = ((i & 31) + (i >> 5 & 31) + (i >> 10)) % 2 == 0 ? 8 : 2;
    part->SetDots(grid);
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
        SeparateDots(*part, 1365, 2, 8);
        document->InsertChild(-1, std::move(part));
    }
    document->UpdateAllPlacements();
    return document;
}

} // namespace

std::string SampleFigurePath() {
    return (fs::path(KUBRELL_SOURCE_DIR) / "examples" / "figure.kbrl").string();
}

const std::vector<BENCH_DOCUMENT>& BenchDocuments() {
    static const std::vector<BENCH_DOCUMENT> documents = {
        {"Figure", FigureDocument},       {"Solid", SolidDocument},
        {"SolidDots", SolidDotsDocument}, {"Random20", RandomDocument},
        {"Checker", CheckerDocument},     {"NearLimit", NearLimitDocument},
    };
    return documents;
}
