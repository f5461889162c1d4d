#include "support/TestDocument.h"

CDotPart& AddPart(CDotDocument& document, CPart* parent, std::u16string name, int boneKind) {
    auto part = document.CreatePart(document.GetMaxId(0) + 1, std::move(name));
    part->boneKind = boneKind;
    CDotPart& added = *part;
    if (parent) {
        part->parentId = parent->id;
        parent->InsertChild(-1, std::move(part));
    } else {
        document.InsertChild(-1, std::move(part));
    }
    return added;
}

void FillBox(CDotPart& part, int x0, int x1, int y0, int y1, int z0, int z1, int index) {
    for (int z = z0; z <= z1; ++z)
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                part.SetDot(x, y, z, index);
}

void MakeMaterial(CDotDocument& document, int index, uint32_t colorRef, float alpha) {
    CDotColor& colour = document.GetColor(index);
    colour.SetColor(colorRef);
    colour.SetMaterial(true);
    colour.SetAlpha(alpha);
}
