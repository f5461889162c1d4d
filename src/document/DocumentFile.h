#pragma once
// The document file (.kbrl): reading every version, writing version 785.
//
// The file is a little-endian byte stream without padding, checksum or magic
// number: a u16 format version, then the document. Booleans are one byte
// (non-zero is true). Strings use the archive string form (Archive.h). A
// joint point is three u8 values (x, y, z) in half dots.
//
// Version 785, the one written:
//   u16 version, f32 dotSize, 31 palette records (u32 colour, f32 alpha,
//   bool material), u32 background, string modelPath, bool edge, u16 number
//   of top-level parts, then the part records.
// Part record (also the part clipboard payload):
//   string name, u16 id, u16 parent id (0 at the top level; the nesting is
//   what counts), u8 flags, f32 × 3 angle, u16 ikRange, string ikName,
//   u16 IK parent id, joint point bonePosition, joint point parentPosition,
//   the dots run-length coded (RunLength.h) unless flag bit 7 is set, f32
//   rate, f32 × 5 rigid-body values when bit 2 is set, f32 × 18 joint values
//   when bit 3 is set, u16 number of children, the child records, u16
//   linkedPartId.
// Flags: bits 0–1 boneKind; bit 2 rigid-body values follow (only written
//   with bit 5, and only when they differ from the defaults); bit 3 joint
//   values follow (likewise with bit 6); bit 4 morph; bit 5 the part has a
//   rigid body; bit 6 it has a joint; bit 7 it has no dots.
//
// History: what older versions lack, and what the reader does about it.
//   < 512  Legacy single-part file: u16 version, the 32 768 dots one byte
//          each, f32 dotSize, 31 colours (u32), one joint point (the part's
//          parentPosition), u32 background, string modelPath. It opens as one
//          part "センター" with id 1 that can move.
//   512–767 Flat list: the settings as in the tree layout up to modelPath,
//          then u16 N bone entries (name, id, parent id, flags, angle,
//          ikRange, ikName, and from 528 the IK parent id) and u16 M grid
//          entries (name, the dots run-length coded, u16 E records of a part
//          id and a joint point). The reader builds the tree from the parent
//          ids, hands each grid to the part of its shallowest record (a part
//          that already has a grid gets a new child for it), sets joint
//          points from the records and fills in those no record gave. No
//          rates, physics or linked parts.
//   < 528  No material flag in palette records; no IK parent ids (in the
//          flat list a part whose parent has an IK name gets that parent as
//          IK parent).
//   < 544  Joint points are in whole dots: the reader doubles them.
//   < 560  No alpha in palette records; the flags byte only says whether the
//          bone can move; no morph flag, rigid bodies or joints.
//   768    The tree layout above.
//   769    Adds the edge flag (older files keep the open document's value)
//          and linkedPartId.
//   785    Joint points of parts with a rate other than 1 are stored as they
//          are; older files stored them unscaled and the reader moves each
//          bonePosition coordinate c to p + trunc((c − p) × rate), p being
//          the part's own parentPosition coordinate, kept within 0–64.
//   > 785  Read as 785.

#include "document/PartLimits.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class CArchiveReader;
class CArchiveWriter;
class CDotDocument;
class CDotPart;

// The version the writer writes.
constexpr int DocumentFileVersion = 785;

// The file image of document, version 785. Throws CArchiveException when the
// document cannot be written as the reader would read it back: more than
// 65 535 parts under one parent, parts nested deeper than MaxPartDepth, an id
// outside 0–65 535, a joint point outside 0–255.
std::vector<uint8_t> WriteDocumentFile(const CDotDocument& document);

// Reads a file image of any version. On success document holds what the file
// describes (its undo list emptied, the references resolved, the first part
// current, the placement computed) and the version read is returned. On
// failure CArchiveException is thrown and document is left as it was: the
// file is read into a separate document first and taken over only when
// complete. A file without an edge flag keeps document's edge value. What the
// reader had to mend (ReadRepairs.h: repeated names, IK parents in a circle,
// joint points scaled off the grid) is added to notes when given.
int ReadDocumentFile(std::span<const uint8_t> bytes, CDotDocument& document,
                     std::vector<std::string>* notes = nullptr);

// WriteDocumentFile saved to path atomically (a failed save leaves the old
// file as it was). Errors name the file.
void SaveDocumentFile(const CDotDocument& document, const std::string& path);
// ReadDocumentFile of the file at path. Errors name the file.
int LoadDocumentFile(const std::string& path, CDotDocument& document,
                     std::vector<std::string>* notes = nullptr);

// Pieces shared by the readers of the layouts and the part record.

// dotSize, the 31 palette records, background and modelPath, in that order.
void ReadDocumentSettings(CArchiveReader& archive, CDotDocument& document, int version);

// A joint point: three u8 values, doubled for files before version 544.
std::array<int, 3> ReadJointPoint(CArchiveReader& archive, int version);
// A joint point: one byte each; throws CArchiveException for a coordinate
// outside 0–255.
void WriteJointPoint(CArchiveWriter& archive, const std::array<int, 3>& point);
// Reads part's record and its subtree; depth is the part's own depth (1 at
// the top level). Throws CArchiveException for records nested deeper than
// MaxPartDepth, and when grids takes no more grids.
void LoadPartRecord(CDotPart& part, CArchiveReader& archive, int version, int depth,
                    CGridBudget& grids);
