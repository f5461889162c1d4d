#pragma once
// A palette entry and the default palette.

#include <array>
#include <cstdint>

class CArchiveReader;
class CArchiveWriter;

// Colour values in COLORREF order: red in the lowest byte, then green, then
// blue; the top byte is 0.
constexpr uint32_t MakeColorRef(int red, int green, int blue) {
    return static_cast<uint32_t>(red & 0xFF) | static_cast<uint32_t>(green & 0xFF) << 8 |
           static_cast<uint32_t>(blue & 0xFF) << 16;
}
constexpr int RedOf(uint32_t color) { return static_cast<int>(color & 0xFF); }
constexpr int GreenOf(uint32_t color) { return static_cast<int>(color >> 8 & 0xFF); }
constexpr int BlueOf(uint32_t color) { return static_cast<int>(color >> 16 & 0xFF); }

// Number of palette entries of a document (palette indices 1–31).
constexpr int PaletteSize = 31;

// One palette entry. The material values (diffuse, ambient, specular, power)
// are derived from color and alpha; every setter recomputes them, so they are
// always consistent as long as the fields are changed through the setters.
struct CDotColor {
    uint32_t color = 0;
    float alpha = 1.0f;
    std::array<float, 4> diffuse{0.0f, 0.0f, 0.0f, 1.0f};
    std::array<float, 4> ambient{0.0f, 0.0f, 0.0f, 1.0f};
    std::array<float, 4> specular{0.1f, 0.1f, 0.1f, 1.0f};
    float power = 0.5f;
    // Set: the colour becomes a material of its own; clear: it goes through
    // the shared texture.
    bool material = false;

    CDotColor() = default;
    explicit CDotColor(uint32_t colorRef, float alpha = 1.0f, bool material = false);

    void SetColor(uint32_t colorRef);
    void SetAlpha(float value);
    void SetMaterial(bool flag);
    // Recomputes the derived material values from color and alpha.
    void UpdateMaterial();

    // One palette record of the document file: u32 color, f32 alpha,
    // bool material.
    void Write(CArchiveWriter& archive) const;
    // Reads a palette record of the given file version (no alpha before 560,
    // no material flag before 528; what the record lacks takes the default,
    // alpha 1.0 and no material); alpha becomes 1.0 whenever the entry is not
    // a material, and the derived values are recomputed.
    void Read(CArchiveReader& archive, int version);

    bool operator==(const CDotColor& other) const = default;
};

// The palette of every new document: black, the seven hues blue, green, cyan,
// red, magenta, yellow, white at the levels 255, 191, 127 and 63, then two
// more blacks; all opaque and textured.
std::array<CDotColor, PaletteSize> DefaultPalette();
