#pragma once
// A readable description of everything a document holds that an edit may
// change: the tree with every part's settings, references, joint points,
// physics, grid bytes and placement, the palette and the document settings.
// Two equal snapshots mean undo put everything back.

#include <string>

class CDotDocument;

std::string DescribeDocument(const CDotDocument& document);
