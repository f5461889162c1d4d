#pragma once
// The per-user settings store as the core sees it: values by section and key.
// The editor backs it with its settings file; the command-line tool and the
// tests use the in-memory store.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

class CProfile {
public:
    virtual ~CProfile() = default;
    // The string value, or defaultValue when it is missing.
    virtual std::u16string GetString(std::u16string_view section, std::u16string_view key,
                                     std::u16string_view defaultValue = {}) const = 0;
    // The integer value, or defaultValue when it is missing.
    virtual int GetInt(std::u16string_view section, std::u16string_view key,
                       int defaultValue) const = 0;
    virtual void WriteString(std::u16string_view section, std::u16string_view key,
                             std::u16string_view value) = 0;
    virtual void WriteInt(std::u16string_view section, std::u16string_view key, int value) = 0;
};

// Settings held in memory only. Integers are stored as their decimal text, so
// a value written as one kind can be read as the other.
class CMemoryProfile : public CProfile {
public:
    std::u16string GetString(std::u16string_view section, std::u16string_view key,
                             std::u16string_view defaultValue = {}) const override;
    int GetInt(std::u16string_view section, std::u16string_view key,
               int defaultValue) const override;
    void WriteString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value) override;
    void WriteInt(std::u16string_view section, std::u16string_view key, int value) override;
    // Forgets every value.
    void Clear() { values_.clear(); }

private:
    // Keyed by section, a NUL and the key.
    std::map<std::u16string, std::u16string> values_;
};

// The process-wide profile: the one set with SetProfile, or an empty
// in-memory profile when none is set. SetProfile(nullptr) goes back to that.
// The profile is not owned and must outlive its use.
CProfile& GetProfile();
void SetProfile(CProfile* profile);

// Section and keys the core reads.
inline constexpr std::u16string_view ProfileWorkspace = u"Workspace";

// The dot size of a new document: "DotSize" of "Workspace" parsed as a
// floating-point number (text that does not parse gives 0.0), 0.5 when the
// value is empty or missing.
float ReadDotSizeSetting(const CProfile& profile);
// The background colour: "Background" of "Workspace", 0xFFFFFF when missing.
uint32_t ReadBackgroundSetting(const CProfile& profile);
// Parses text like the C library's wide-string-to-double conversion: leading
// white space, then the longest valid prefix; 0.0 when there is none.
double ParseDouble(std::u16string_view text);
