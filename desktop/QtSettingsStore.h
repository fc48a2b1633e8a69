#pragma once

#include <QSettings>

#include "windows/SettingsStore.h"

// The player's settings in the toolkit's settings file under the user's configuration
// directory: $XDG_CONFIG_HOME/realtopia/realtopia.conf (~/.config/… when unset), an INI file
// (the toolkit's native format on Linux).
// A file that cannot be read or written is as good as none; nothing is reported.
class QtSettingsStore : public ISettingsStore {
public:
    QtSettingsStore();

    std::optional<std::string> Read(const std::string& key) override;
    // Written to the file at once: the program may end any way after a choice.
    void Write(const std::string& key, const std::string& value) override;

    QString FileName() const { return settings_.fileName(); }

private:
    QSettings settings_;
};
