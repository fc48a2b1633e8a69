#pragma once

#include <memory>
#include <string>

#include "components/TMAXIM.h"

enum class TINIDirectoryType { WINDOWSDIR, SYSTEMDIR, CURRENTDIR, USERDEFINED };

// The INI settings component: where one INI file lives and which topic, key and value are to be
// read or written. It opens no file itself; it validates and corrects every name it is given and
// leaves the reason for each correction or refusal in ErrorStatus.
//
// The Windows directory is the per-user data directory and "/" joins directory and file name.
// A three-character directory ending in a separator ("C:\") is followed directly by the file
// name. A user-defined directory must be Windows-shaped (a drive colon or a "\\" network
// path), so a user-defined POSIX path is refused and falls back to the Windows directory.
//
// The four checks are virtual so that a descendant can tighten them. Like every C++ class, the
// constructor runs this class's own checks, not a descendant's.
class TMAXINI : public TMAXIM {
public:
    explicit TMAXINI(std::shared_ptr<ISystemQueries> queries = nullptr);

    void Loaded() override;
    std::string AboutMessage() const override;

    TINIDirectoryType INIDirectoryType() const { return directoryType_; }
    void SetINIDirectoryType(TINIDirectoryType type);
    const std::string& INIFileName() const { return fileName_; }
    void SetINIFileName(const std::string& name);
    // Resolves the directory by type, then joins it with the file name.
    std::string INIFilePath();
    // Resolves the directory by type; for all but USERDEFINED it also becomes the stored one.
    std::string INIDirectory();
    void SetINIDirectory(const std::string& directory);

    const std::string& ReadINITopicName() const { return readTopic_; }
    void SetReadINITopicName(const std::string& name);
    const std::string& ReadINIKeyName() const { return readKey_; }
    void SetReadINIKeyName(const std::string& name);
    const std::string& WriteINITopicName() const { return writeTopic_; }
    void SetWriteINITopicName(const std::string& name);
    const std::string& WriteINIKeyName() const { return writeKey_; }
    void SetWriteINIKeyName(const std::string& name);
    const std::string& WriteINIValue() const { return writeValue_; }
    void SetWriteINIValue(const std::string& value);

    // Brings a file name into 8.3 form; always answers yes.
    virtual bool NormaliseFileName(std::string& name);
    // Each answers whether the text is acceptable, leaving the reason for a no in ErrorStatus.
    virtual bool CheckTopicName(std::string& name);
    virtual bool CheckKeyName(std::string& name);
    virtual bool CheckValue(std::string& value);

    // directory + "/" + file name, or directory + file name for a drive root such as "C:\".
    static std::string JoinPath(const std::string& directory, const std::string& fileName);

private:
    // Validates a user-defined directory; on refusal falls back to the Windows directory.
    void StoreUserDefinedDirectory(std::string path);
    void FallBackToWindowsDirectory(const std::string& reason);
    void SetCheckedName(std::string& field, const std::string& name,
                        bool (TMAXINI::*check)(std::string&), const std::string& refusal);

    TINIDirectoryType directoryType_ = TINIDirectoryType::WINDOWSDIR;
    std::string fileName_;
    std::string directory_;       // the stored directory
    std::string userDefinedDir_;  // the last accepted user-defined directory
    std::string currentDirAtCreation_;
    std::string filePath_;  // the stored full path
    std::string readTopic_;
    std::string readKey_;
    std::string writeTopic_;
    std::string writeKey_;
    std::string writeValue_;
};

// Applies the main window's stored values to its MAXINI1, then runs the end-of-loading step.
void ConfigureForMainWindow(TMAXINI& maxini);
