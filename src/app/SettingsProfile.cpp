#include "app/SettingsProfile.h"

namespace {

QString KeyPath(std::u16string_view section, std::u16string_view key) {
    return QString::fromUtf16(section.data(), static_cast<qsizetype>(section.size())) + u'/' +
           QString::fromUtf16(key.data(), static_cast<qsizetype>(key.size()));
}

std::u16string ToU16(const QString& text) { return text.toStdU16String(); }

} // namespace

CSettingsProfile::CSettingsProfile()
    : settings_(QStringLiteral("Quenvale"), QStringLiteral("Kubrell")) {}

std::u16string CSettingsProfile::GetString(std::u16string_view section, std::u16string_view key,
                                           std::u16string_view defaultValue) const {
    const QVariant value = settings_.value(KeyPath(section, key));
    if (!value.isValid())
        return std::u16string(defaultValue);
    return ToU16(value.toString());
}

int CSettingsProfile::GetInt(std::u16string_view section, std::u16string_view key,
                             int defaultValue) const {
    const QVariant value = settings_.value(KeyPath(section, key));
    if (!value.isValid())
        return defaultValue;
    bool ok = false;
    // Base 0 takes decimal and 0x… hex; values up to 0xFFFFFFFF wrap like a
    // 32-bit registry integer.
    const qlonglong number = value.toString().trimmed().toLongLong(&ok, 0);
    return ok ? static_cast<int>(static_cast<uint32_t>(number)) : defaultValue;
}

void CSettingsProfile::WriteString(std::u16string_view section, std::u16string_view key,
                                   std::u16string_view value) {
    settings_.setValue(KeyPath(section, key),
                       QString::fromUtf16(value.data(), static_cast<qsizetype>(value.size())));
}

void CSettingsProfile::WriteInt(std::u16string_view section, std::u16string_view key, int value) {
    settings_.setValue(KeyPath(section, key), value);
}

void CSettingsProfile::Flush() { settings_.sync(); }
