#pragma once

#include <QHash>
#include <QPair>

#include "SettingsStore.h"

namespace rova {

// Settings that live only as long as the object: every reader starts from the defaults and
// nothing reaches the user's own settings. The command-line tool plays with these, and tests
// use them to see what was written.
class MemorySettingsStore final : public SettingsStore {
  public:
    bool writeString(const QString& section, const QString& key,
                     const std::optional<QString>& value) override {
        ++writeCount_;
        if (value) {
            values_.insert({section, key}, *value);
        } else {
            values_.remove({section, key});
        }
        return true;
    }
    std::optional<QString> readString(const QString& section, const QString& key) const override {
        const auto it = values_.constFind({section, key});
        if (it == values_.constEnd()) {
            return std::nullopt;
        }
        return *it;
    }

    // The value of a key of the section "Settings" (empty when missing), and setting one
    // without counting it as a write.
    QString setting(const QString& key) const { return values_.value({kSettingsSection, key}); }
    void set(const QString& key, const QString& value) {
        values_.insert({kSettingsSection, key}, value);
    }
    // How many writes have reached the store.
    int writeCount() const { return writeCount_; }

  private:
    QHash<QPair<QString, QString>, QString> values_;
    int writeCount_ = 0;
};

}  // namespace rova
