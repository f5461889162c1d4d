#pragma once
// Float edit fields of the rigging dialogs: shown so that an untouched field
// reads back as the same float, and read all at once at OK.

#include <QString>
#include <span>

class QLineEdit;
class QWidget;

// Shows value in edit in its shortest round-trip form.
void ShowFloat(QLineEdit* edit, float value);

// Reads edits[i] into values[i]. At the first field that holds no finite float
// (empty, not a number, NaN, infinity, out of float range) it focuses and
// selects that field, warns in a message box over dialog saying why, and
// returns false; values is then left partly written.
bool ReadFloatFields(QWidget* dialog, std::span<QLineEdit* const> edits, std::span<float> values);

// The message ReadFloatFields shows for text, or an empty string when text
// is a valid float.
QString FloatFieldProblem(const QString& text);
