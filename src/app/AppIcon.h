#pragma once
// The program icon (a few coloured cubes, the same picture as
// data/kubrell.svg), painted in code so that no image plug-in is needed.

#include <QIcon>
#include <QPixmap>

// The icon at size × size pixels.
QPixmap PaintAppIcon(int size);
// The icon at the usual sizes, for windows.
QIcon AppIcon();
