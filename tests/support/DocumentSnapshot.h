#pragma once
// A readable description of everything a document holds that an edit may
// change: the tree with every part's settings, references, joint points,
// physics, grid bytes and placement, the palette and the document settings.
// Two equal snapshots mean undo put everything back.

#include <string>

class CDotDocument;

// withCurrent: include the current part (view state that some commands
// leave where their Do put it).
std::string DescribeDocument(const CDotDocument& document, bool withCurrent = true);

// The lines that differ between two descriptions, for failure messages.
std::string DiffDescriptions(const std::string& expected, const std::string& actual);
