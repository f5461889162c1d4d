#pragma once
// Test helpers for building documents part by part (and scratch folders).

#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "support/TempFolder.h"

#include <string>

// Appends a new part named name under parent (the top level when null) and
// returns it. Ids count up from 1 in creation order.
CDotPart& AddPart(CDotDocument& document, CPart* parent, std::u16string name,
                  int boneKind = BONE_MOVE);

// Sets the dots of the box [x0, x1] × [y0, y1] × [z0, z1] to index.
void FillBox(CDotPart& part, int x0, int x1, int y0, int y1, int z0, int z1, int index);

// Makes palette index the given colour as a material with that opacity.
void MakeMaterial(CDotDocument& document, int index, uint32_t colorRef, float alpha = 1.0f);
