// Materials and the texture atlas of CGenerator: which colours become
// materials and in what order, the regions of textured faces, and the
// per-material triangle lists.

#include "generator/Generator.h"

#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/Grid.h"

#include <algorithm>
#include <cmath>

namespace {

// Adds to used bit i for every palette index i that a dot of grid has.
// Sixteen empty dots, most of a sparse part, are passed over at once;
// otherwise eight dots are read as one word, and a word equal to the one
// before (a run of one colour) adds nothing new. The others are split over
// two masks, so the bytes do not wait on one chain of ORs.
void MarkUsedIndices(const uint8_t* grid, uint32_t& used) {
    static_assert(GridDots % 16 == 0 && DotIndexMask == 0x1F);
    uint32_t masks[2] = {};
    uint64_t last = ~0ull; // no word of index bits has bits 5 to 7 set
    auto add = [&](uint64_t word) {
        if (word == last)
            return;
        last = word;
        for (int k = 0; k < 8; ++k)
            masks[k % 2] |= 1u << (word >> (8 * k) & DotIndexMask);
    };
    for (int p = 0; p < GridDots; p += 16) {
        const uint64_t low = IndexBitsOfEight(grid, p);
        const uint64_t high = IndexBitsOfEight(grid, p + 8);
        if ((low | high) == 0) {
            masks[0] |= 1;
            continue;
        }
        add(low);
        add(high);
    }
    used |= masks[0] | masks[1];
}

} // namespace

const CDotColor& SharedTextureColour() {
    static const CDotColor colour(MakeColorRef(255, 255, 255), 1.0f, false);
    return colour;
}

void CGenerator::CreateMaterials() {
    // Which palette indices some dot of the document uses, in one pass.
    uint32_t used = 0;
    for (const PART_INFO& info : parts) {
        const uint8_t* grid = info.part->Grid();
        if (!grid)
            continue;
        MarkUsedIndices(grid, used);
    }

    std::vector<const CDotColor*> candidates;
    textured = std::any_of(document.colors.begin(), document.colors.end(),
                           [](const CDotColor& c) { return !c.material; });
    if (textured)
        candidates.push_back(&SharedTextureColour());
    for (int i = 1; i <= PaletteSize; ++i) {
        const CDotColor& entry = document.colors[static_cast<size_t>(i - 1)];
        if (entry.material && (used >> i & 1))
            candidates.push_back(&entry);
    }
    // Opaque before translucent; equal opacities keep the candidate order.
    // A NaN opacity sorts last (and keeps the order a strict weak one).
    auto opacity = [](const CDotColor* c) { return std::isnan(c->alpha) ? -INFINITY : c->alpha; };
    std::stable_sort(
        candidates.begin(), candidates.end(),
        [&](const CDotColor* a, const CDotColor* b) { return opacity(a) > opacity(b); });

    for (const CDotColor* colour : candidates) {
        CModelMaterial& record = model.materials.emplace_back();
        record.diffuse = {colour->diffuse[0], colour->diffuse[1], colour->diffuse[2],
                          colour->diffuse[3]};
        record.ambient = {colour->ambient[0], colour->ambient[1], colour->ambient[2],
                          colour->ambient[3]};
        record.specular = {colour->specular[0], colour->specular[1], colour->specular[2],
                           colour->specular[3]};
        record.power = colour->power;
        record.toonIndex = 0;
        record.edge = document.edge;
        auto& material =
            materials.emplace_back(std::make_unique<CMaterial>(CMaterial{colour, &record}));
        const size_t slot = colour == &SharedTextureColour()
                                ? 0
                                : static_cast<size_t>(colour - document.colors.data()) + 1;
        materialOf[slot] = material.get();
    }
}

CGenerator::CMaterial& CGenerator::FindMaterial(const CDotColor* colour) {
    size_t slot = 0;
    if (colour != &SharedTextureColour()) {
        const CDotColor* first = document.colors.data();
        if (colour < first || colour >= first + PaletteSize)
            throw std::logic_error("a face has a colour outside the palette");
        slot = static_cast<size_t>(colour - first) + 1;
    }
    if (!materialOf[slot])
        throw std::logic_error("a face has a colour without a material");
    return *materialOf[slot];
}

CTextureAtlas::PLACE CGenerator::PlaceTexture(const PART_INFO& info, const CBlock::CSurface& face) {
    const CBlock::TEXTURE_LAYOUT layout = CBlock::GetTextureLayout(face);
    const CTextureAtlas::PLACE place = atlas.Place(layout.width, layout.height);
    // The dot shown in column j, row i lies j column steps and i row steps
    // from the corner dot, and each step is a fixed offset in the grid.
    const uint8_t* grid = info.part->Grid();
    auto offset = [](const std::array<int, 3>& v) { return GridIndex(v[0], v[1], v[2]); };
    const int columnStep = offset(layout.column);
    const int rowStep = offset(layout.row);
    for (int i = 0; i < layout.height; ++i) {
        uint32_t* cells = atlas.PaintRow(place.row + i, place.column, layout.width);
        const uint8_t* dot = grid + offset(layout.corner) + i * rowStep;
        for (int j = 0; j < layout.width; ++j, dot += columnStep) {
            const int index = *dot & DotIndexMask;
            cells[j] = index ? document.colors[static_cast<size_t>(index - 1)].color : 0;
        }
    }
    return place;
}

void CGenerator::RecordFaceCounts() {
    for (const auto& material : materials) {
        // The faces emitted are those counted: each range is full.
        if (material->next != material->first + 6 * material->faces)
            throw std::logic_error("a material's faces were miscounted");
        material->record->faceVertexCount = static_cast<uint32_t>(material->next - material->first);
    }
}
