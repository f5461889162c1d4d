#pragma once
// The files a generation reads and writes, kept apart: a model or texture
// written over the document it was made from, or over each other, would
// destroy the input or half the pair.

#include "generator/Generator.h"

#include <string>

// Raised when the files of a generation are not apart; the message names them.
class COutputClashError : public CGeneratorError {
public:
    using CGeneratorError::CGeneratorError;
};

// The texture image written beside a model: the model's path with the
// extension ".png".
std::string TexturePathFor(const std::string& modelPath);

// Whether the two paths name the same file: the same file system object when
// both exist (a hard or symbolic link is the file it leads to), otherwise the
// same absolute path once "." , ".." and the links of existing folders are
// resolved.
bool IsSameFile(const std::string& a, const std::string& b);

// Throws COutputClashError, before anything is written, unless the document,
// the model and the texture are three different files. documentPath may be
// empty (a document never saved), and is then not compared.
void CheckOutputsApart(const std::string& documentPath, const std::string& modelPath,
                       const std::string& texturePath);
