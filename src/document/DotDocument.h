#pragma once
// The application's document: the part tree plus the palette, the current
// drawing colours, the dot size, the background colour, the last model path,
// the edge flag and the computed model offset.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "document/DotColor.h"
#include "document/TreeDocument.h"

// Users of the parts' grids include DotPart.h themselves, so that an edit of
// the part does not rebuild everything that only knows the document.
class CDotPart;

class CDotDocument : public CTreeDocument {
public:
    CDotDocument();
    ~CDotDocument() override;

    float dotSize = 0.5f; // edge of one dot in model units before rates
    std::array<CDotColor, PaletteSize> colors = DefaultPalette();
    // Drawing colours of the left and right button (0 draws empty dots).
    std::array<int32_t, 2> currentColor{8, 0};
    uint32_t background = 0xFFFFFF; // COLORREF of the views' background
    std::u16string modelPath;       // last generated model file, empty when none
    bool edge = true;               // whether generated materials draw edges
    std::array<float, 4> modelOffset{0.0f, 0.0f, 0.0f, 0.0f};

    // The palette entry of index 1–31; throws std::out_of_range otherwise.
    CDotColor& GetColor(int index);
    const CDotColor& GetColor(int index) const;
    // The palette index 1–31 nearest to colorRef by the sum of the channel
    // differences; the lowest index wins ties; never 0.
    int FindNearestColor(uint32_t colorRef) const;

    std::unique_ptr<CDotPart> CreatePart(int id, std::u16string name) override;
    // Numbers an already loaded part and its subtree after the largest id in
    // the tree, makes its name unique and resolves its references; returns it
    // for the caller to insert with a command.
    std::unique_ptr<CPart> PastePart(std::unique_ptr<CPart> loaded);

    // Clears the undo list and the tree, resets the palette, the current
    // colours and the dot size, reloads the background from the profile and
    // empties the model path. The edge flag keeps its value.
    void DeleteContents() override;
    // A fresh document: delete contents, clear the modified flag, build the
    // standard skeleton, place it and make the first part current.
    void OnNewDocument();
    // After a file was read: make the first part current and place the parts.
    void OnDocumentLoaded();
    // Adds the parts of the standard bone table to an empty tree.
    void AddStandardSkeleton();

    void UpdateAllPlacements() override;
    std::span<const CPart::TEMPLATE> GetTemplates() const override;

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(unsigned id, CCommandState& state) override;
};
