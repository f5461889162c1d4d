#pragma once
// The two file formats a model can be written in, and how a file name or a
// command-line word chooses one.

#include <optional>
#include <string_view>

enum class ModelFormat {
    PMD, // PMD 1.0: at most 65,535 vertices, code page 932 names in fixed fields
    PMX, // PMX 2.0: UTF-16 names, indices as wide as the counts need
};

// PMX when the file name ends in ".pmx" (any case), PMD for anything else.
inline ModelFormat ModelFormatOfPath(std::string_view path) {
    if (path.size() < 4)
        return ModelFormat::PMD;
    std::string_view tail = path.substr(path.size() - 4);
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    const char* pmx = ".pmx";
    for (size_t i = 0; i < 4; ++i)
        if (lower(tail[i]) != pmx[i])
            return ModelFormat::PMD;
    return ModelFormat::PMX;
}

// "pmd" or "pmx" (lower case), or nothing for any other word.
inline std::optional<ModelFormat> ParseModelFormat(std::string_view word) {
    if (word == "pmd")
        return ModelFormat::PMD;
    if (word == "pmx")
        return ModelFormat::PMX;
    return std::nullopt;
}

inline const char* ModelFormatName(ModelFormat format) {
    return format == ModelFormat::PMX ? "PMX" : "PMD";
}
