#include "QtSettingsStore.h"

namespace rova {

namespace {

QString fullKey(const QString& section, const QString& key) {
    return section + u'/' + key;
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("Mirelight"), QStringLiteral("Rova"))) {}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

bool QtSettingsStore::writeString(const QString& section, const QString& key,
                                  const std::optional<QString>& value) {
    if (value) {
        settings_->setValue(fullKey(section, key), *value);
    } else {
        settings_->remove(fullKey(section, key));
    }
    return settings_->status() == QSettings::NoError && settings_->isWritable();
}

std::optional<QString> QtSettingsStore::readString(const QString& section,
                                                   const QString& key) const {
    const QVariant value = settings_->value(fullKey(section, key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    // INI values that look like lists come back as string lists; rejoin them as stored.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QStringLiteral(", "));
    }
    return value.toString();
}

void QtSettingsStore::sync() {
    settings_->sync();
}

}  // namespace rova
