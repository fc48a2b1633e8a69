#pragma once

#include <string>
#include <utility>

#include "engine/IniFile.h"

// The customisation file beside the program, looked at once per run: the first deal reads it
// and every later one applies what was read, without asking the disk again (one look at the
// file cost about a twentieth of a whole game). A file changed while the program runs counts
// from its next start.
class TCustomisationFile {
public:
    explicit TCustomisationFile(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }
    // Whether a file (not a directory) is there.
    bool Exists() {
        Look();
        return exists_;
    }
    // Whether it could be read as a settings file (TIniFile::Load), and its entries then.
    bool Read() {
        Look();
        return read_;
    }
    const TIniFile& Ini() {
        Look();
        return ini_;
    }

private:
    void Look();

    std::string path_;
    bool looked_ = false;
    bool exists_ = false;
    bool read_ = false;
    TIniFile ini_;
};
