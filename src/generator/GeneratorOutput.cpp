// The last stages of generation: the texture image in memory, then the model
// and its texture written as a pair.

#include "generator/Generator.h"

#include "document/DotPart.h"
#include "document/StagedFile.h"
#include "generator/ModelStream.h"
#include "generator/PMXWriter.h"
#include "generator/PngWriter.h"
#include "generator/ThreadAside.h"

#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
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
        textureBytes = EncodePngBands(
            CTextureAtlas::IMAGE_WIDTH, CTextureAtlas::CELL_PIXELS,
            atlas.ImageHeight() / CTextureAtlas::CELL_PIXELS,
            [this](int band, uint8_t* row) { atlas.FillPixelRow(band, row); },
            [this](int band) { return atlas.RepeatsRowAbove(band); });
    } catch (const CPngException& e) {
        throw CPngException(texturePath + ": " + e.what());
    }
    textureEncoded = true;
}

namespace {

// Below this many faces the model file is small enough to be written after
// the build: a thread (and the memory it allocates) would cost more than it
// saves. The 32³ checkerboard (6,144 faces, 6,534 vertices) measured no
// faster streamed.
constexpr size_t STREAM_MIN_FACES = 8192;

} // namespace

void CGenerator::StartStream(size_t faces) {
    if (format != ModelFormat::PMD || faces < STREAM_MIN_FACES)
        return;
    // Morphs move vertices after they are made.
    for (const PART_INFO& info : parts)
        if (info.part->morph)
            return;
    // An image too tall to be written refuses the build (CheckTextureSize):
    // the vertices are then still in atlas cells, and nothing is streamed.
    if (textured && emissionImageHeight == 0)
        return;
    streamLimit = model.vertices.capacity();
    // The atlas is complete (PlaceTextures), so the stream's thread can
    // encode the texture and write it while the vertices are made. It alone
    // touches the texture members until it has written the vertices.
    CModelStream::STEPS steps;
    if (textured)
        steps.prelude = [this] {
            EncodeImage();
            stagedTexture = std::make_unique<CStagedFile>(texturePath);
            stagedTexture->Append(textureBytes);
            stagedTexture->StartWriteback();
        };
    // The model stays as it is from Complete until the stream is joined.
    steps.rest = [this](CStagedFile& file) {
        CArchiveWriter tail(file.Sink(), CPMDModel::FILE_BUFFER_SIZE);
        model.WriteTail(tail);
        tail.Flush();
        CArchiveWriter head;
        model.WriteHead(head, model.vertices.size());
        file.WriteAt(0, head.Bytes());
    };
    try {
        stream = std::make_unique<CModelStream>(path, model.vertices.data(), std::move(steps));
    } catch (const std::system_error&) {
        // No thread to be had: the file is written after the build.
    }
}

void CGenerator::WaitForStream() {
    if (stream && !stream->WaitVertices())
        AbandonStream();
}

void CGenerator::AbandonStream() {
    stream.reset();
    stagedTexture.reset();
}

// Flushes the texture the stream wrote while the stream's thread flushes the
// model, then commits both. False when the stream did not complete; the
// caller then writes the files itself and meets any error there.
bool CGenerator::WriteStreamedFiles() {
    if (!stream)
        return false;
    try {
        if (stagedTexture)
            stagedTexture->Finish();
    } catch (const CArchiveException&) {
        return false;
    }
    if (!stream->Join() || stream->ClosedCount() != model.vertices.size() ||
        (textured && !stagedTexture))
        return false;
    std::unique_ptr<CStagedFile> file = stream->TakeFile();
    if (!file) {
        stream.reset();
        return false;
    }
    // As below: the model first, then the texture. The old model's storage
    // is released on the stream's thread while this one goes on; the
    // stream, kept until the generator goes, waits for that.
    stream->CloseAside(file->CommitHoldingReplaced());
    if (stagedTexture)
        stagedTexture->Commit();
    stagedTexture.reset();
    return true;
}

void CGenerator::EncodeTexture() {
    WaitForStream();
    RescaleTextureCoordinates();
    if (textured && !textureEncoded)
        EncodeImage();
}

void CGenerator::WriteFiles() {
    try {
        // Both targets are checked before this thread makes either temporary,
        // so that a folder in the way of the second leaves no stray first
        // file (a stream's temporaries go when a check fails).
        RequireWritableTarget(path);
        if (textured)
            RequireWritableTarget(texturePath);
        const std::string modelFolder = std::filesystem::path(path).parent_path().string();
        RemoveStaleTemporaries(modelFolder);
        if (textured) {
            const std::string textureFolder =
                std::filesystem::path(texturePath).parent_path().string();
            if (textureFolder != modelFolder)
                RemoveStaleTemporaries(textureFolder);
        }
        WaitForStream();
        // The model holds the final texture coordinates before it is written.
        RescaleTextureCoordinates();
        if (WriteStreamedFiles())
            return;
    } catch (...) {
        AbandonStream();
        throw;
    }
    // Not streamed, or the stream failed: the files are written here, and
    // any error the stream met is met again.
    AbandonStream();
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
            worker = StartThreadAside(stageTexture);
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
