#include "document/Profile.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "document/TextCodec.h"

namespace {

std::u16string Key(std::u16string_view section, std::u16string_view key) {
    std::u16string joined(section);
    joined.push_back(u'\0');
    joined.append(key);
    return joined;
}

CMemoryProfile& DefaultProfile() {
    static CMemoryProfile profile;
    return profile;
}

CProfile* currentProfile = nullptr;

bool IsSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// Whether an out-of-range number overflowed rather than underflowed: its
// exponent is positive.
bool HasLargeExponent(const char* first, const char* last) {
    for (const char* p = first; p != last; ++p) {
        if (*p == 'e' || *p == 'E' || *p == 'p' || *p == 'P')
            return p + 1 != last && p[1] != '-';
    }
    return true; // a long run of digits without an exponent
}

} // namespace

std::u16string CMemoryProfile::GetString(std::u16string_view section, std::u16string_view key,
                                         std::u16string_view defaultValue) const {
    const auto it = values_.find(Key(section, key));
    return it != values_.end() ? it->second : std::u16string(defaultValue);
}

int CMemoryProfile::GetInt(std::u16string_view section, std::u16string_view key,
                           int defaultValue) const {
    const auto it = values_.find(Key(section, key));
    if (it == values_.end())
        return defaultValue;
    const std::string text = Utf16ToUtf8(it->second);
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 0);
    return end == text.c_str() ? defaultValue : static_cast<int>(value);
}

void CMemoryProfile::WriteString(std::u16string_view section, std::u16string_view key,
                                 std::u16string_view value) {
    values_[Key(section, key)] = std::u16string(value);
}

void CMemoryProfile::WriteInt(std::u16string_view section, std::u16string_view key, int value) {
    values_[Key(section, key)] = Utf8ToUtf16(std::to_string(value));
}

CProfile& GetProfile() { return currentProfile ? *currentProfile : DefaultProfile(); }

void SetProfile(CProfile* profile) { currentProfile = profile; }

double ParseDouble(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    // Only ASCII can belong to a number; the rest ends it.
    std::string ascii;
    for (; i < text.size() && text[i] != 0 && text[i] < 0x80; ++i)
        ascii.push_back(static_cast<char>(text[i]));
    // Parsed without the locale: the decimal point is always '.'.
    bool negative = false;
    size_t pos = 0;
    if (pos < ascii.size() && (ascii[pos] == '+' || ascii[pos] == '-'))
        negative = ascii[pos++] == '-';
    auto format = std::chars_format::general;
    if (ascii.compare(pos, 2, "0x") == 0 || ascii.compare(pos, 2, "0X") == 0) {
        format = std::chars_format::hex;
        pos += 2;
    }
    double value = 0.0;
    const char* first = ascii.data() + pos;
    const char* last = ascii.data() + ascii.size();
    // One sign at most, and none after "0x": from_chars would take a second
    // '-' ("--5", "0x-5") that the C library stops at.
    if (first != last && (*first == '-' || *first == '+'))
        return 0.0;
    const auto result = std::from_chars(first, last, value, format);
    if (result.ec == std::errc::invalid_argument || result.ptr == first)
        return 0.0;
    // Out of range: like the C library, huge values become infinity and
    // tiny ones 0 (from_chars leaves value untouched then).
    if (result.ec == std::errc::result_out_of_range)
        value = HasLargeExponent(first, result.ptr) ? HUGE_VAL : 0.0;
    return negative ? -value : value;
}

float ReadDotSizeSetting(const CProfile& profile) {
    const std::u16string text = profile.GetString(ProfileWorkspace, u"DotSize");
    if (text.empty())
        return 0.5f;
    return static_cast<float>(ParseDouble(text));
}

uint32_t ReadBackgroundSetting(const CProfile& profile) {
    return static_cast<uint32_t>(profile.GetInt(ProfileWorkspace, u"Background", 0xFFFFFF));
}
