#pragma once
// What the reader mends in a file it has read, so that a hostile or damaged
// file cannot lead the rest of the program astray. Each mend adds one note
// (a sentence for the user) to notes.

#include <string>
#include <vector>

class CDotDocument;

using ReadNotes = std::vector<std::string>;

// Part names must be unique: bones are found by name. A name met again (in
// tree order) becomes the name followed by the first number that gives a
// name no part has, as pasting does.
void MakePartNamesUnique(CDotDocument& document, ReadNotes& notes);

// IK parents must not lead round in a circle (a part that is its own IK
// parent, or a loop of them): the reference that closes a loop is dropped.
void DropIkParentCycles(CDotDocument& document, ReadNotes& notes);

// Keeps a joint-point coordinate computed while converting an old file on the
// grid (0–64), noting the part when it had to be moved.
int ClampMigratedPoint(int value, const std::u16string& part, ReadNotes& notes);
