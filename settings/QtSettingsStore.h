#pragma once

#include <QSettings>
#include <memory>

#include "SettingsStore.h"

namespace rova {

// The settings store on an INI file: by default the per-user one of organisation "Mirelight",
// application "Rova"; tests give a file of their own. Sections are INI groups and every value is
// stored as text.
class QtSettingsStore final : public SettingsStore {
  public:
    QtSettingsStore();
    explicit QtSettingsStore(const QString& iniPath);

    bool writeString(const QString& section, const QString& key,
                     const std::optional<QString>& value) override;
    std::optional<QString> readString(const QString& section, const QString& key) const override;

    // Writes pending changes to the file now.
    void sync();

  private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace rova
