#pragma once
// Changes of palette entries: colour, alpha and material flag of one or more
// of the 31 entries, as one undo step.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/Command.h"

class CDotDocument;
struct CDotColor;

class CSetColorCommand : public CCommand {
public:
    // The change of one palette entry.
    class CElement {
    public:
        CElement(CDotColor& entry, uint32_t color, float alpha, bool material);

        CDotColor* entry; // the document's palette entry (not owned)
        uint32_t beforeColor;
        int32_t beforeMaterial;
        float beforeAlpha;
        uint32_t afterColor;
        int32_t afterMaterial;
        float afterAlpha;

        // Sets the material flag, then the colour, then the alpha.
        void Apply(bool after) const;
    };

    // Labelled "色の編集" unless another label is given.
    explicit CSetColorCommand(CDotDocument& document, std::u16string name = {});

    CDotDocument* document;                          // not owned
    std::vector<std::unique_ptr<CElement>> elements; // at most one per entry

    // Records that palette index 1–31 takes the given values. The first change
    // of an entry reads its before values from the entry now; later changes of
    // the same entry only replace the after values. Throws std::out_of_range
    // for any other index.
    void AddChange(int index, uint32_t color, float alpha, bool material);
    bool IsEmpty() const { return elements.empty(); }

    // Applies the after (Do) or before (Undo) values in list order; then
    // HINT_PALETTE.
    void Do(CDocumentObserver* view) override;
    void Undo() override;
};
