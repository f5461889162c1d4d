#pragma once
// The clipboard formats of the editor as MIME types: the dot block and the
// part (their payloads are byte-exact document records), and the two picture
// formats the dot view writes and reads.

#include <QString>

inline const QString DotImageMimeType = QStringLiteral("application/x-qen-kubrell-dotimage");
inline const QString PartMimeType = QStringLiteral("application/x-qen-kubrell-part");
inline const QString PngMimeType = QStringLiteral("image/png");
// The device-independent bitmap, preceded by the 14-byte BMP file header.
inline const QString BitmapMimeType = QStringLiteral("image/bmp");
