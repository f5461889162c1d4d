#pragma once
// Tool-bar pictures of the commands, painted in code on a 24 × 24 grid.

#include <QIcon>

// The picture of a command, or a null icon for a command without one.
QIcon CommandIcon(unsigned id);
