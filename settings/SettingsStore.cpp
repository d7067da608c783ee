#include "SettingsStore.h"

#include <limits>

namespace rova {

namespace {

// getSettingInt reads through a 16-character buffer: one character is the terminator.
constexpr int kIntegerTextLength = 15;

}  // namespace

std::optional<int> parseLeadingInteger(const QString& text) {
    int pos = 0;
    while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t')) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    const int firstDigit = pos;
    long long magnitude = 0;
    // Past the int range the magnitude only has to stay there: it stops growing, so any number
    // of digits saturates instead of overflowing.
    constexpr long long kSaturated = 10LL * std::numeric_limits<int>::max();
    while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
        if (magnitude < kSaturated) {
            magnitude = magnitude * 10 + (text[pos].unicode() - u'0');
        }
        ++pos;
    }
    if (pos == firstDigit) {
        return std::nullopt;
    }
    const long long value = negative ? -magnitude : magnitude;
    constexpr long long kMin = std::numeric_limits<int>::min();
    constexpr long long kMax = std::numeric_limits<int>::max();
    return static_cast<int>(value < kMin ? kMin : (value > kMax ? kMax : value));
}

int SettingsStore::getSettingInt(const QString& key, int defaultValue) const {
    const std::optional<QString> stored = readString(kSettingsSection, key);
    if (!stored || stored->isEmpty()) {
        return defaultValue;
    }
    return parseLeadingInteger(stored->left(kIntegerTextLength)).value_or(defaultValue);
}

bool SettingsStore::getSettingString(QString& value, const QString& key,
                                     const QString& defaultValue) const {
    value = readString(kSettingsSection, key).value_or(defaultValue);
    return !value.isEmpty();
}

bool SettingsStore::setSettingString(const QString& key, const std::optional<QString>& value) {
    if (value) {
        const std::optional<QString> stored = readString(kSettingsSection, key);
        if (stored && !stored->isEmpty() && *stored == *value) {
            return true;
        }
    }
    return writeString(kSettingsSection, key, value);
}

bool SettingsStore::setSettingInt(const QString& key, long value) {
    return setSettingString(key, QString::number(value));
}

}  // namespace rova
