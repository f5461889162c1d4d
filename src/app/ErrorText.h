#pragma once
// Messages for failures the user must hear about: what failed and why in
// Japanese, then the technical detail the failing layer gave.

#include <QString>
#include <exception>

// Why path could not be read, judged from the file itself.
QString ReadFailureReason(const QString& path);
// Why path could not be written, judged from the file and its folder.
QString WriteFailureReason(const QString& path);

// "%1 を開けませんでした。" with the reason and the detail.
QString OpenFailedMessage(const QString& path, const std::exception& error);
// "%1 を保存できませんでした。" with the reason and the detail.
QString SaveFailedMessage(const QString& path, const std::exception& error);
// The text for a command that failed with error.
QString CommandFailedMessage(const std::exception& error);
// Turns exception text (UTF-8) into a QString.
QString DetailText(const std::exception& error);
