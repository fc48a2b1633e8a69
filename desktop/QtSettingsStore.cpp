#include "desktop/QtSettingsStore.h"

QtSettingsStore::QtSettingsStore()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("realtopia"),
                QStringLiteral("realtopia")) {}

std::optional<std::string> QtSettingsStore::Read(const std::string& key) {
    const QVariant value = settings_.value(QString::fromStdString(key));
    // A damaged file may give a list or nothing at all where a text belongs.
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString().toStdString();
}

void QtSettingsStore::Write(const std::string& key, const std::string& value) {
    settings_.setValue(QString::fromStdString(key), QString::fromStdString(value));
    settings_.sync();
}
