#include "document/DotDocument.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "document/DocumentCommands.h"
#include "document/DotPart.h"
#include "document/Profile.h"

CDotDocument::CDotDocument() {
    const CProfile& profile = GetProfile();
    dotSize = ReadDotSizeSetting(profile);
    background = ReadBackgroundSetting(profile);
}

CDotDocument::~CDotDocument() = default;

CDotColor& CDotDocument::GetColor(int index) {
    if (index < 1 || index > PaletteSize)
        throw std::out_of_range("palette index " + std::to_string(index) + " out of range");
    return colors[static_cast<size_t>(index - 1)];
}

const CDotColor& CDotDocument::GetColor(int index) const {
    return const_cast<CDotDocument*>(this)->GetColor(index);
}

int CDotDocument::FindNearestColor(uint32_t colorRef) const {
    int best = 1;
    int bestDistance = -1;
    for (int index = 1; index <= PaletteSize; ++index) {
        const uint32_t c = colors[static_cast<size_t>(index - 1)].color;
        const int distance = std::abs(RedOf(c) - RedOf(colorRef)) +
                             std::abs(GreenOf(c) - GreenOf(colorRef)) +
                             std::abs(BlueOf(c) - BlueOf(colorRef));
        if (bestDistance < 0 || distance < bestDistance) {
            best = index;
            bestDistance = distance;
        }
    }
    return best;
}

std::unique_ptr<CDotPart> CDotDocument::CreatePart(int id, std::u16string name) {
    return std::make_unique<CDotPart>(this, id, std::move(name));
}

std::unique_ptr<CPart> CDotDocument::PastePart(std::unique_ptr<CPart> loaded) {
    if (!loaded)
        return nullptr;
    loaded->parent = nullptr;
    Renumber(*loaded, GetMaxId(0));
    ResolveSubtreeReferences(*loaded);
    return loaded;
}

void CDotDocument::DeleteContents() {
    CTreeDocument::DeleteContents();
    const CProfile& profile = GetProfile();
    dotSize = ReadDotSizeSetting(profile);
    colors = DefaultPalette();
    currentColor = {8, 0};
    background = ReadBackgroundSetting(profile);
    modelPath.clear();
}

void CDotDocument::OnNewDocument() {
    DeleteContents();
    SetModifiedFlag(false);
    AddStandardSkeleton();
    UpdateAllPlacements();
    currentPart = GetChild(0);
}

void CDotDocument::OnDocumentLoaded() {
    currentPart = GetChild(0);
    UpdateAllPlacements();
}

// The current part and the undo list come first, then the document's own
// edit commands.
bool CDotDocument::OnCommand(unsigned id) {
    return CTreeDocument::OnCommand(id) || OnDocumentEditCommand(*this, id);
}

bool CDotDocument::OnUpdateCommand(unsigned id, CCommandState& state) {
    return CTreeDocument::OnUpdateCommand(id, state) ||
           OnUpdateDocumentEditCommand(*this, id, state);
}
