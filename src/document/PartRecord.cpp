#include "document/Archive.h"
#include "document/DotPart.h"

// The part record of the document file and the part clipboard payload.

void CDotPart::Load(CArchiveReader&, int) {
    throw CArchiveException("part record: reading not implemented");
}

void CDotPart::Store(CArchiveWriter&) const {
    throw CArchiveException("part record: writing not implemented");
}
