// The last stages of generation: the texture image in memory, then the model
// and its texture written as a pair.

#include "generator/Generator.h"

#include "document/StagedFile.h"
#include "generator/PMXWriter.h"
#include "generator/PngWriter.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>
#include <thread>

void CGenerator::RescaleTextureCoordinates() {
    if (!textured || uvRescaled)
        return;
    const int height = atlas.ImageHeight();
    for (CModelVertex& vertex : model.vertices) {
        const auto scaled = CTextureAtlas::Rescale({vertex.uv.x, vertex.uv.y}, height);
        vertex.uv = {scaled.u, scaled.v};
    }
    uvRescaled = true;
}

void CGenerator::EncodeImage() {
    try {
        textureBytes =
            EncodePngBands(CTextureAtlas::IMAGE_WIDTH, CTextureAtlas::CELL_PIXELS,
                           atlas.ImageHeight() / CTextureAtlas::CELL_PIXELS,
                           [this](int band, uint8_t* row) { atlas.FillPixelRow(band, row); });
    } catch (const CPngException& e) {
        throw CPngException(texturePath + ": " + e.what());
    }
    textureEncoded = true;
}

void CGenerator::EncodeTexture() {
    RescaleTextureCoordinates();
    if (textured && !textureEncoded)
        EncodeImage();
}

void CGenerator::WriteFiles() {
    // Both targets are checked before either temporary is made, so that a
    // folder in the way of the second leaves no stray first file.
    RequireWritableTarget(path);
    if (textured)
        RequireWritableTarget(texturePath);
    const std::string modelFolder = std::filesystem::path(path).parent_path().string();
    RemoveStaleTemporaries(modelFolder);
    if (textured) {
        const std::string textureFolder = std::filesystem::path(texturePath).parent_path().string();
        if (textureFolder != modelFolder)
            RemoveStaleTemporaries(textureFolder);
    }
    // The model holds the final texture coordinates before it is written.
    RescaleTextureCoordinates();
    // The image is made here first, where the memory the build freed is at
    // hand (on another thread it would take fresh pages).
    if (textured && !textureEncoded)
        EncodeImage();

    // The texture is staged on a second thread while this one stages the
    // model: the two files' writes and their waits for the disk overlap. The
    // texture thread reads only the image bytes and allocates next to
    // nothing. A PMD goes through a small buffer straight into its temporary
    // file; a PMX is serialised whole first, since its index widths follow
    // the counts.
    std::optional<CStagedFile> texture;
    std::exception_ptr textureError;
    auto stageTexture = [&] {
        try {
            texture.emplace(texturePath, textureBytes);
        } catch (...) {
            textureError = std::current_exception();
        }
    };
    std::thread worker;
    if (textured) {
        try {
            worker = std::thread(stageTexture);
        } catch (const std::system_error&) {
            stageTexture(); // no thread to be had: one after the other
        }
    }
    std::optional<CStagedFile> modelFile;
    std::exception_ptr modelError;
    try {
        if (format == ModelFormat::PMX) {
            modelFile.emplace(path, PMXBytes(model));
        } else {
            modelFile.emplace(path, [this](const CArchiveWriter::SINK& sink) {
                CArchiveWriter archive(sink, CPMDModel::FILE_BUFFER_SIZE);
                model.Write(archive);
                archive.Flush();
            });
        }
    } catch (...) {
        modelError = std::current_exception();
    }
    if (worker.joinable())
        worker.join();
    // The texture's failure is told first, as when it was staged before the
    // model; either way both temporaries are gone.
    if (textureError)
        std::rethrow_exception(textureError);
    if (modelError)
        std::rethrow_exception(modelError);
    // From here on only the renames are left: a kill between them is the one
    // moment the pair can be mixed.
    modelFile->Commit();
    if (texture)
        texture->Commit();
}
