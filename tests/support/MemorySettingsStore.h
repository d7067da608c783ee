#pragma once

#include <QMap>
#include <QPair>

#include "SettingsStore.h"

namespace rova::test {

// Settings kept in memory, counting the writes that reach the store.
class MemorySettingsStore final : public SettingsStore {
  public:
    bool writeString(const QString& section, const QString& key,
                     const std::optional<QString>& value) override {
        ++writes;
        if (value) {
            values[{section, key}] = *value;
        } else {
            values.remove({section, key});
        }
        return true;
    }
    std::optional<QString> readString(const QString& section, const QString& key) const override {
        const auto it = values.constFind({section, key});
        if (it == values.constEnd()) {
            return std::nullopt;
        }
        return *it;
    }
    QString setting(const QString& key) const { return values.value({kSettingsSection, key}); }
    void set(const QString& key, const QString& value) { values[{kSettingsSection, key}] = value; }

    QMap<QPair<QString, QString>, QString> values;
    int writes = 0;
};

}  // namespace rova::test
