#pragma once
// The program's texts by number: messages, undo labels, menu texts, part
// names of the standard skeleton, status texts and tool tips.

#include <initializer_list>
#include <string>
#include <string_view>

// The text with that number, empty when there is none.
std::u16string LoadString(unsigned id);
// Whether a text with that number exists.
bool HasString(unsigned id);
// The text with each %s (or %d) replaced by the next argument in turn; "%%"
// gives "%". Missing arguments leave the placeholder empty.
std::u16string FormatText(std::u16string_view pattern,
                          std::initializer_list<std::u16string_view> args);
// FormatText over the text with that number.
std::u16string FormatString(unsigned id, std::initializer_list<std::u16string_view> args);
