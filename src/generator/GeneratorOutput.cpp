// The last stages of generation: the texture image in memory, then the model
// and its texture written as a pair.

#include "generator/Generator.h"

#include "document/StagedFile.h"
#include "generator/PMXWriter.h"
#include "generator/PngWriter.h"

#include <filesystem>
#include <optional>

void CGenerator::EncodeTexture() {
    textureBytes.clear();
    if (!textured)
        return;
    const int height = atlas.ImageHeight();
    for (CModelVertex& vertex : model.vertices) {
        const auto scaled = CTextureAtlas::Rescale({vertex.uv.x, vertex.uv.y}, height);
        vertex.uv = {scaled.u, scaled.v};
    }
    try {
        textureBytes =
            EncodePngBands(CTextureAtlas::IMAGE_WIDTH, CTextureAtlas::CELL_PIXELS,
                           height / CTextureAtlas::CELL_PIXELS,
                           [this](int band, uint8_t* row) { atlas.FillPixelRow(band, row); });
    } catch (const CPngException& e) {
        throw CPngException(texturePath + ": " + e.what());
    }
}

void CGenerator::WriteFiles() {
    // Both targets are checked before either temporary is made, so that a
    // folder in the way of the second leaves no stray first file.
    RequireWritableTarget(path);
    if (textured)
        RequireWritableTarget(texturePath);
    RemoveStaleTemporaries(std::filesystem::path(path).parent_path().string());
    if (textured)
        RemoveStaleTemporaries(std::filesystem::path(texturePath).parent_path().string());
    std::optional<CStagedFile> texture;
    if (textured)
        texture.emplace(texturePath, textureBytes);
    // A PMD goes through a small buffer straight into its temporary file; a
    // PMX is serialised whole first, since its index widths follow the counts.
    std::optional<CStagedFile> modelFile;
    if (format == ModelFormat::PMX) {
        modelFile.emplace(path, PMXBytes(model));
    } else {
        modelFile.emplace(path, [this](const CArchiveWriter::SINK& sink) {
            CArchiveWriter archive(sink, 1 << 16);
            model.Write(archive);
            archive.Flush();
        });
    }
    // From here on only the renames are left: a kill between them is the one
    // moment the pair can be mixed.
    modelFile->Commit();
    if (texture)
        texture->Commit();
}
