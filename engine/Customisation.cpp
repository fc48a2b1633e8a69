// The customisation file beside the program: new names, descriptions and buying prices for
// the twenty London properties, and the contact address.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "engine/Game.h"
#include "engine/Hisc.h"
#include "engine/IniFile.h"

namespace {

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

// An entry counts only when it says something: empty and "unknown" keep the built-in value.
bool Applies(const std::string& value) {
    return !value.empty() && value != "unknown";
}

std::string Numbered(const char* key, int i) {
    char text[16];
    std::snprintf(text, sizeof text, "%s%.2d", key, i);
    return text;
}

}  // namespace

void TGame::DigestCustomisation(std::string_view what) {
    // FNV-1a over what was applied, each piece ended by a zero byte, folded to 15 bits; 0 is
    // kept for a world as built in.
    std::uint64_t hash = customisationHash_ == 0 ? 0xCBF29CE484222325ULL : customisationHash_;
    for (unsigned char c : what) hash = (hash ^ c) * 0x100000001B3ULL;
    hash *= 0x100000001B3ULL;
    customisationHash_ = hash;
    const auto folded = static_cast<std::uint16_t>(
        (hash ^ (hash >> 15) ^ (hash >> 30) ^ (hash >> 45)) & kCustomisationMask);
    customisationDigest_ = folded == 0 ? 1 : folded;
}

std::uint16_t TGame::OwnCustomisation() const {
    TPlatform platform = platform_;
    platform.KeepRecords = false;
    platform.Seed = 1;
    TGame scratch(platform);
    scratch.InitWorld();
    return scratch.customisationDigest_;
}

std::string TGame::CustomisationPath() const {
    return customisation_.Path();
}

void TGame::ReadCustomisation() {
    if (platform_.ProgramPath.empty() || !customisation_.Exists()) return;
    if (platform_.FirstArgument == "noini") return;

    // A file that cannot be read (no permission, a pipe or a device in its place, more than a
    // settings file holds) has no EXE either, and is reported as such.
    const bool read = customisation_.Read();
    const TIniFile& ini = customisation_.Ini();
    const std::string exe = std::filesystem::path(platform_.ProgramPath).filename().string();
    if (!read || !EqualsIgnoringCase(ini.ReadString("ProgramInfo", "EXE", "unknown"), exe)) {
        DigestCustomisation("fake");
        Inform("The INI file is fake or corrupt. (EXE) Ignoring it." + exe);
        return;
    }

    const std::string email = ini.ReadString("General", "EMAIL", "unknown");
    if (Applies(email)) {
        ContactAddress = email;
        DigestCustomisation("EMAIL=" + email);
    }

    for (int i = 1; i <= kPropertiesPerArea; ++i) {
        TProperty& p = Property(i);
        const std::string key = Numbered("NAME", i);
        const std::string name = ini.ReadString("Properties", key, "unknown");
        // Any name will do, brackets and another property's name included: a list's row
        // carries its property's number, so no row is ever found by its text.
        if (Applies(name)) {
            p.Name = name;
            DigestCustomisation(key + "=" + name);
        }
        const std::string description =
            ini.ReadString("Properties", Numbered("DESC", i), "unknown");
        if (Applies(description)) {
            p.Description = description;
            DigestCustomisation(Numbered("DESC", i) + "=" + description);
        }
        const std::string value = ini.ReadString("Properties", Numbered("VALUE", i), "unknown");
        if (Applies(value)) {
            Money price;
            // Up to TGame::kLargestAmount: all twenty may be bought as one block or added up
            // for the area's average, and larger prices would wrap round (a block of three at
            // £400 trillion each came to a negative total). Below zero, buying would pay.
            if (!ParseMoney(value, price) || price > TGame::kLargestAmount || price < Money()) {
                // Report and stop reading; what was applied so far stays, and the new game
                // goes on with it.
                DigestCustomisation("bad " + value);
                Inform("'" + value + "' is not a valid floating point value");
                return;
            }
            p.BuyPrice = price;
            MarketMoved();
            DigestCustomisation(Numbered("VALUE", i) + "=" + std::to_string(price.Raw()));
        }
    }
}
