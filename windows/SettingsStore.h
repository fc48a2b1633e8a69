#pragma once

#include <map>
#include <optional>
#include <string>

// Where the player's settings are kept between runs: texts under keys such as
// "options/tickerSpeed". Each front end brings its own: the desktop the toolkit's settings file,
// the page the browser's local storage. A store that cannot be read answers nothing, and one
// that cannot be written forgets: neither is ever reported to the player.
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    // The text kept under `key`; nothing when there is none or it cannot be read.
    virtual std::optional<std::string> Read(const std::string& key) = 0;
    virtual void Write(const std::string& key, const std::string& value) = 0;
};

// Settings kept for as long as the program runs: the text front end's and the tests'.
class TMemorySettingsStore : public ISettingsStore {
public:
    std::optional<std::string> Read(const std::string& key) override {
        const auto found = Values.find(key);
        if (found == Values.end()) return std::nullopt;
        return found->second;
    }
    void Write(const std::string& key, const std::string& value) override { Values[key] = value; }

    std::map<std::string, std::string> Values;
};
