#include "document/DotDocument.h"

// Placement of the parts in model space.

float CDotPart::UpdatePlacement() { return 0.0f; }

void CDotDocument::UpdateAllPlacements() {}
