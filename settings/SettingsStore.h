#pragma once

#include <QString>
#include <optional>

namespace rova {

// Where every part of the program keeps its settings: text values by section and key. The typed
// accessors work on the section "Settings", store integers as decimal text and never report a
// missing or malformed value: the caller's default stands in for it.
class SettingsStore {
  public:
    static inline const QString kSettingsSection = QStringLiteral("Settings");

    virtual ~SettingsStore() = default;

    // Stores the value; no value deletes the key. Returns whether the store took it.
    virtual bool writeString(const QString& section, const QString& key,
                             const std::optional<QString>& value) = 0;
    // The stored value, or nothing when the key is missing.
    virtual std::optional<QString> readString(const QString& section, const QString& key) const = 0;

    // The number at the start of the value (leading blanks and a sign allowed), read from at most
    // its first 15 characters; the default when the value is missing, empty or not a number.
    int getSettingInt(const QString& key, int defaultValue) const;
    // The value (the default when missing); returns whether the result is non-empty.
    bool getSettingString(QString& value, const QString& key, const QString& defaultValue) const;
    // Writes the value unless the same non-empty text is already stored; returns success.
    bool setSettingString(const QString& key, const std::optional<QString>& value);
    // Writes the value as decimal text.
    bool setSettingInt(const QString& key, long value);
};

// Parses the leading decimal number of a settings value, as getSettingInt reads it.
std::optional<int> parseLeadingInteger(const QString& text);

}  // namespace rova
