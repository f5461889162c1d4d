#pragma once
// Reader of the flat-list layout of document files 512–767 (described in
// DocumentFile.h).

class CArchiveReader;
class CDotDocument;

// Reads the rest of a flat-list file (after the version) into an empty
// document: the settings, the bone entries as the part tree, the grids and
// the joint points. Throws CArchiveException on truncated or unacceptable
// data (parts nested deeper than MaxPartDepth).
void ReadFlatList(CArchiveReader& archive, CDotDocument& document, int version);
