#include "components/TMAXINI.h"

#include <utility>
#include <vector>

#include "engine/World.h"

namespace {

// UTF-8 text as its characters, so that lengths count characters and a reported character is
// whole. A stray byte counts as a character of its own.
std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        if ((lead >> 5) == 0x6) {
            length = 2;
        } else if ((lead >> 4) == 0xE) {
            length = 3;
        } else if ((lead >> 3) == 0x1E) {
            length = 4;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                length = 1;
                break;
            }
        }
        chars.push_back(text.substr(i, length));
        i += length;
    }
    return chars;
}

std::string Join(const std::vector<std::string>& chars, std::size_t from, std::size_t count) {
    std::string text;
    for (std::size_t i = from; i < chars.size() && i - from < count; ++i) text += chars[i];
    return text;
}

bool IsFileNameCharacter(const std::string& c) {
    if (c.size() != 1) return false;
    const char ch = c[0];
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
           ch == '!' || ch == '_' || ch == '.';
}

// The first character of `text` found in `forbidden`, or '\0'.
char FirstForbidden(const std::string& text, const std::string& forbidden) {
    for (const char c : text) {
        if (forbidden.find(c) != std::string::npos) return c;
    }
    return '\0';
}

}  // namespace

TMAXINI::TMAXINI(std::shared_ptr<ISystemQueries> queries) : TMAXIM(std::move(queries)) {
    try {
        SetINIFileName(aProjectName() + ".INI");
        directoryType_ = TINIDirectoryType::WINDOWSDIR;
        directory_ = WinDir();
        if (auto cwd = Queries().CurrentDirectory()) {
            currentDirAtCreation_ = *cwd;
        } else {
            currentDirAtCreation_ = "C:\\";
            SetErrorStatus("GetCurrentDirectory function has failed");
        }
        filePath_ = JoinPath(directory_, fileName_);
        SetWriteINITopicName("ProgramInfo");
        SetWriteINIKeyName("Key1");
        SetWriteINIValue("AnyValue");
        SetReadINITopicName("ProgramInfo");
        SetReadINIKeyName("Key1");
    } catch (...) {
        SetErrorStatus("Could not create instance");
    }
}

void TMAXINI::Loaded() {
    TMAXIM::Loaded();
    filePath_ = INIFilePath();
}

std::string TMAXINI::AboutMessage() const {
    return "TMAXINI: the location and names of one INI file, with application information";
}

std::string TMAXINI::JoinPath(const std::string& directory, const std::string& fileName) {
    const bool driveRoot =
        directory.size() == 3 && (directory.back() == '\\' || directory.back() == '/');
    return driveRoot ? directory + fileName : directory + "/" + fileName;
}

void TMAXINI::SetINIDirectoryType(TINIDirectoryType type) {
    directoryType_ = type;
}

std::string TMAXINI::INIDirectory() {
    std::string resolved;
    switch (directoryType_) {
        case TINIDirectoryType::WINDOWSDIR:
            resolved = WinDir();
            break;
        case TINIDirectoryType::SYSTEMDIR:
            resolved = SysDir();
            break;
        case TINIDirectoryType::CURRENTDIR:
            resolved = currentDirAtCreation_;
            break;
        case TINIDirectoryType::USERDEFINED:
            return userDefinedDir_;
    }
    directory_ = resolved;
    filePath_ = JoinPath(directory_, fileName_);
    return resolved;
}

void TMAXINI::SetINIDirectory(const std::string& directory) {
    if (directory == directory_) return;
    if (directoryType_ == TINIDirectoryType::USERDEFINED) {
        StoreUserDefinedDirectory(directory);
    } else {
        INIDirectory();  // the value given is ignored for these types
    }
    filePath_ = JoinPath(directory_, fileName_);
}

std::string TMAXINI::INIFilePath() {
    filePath_ = JoinPath(INIDirectory(), fileName_);
    return filePath_;
}

void TMAXINI::FallBackToWindowsDirectory(const std::string& reason) {
    directory_ = WinDir();
    directoryType_ = TINIDirectoryType::WINDOWSDIR;
    SetErrorStatus(reason);
}

void TMAXINI::StoreUserDefinedDirectory(std::string path) {
    if (path.size() < 2) {
        FallBackToWindowsDirectory("User-Defined INI Directory Path is too short");
        return;
    }
    if (path.size() > 2 && path.back() == '\\') path.pop_back();
    if (const char bad = FirstForbidden(path, "\"*<>?|"); bad != '\0') {
        FallBackToWindowsDirectory("Invalid character(" + std::string(1, bad) +
                                   ") in User-Defined INIPath");
        return;
    }
    const bool networkPath = path.compare(0, 2, "\\\\") == 0;
    if (!networkPath && path[1] != ':') {
        FallBackToWindowsDirectory("2nd character must be a colon in User-Defined INIPath");
        return;
    }
    userDefinedDir_ = path;
    directory_ = path;
}

void TMAXINI::SetINIFileName(const std::string& name) {
    if (name == fileName_) return;
    std::string normalised = name;
    NormaliseFileName(normalised);
    fileName_ = normalised;
}

