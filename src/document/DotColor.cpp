#include "document/DotColor.h"

#include "document/Archive.h"

CDotColor::CDotColor(uint32_t colorRef, float alphaValue, bool materialFlag)
    : color(colorRef), alpha(alphaValue), material(materialFlag) {
    UpdateMaterial();
}

void CDotColor::SetColor(uint32_t colorRef) {
    color = colorRef;
    UpdateMaterial();
}

void CDotColor::SetAlpha(float value) {
    alpha = value;
    UpdateMaterial();
}

void CDotColor::SetMaterial(bool flag) {
    material = flag;
    UpdateMaterial();
}

void CDotColor::UpdateMaterial() {
    const float r = static_cast<float>(RedOf(color)) / 255.0f;
    const float g = static_cast<float>(GreenOf(color)) / 255.0f;
    const float b = static_cast<float>(BlueOf(color)) / 255.0f;
    diffuse = {r, g, b, alpha};
    ambient = {0.3f * r, 0.3f * g, 0.3f * b, alpha};
    specular = {0.1f, 0.1f, 0.1f, alpha};
    power = 0.5f;
}

void CDotColor::Write(CArchiveWriter& archive) const {
    archive.WriteU32(color);
    archive.WriteF32(alpha);
    archive.WriteBool(material);
}

void CDotColor::Read(CArchiveReader& archive, int version) {
    // The top byte of a colour is always 0; keep it so even for odd files.
    color = archive.ReadU32() & 0xFFFFFF;
    // Values an older record lacks take their defaults rather than whatever
    // this entry held before.
    alpha = version >= 560 ? archive.ReadF32() : 1.0f;
    material = version >= 528 ? archive.ReadBool() : false;
    if (!material)
        alpha = 1.0f;
    UpdateMaterial();
}

std::array<CDotColor, PaletteSize> DefaultPalette() {
    std::array<CDotColor, PaletteSize> palette;
    palette[0] = CDotColor(MakeColorRef(0, 0, 0));
    // The seven hues in palette order: blue, green, cyan, red, magenta,
    // yellow, white (bit 0 blue, bit 1 green, bit 2 red).
    int index = 1;
    for (int step = 4; step >= 1; --step) {
        const int value = step * 255 / 4; // 1020, 765, 510, 255 over 4
        for (int hue = 1; hue <= 7; ++hue) {
            palette[index++] = CDotColor(
                MakeColorRef(hue & 4 ? value : 0, hue & 2 ? value : 0, hue & 1 ? value : 0));
        }
    }
    palette[29] = CDotColor(MakeColorRef(0, 0, 0));
    palette[30] = CDotColor(MakeColorRef(0, 0, 0));
    return palette;
}
