#include "document/DotDocument.h"

// The standard humanoid skeleton of a new document.

void CDotDocument::AddStandardSkeleton() {}

std::span<const CPart::TEMPLATE> CDotDocument::GetTemplates() const { return {}; }