bool TMAXINI::NormaliseFileName(std::string& name) {
    const std::string fallback = aProjectName() + ".INI";

    if (name.empty()) {
        name = fallback;
        SetErrorStatus("INIFileName set to blank");
    }

    auto chars = Characters(name);
    if (chars.size() > 12) {
        name = Join(chars, 0, 8) + ".INI";
        SetErrorStatus("INIFileName truncated. (more than 8+3 characters)");
    }

    chars = Characters(name);
    if (name.find('.') == std::string::npos) {
        name = Join(chars, 0, 8) + ".INI";
        SetErrorStatus("INIFileName did not contain a period");
    }

    if (name.front() == '.') {
        if (name == ".") {
            name = fallback;
            SetErrorStatus("INIFilename contained only a period");
        } else {
            name = aProjectName() + name;
            SetErrorStatus("INIFilename started with a period");
        }
    } else if (name.find('.') == name.size() - 1) {
        name += "INI";
        SetErrorStatus("INIFilename ended with a period");
    }

    const std::size_t firstPeriod = name.find('.');
    if (name.find('.', firstPeriod + 1) != std::string::npos) {
        name = name.substr(0, firstPeriod + 1) + "INI";
        SetErrorStatus("INIFileName contained two periods");
    }

    for (const auto& c : Characters(name)) {
        if (!IsFileNameCharacter(c)) {
            SetErrorStatus("INIFileName contained an illegal character (" + c + ")");
            name = fallback;
            break;
        }
    }
    return true;
}

bool TMAXINI::CheckTopicName(std::string& name) {
    if (name.empty()) {
        SetErrorStatus("INITopicName has zero length");
        return false;
    }
    if (const char bad = FirstForbidden(name, ";=[]"); bad != '\0') {
        SetErrorStatus("INITopicName contains an illegal character (" + std::string(1, bad) + ")");
        return false;
    }
    return true;
}

bool TMAXINI::CheckKeyName(std::string& name) {
    if (name.empty()) {
        SetErrorStatus("INIKeyName has zero length");
        return false;
    }
    if (const char bad = FirstForbidden(name, ";=[]"); bad != '\0') {
        SetErrorStatus("INIKeyName contained an illegal character (" + std::string(1, bad) + ")");
        return false;
    }
    return true;
}

bool TMAXINI::CheckValue(std::string& value) {
    if (value.empty()) {
        SetErrorStatus("INIValue had zero length");
        return false;
    }
    // A semicolon is fine in a value.
    if (const char bad = FirstForbidden(value, "=[]"); bad != '\0') {
        SetErrorStatus("INIValue contained an illegal character (" + std::string(1, bad) + ")");
        return false;
    }
    return true;
}

void TMAXINI::SetCheckedName(std::string& field, const std::string& name,
                             bool (TMAXINI::*check)(std::string&), const std::string& refusal) {
    if (name == field) return;
    std::string candidate = name;
    if ((this->*check)(candidate)) {
        field = candidate;
    } else {
        SetErrorStatus(refusal);
    }
}

void TMAXINI::SetReadINITopicName(const std::string& name) {
    SetCheckedName(readTopic_, name, &TMAXINI::CheckTopicName, "Invalid ReadINITopic name");
}

void TMAXINI::SetReadINIKeyName(const std::string& name) {
    SetCheckedName(readKey_, name, &TMAXINI::CheckKeyName, "Invalid ReadINIKey name");
}

void TMAXINI::SetWriteINITopicName(const std::string& name) {
    SetCheckedName(writeTopic_, name, &TMAXINI::CheckTopicName, "Invalid WriteINITopic name");
}

void TMAXINI::SetWriteINIKeyName(const std::string& name) {
    SetCheckedName(writeKey_, name, &TMAXINI::CheckKeyName, "Invalid WriteINIKey name");
}

void TMAXINI::SetWriteINIValue(const std::string& value) {
    SetCheckedName(writeValue_, value, &TMAXINI::CheckValue, "Invalid WriteINIValue name");
}

void ConfigureForMainWindow(TMAXINI& maxini) {
    // In the order the window stores them: the record first, then the INI description.
    maxini.SetDebugMode(TDebugModeType::OFF);
    maxini.SetStringTag("AnyString");
    maxini.SetaLastEditDate("13/09/00");
    maxini.SetaCopyright("(c) 2000 Brightwork");
    maxini.SetaVersion(kBuildNumber);
    maxini.SetaDesigner("Robin Hartley");
    maxini.SetaProjectName("REALTOPI");
    maxini.SetaProjectCode("n/a");
    maxini.SetaMyCompany("Brightwork");
    maxini.SetaClientCompany("Brightwork");
    maxini.SetaProgrammer("programmer@example.com");
    maxini.SetaProjectLeader("Robin Hartley");
    maxini.SetaDistribution(DType::OTHER);
    maxini.SetaDescription("Feel free to email this game to all your friends");
    maxini.SetaProductname("The Realtopia Game");
    maxini.SetEnableErrorEvent(false);
    maxini.SetSplashBoxColour(TSplashBoxType::WHITE);
    maxini.SetSplashBoxDelay(TSplashBoxWaitType::MEDIUM);
    maxini.SetShowProgressForm(false);
    maxini.SetINIDirectoryType(TINIDirectoryType::WINDOWSDIR);
    maxini.SetINIFileName("PROJECT1.INI");
    maxini.SetReadINITopicName("ProgramInfo");
    maxini.SetReadINIKeyName("Key1");
    maxini.SetWriteINITopicName("ProgramInfo");
    maxini.SetWriteINIKeyName("Key1");
    maxini.SetWriteINIValue("AnyValue");
    maxini.Loaded();
}
