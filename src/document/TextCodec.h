#pragma once
// Text conversions between the encodings the program meets: UTF-16 (the
// document's strings), UTF-8 (the terminal, JSON, file names) and code page 932
// (old document strings and the fixed-width text fields of model files).

#include <string>
#include <string_view>

// UTF-16 → UTF-8. Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// UTF-8 → UTF-16. Invalid sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// UTF-16 → code page 932 bytes. Characters that code page 932 cannot hold
// become '?'.
std::string Utf16ToCp932(std::u16string_view text);
// Code page 932 bytes → UTF-16. Invalid or truncated byte sequences become
// U+FFFD; it never fails.
std::u16string Cp932ToUtf16(std::string_view bytes);
