#pragma once
// The text of the float fields in the rigging dialogs. A value is shown in the
// shortest form that reads back as the same float, so confirming a dialog
// without touching a field gives back exactly the stored value; text read
// from a field is accepted only as a finite number within float range.

#include <optional>
#include <string>
#include <string_view>

// The shortest decimal text that parses back to value ("17.188734", "-9",
// "1e+20"); "nan" and "inf" for values that are not finite.
std::string FormatFloat(float value);

enum class FloatTextError {
    None,
    NotANumber, // empty, letters, trailing garbage, "nan", "inf"
    OutOfRange, // beyond float range, or so small that it would read as 0
};

// Reads a number written in the C locale, blanks around it allowed. Refuses
// everything that is not a finite float, rather than clamping or rounding it
// to infinity or zero.
std::optional<float> ParseFloat(std::string_view text, FloatTextError* error = nullptr);
