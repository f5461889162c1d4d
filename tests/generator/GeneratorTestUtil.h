#pragma once
// Shared by the generator tests: generating a document into a file and
// parsing the file back.

#include "document/Archive.h"
#include "generator/Generator.h"
#include "support/PMDReader.h"
#include "support/TestDocument.h"

#include <string>

struct GENERATED {
    CGenerator::RESULT result;
    PMDContents file;
};

// Generates document into path and parses what was written.
inline GENERATED GenerateFile(CDotDocument& document, const std::string& path) {
    CGenerator generator(document, path);
    GENERATED generated;
    generated.result = generator.Generate();
    generated.file = ReadPMD(ReadFileBytes(path));
    return generated;
}

// Makes every palette entry a material, so no texture is needed.
inline void MakeAllMaterials(CDotDocument& document) {
    for (CDotColor& colour : document.colors)
        colour.SetMaterial(true);
}
