// libFuzzer entry point: any bytes through the document reader. A file that
// opens must also write, and what it writes must read back to a document
// that writes the very same bytes again.

#include <cstdlib>
#include <span>
#include <vector>

#include "document/Archive.h"
#include "document/DocumentFile.h"
#include "document/DotDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CDotDocument document;
    std::vector<uint8_t> written;
    try {
        ReadDocumentFile(std::span<const uint8_t>(data, size), document);
        written = WriteDocumentFile(document);
    } catch (const CArchiveException&) {
        return 0;
    }
    CDotDocument again;
    try {
        ReadDocumentFile(written, again);
    } catch (const CArchiveException&) {
        std::abort(); // a written file must open
    }
    if (WriteDocumentFile(again) != written)
        std::abort();
    return 0;
}
