#pragma once
// The per-user settings of the editor: the core's profile interface over
// QSettings (organisation "Quenvale", application "Kubrell"; on Linux the file
// Quenvale/Kubrell.conf under the XDG config folder). Sections become
// QSettings groups and keys keep their names.

#include <QSettings>

#include "document/Profile.h"

class CSettingsProfile : public CProfile {
public:
    CSettingsProfile();

    std::u16string GetString(std::u16string_view section, std::u16string_view key,
                             std::u16string_view defaultValue = {}) const override;
    // Integers may be stored as numbers or as decimal text (also 0x… hex);
    // a value that is no integer reads as defaultValue.
    int GetInt(std::u16string_view section, std::u16string_view key,
               int defaultValue) const override;
    void WriteString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value) override;
    void WriteInt(std::u16string_view section, std::u16string_view key, int value) override;

    // Writes pending changes to disk.
    void Flush();

private:
    mutable QSettings settings_;
};
