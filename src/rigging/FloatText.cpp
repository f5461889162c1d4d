#include "rigging/FloatText.h"

#include <charconv>
#include <cmath>

std::string FormatFloat(float value) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    char buffer[32];
    // Without a format, to_chars writes the shortest text that round-trips.
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::optional<float> ParseFloat(std::string_view text, FloatTextError* error) {
    const auto fail = [error](FloatTextError why) -> std::optional<float> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    constexpr std::string_view Blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return fail(FloatTextError::NotANumber);
    text = text.substr(first, text.find_last_not_of(Blanks) - first + 1);
    // from_chars takes a minus sign but no plus sign.
    if (text.front() == '+' && text.size() > 1 && text[1] != '-')
        text.remove_prefix(1);
    float value = 0.0f;
    const std::from_chars_result result =
        std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return fail(FloatTextError::OutOfRange);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() ||
        !std::isfinite(value))
        return fail(FloatTextError::NotANumber);
    if (error)
        *error = FloatTextError::None;
    return value;
}
