#include "generator/OutputPaths.h"

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

std::string TexturePathFor(const std::string& modelPath) {
    return fs::path(modelPath).replace_extension(".png").string();
}

bool IsSameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    const bool firstExists = ::stat(a.c_str(), &first) == 0;
    const bool secondExists = ::stat(b.c_str(), &second) == 0;
    if (firstExists && secondExists)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    if (firstExists != secondExists)
        return false;
    auto resolved = [](const std::string& path) {
        std::error_code error;
        fs::path full = fs::weakly_canonical(fs::absolute(path), error);
        return error ? fs::absolute(path).lexically_normal() : full;
    };
    return resolved(a) == resolved(b);
}

void CheckOutputsApart(const std::string& documentPath, const std::string& modelPath,
                       const std::string& texturePath) {
    if (IsSameFile(modelPath, texturePath))
        throw COutputClashError(
            modelPath + ": the model and its texture " + texturePath +
            " would be the same file; choose a model name that does not end in .png");
    if (documentPath.empty())
        return;
    if (IsSameFile(modelPath, documentPath))
        throw COutputClashError(modelPath + ": the model would overwrite the document " +
                                documentPath);
    if (IsSameFile(texturePath, documentPath))
        throw COutputClashError(modelPath + ": its texture " + texturePath +
                                " would overwrite the document " + documentPath);
}
