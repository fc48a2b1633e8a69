// The INI settings component: file-name normalisation, directory resolution and validation, and
// the topic, key and value checks with their exact status texts.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "components/TMAXINI.h"
#include "logic/FakeSystemQueries.h"

namespace {

constexpr const char* kWinDir = "/home/player/.local/share/realtopia";

struct MaxiniFixture : ::testing::Test {
    std::shared_ptr<FakeSystemQueries> system = std::make_shared<FakeSystemQueries>();

    // Every status the component sets, in order.
    static std::vector<std::string>& Record(TMAXINI& maxini, std::vector<std::string>& log) {
        maxini.SetEnableErrorEvent(true);
        maxini.SetOnErrorStatus_Change(
            [&log](TMAXIM& sender) { log.push_back(sender.ErrorStatus()); });
        return log;
    }
};

TEST_F(MaxiniFixture, CreationDescribesProject1InTheWindowsDirectory) {
    TMAXINI maxini(system);
    EXPECT_EQ(maxini.ErrorStatus(), "OK");
    EXPECT_EQ(maxini.INIDirectoryType(), TINIDirectoryType::WINDOWSDIR);
    EXPECT_EQ(maxini.INIFileName(), "PROJECT1.INI");
    EXPECT_EQ(maxini.INIDirectory(), kWinDir);
    EXPECT_EQ(maxini.INIFilePath(), std::string(kWinDir) + "/PROJECT1.INI");
    EXPECT_EQ(maxini.ReadINITopicName(), "ProgramInfo");
    EXPECT_EQ(maxini.ReadINIKeyName(), "Key1");
    EXPECT_EQ(maxini.WriteINITopicName(), "ProgramInfo");
    EXPECT_EQ(maxini.WriteINIKeyName(), "Key1");
    EXPECT_EQ(maxini.WriteINIValue(), "AnyValue");

    // The Windows directory is asked afresh at each reading.
    system->windowsDirectory = "/srv/other";
    EXPECT_EQ(maxini.INIFilePath(), "/srv/other/PROJECT1.INI");
}

TEST_F(MaxiniFixture, FileNamesAreBroughtInto83Form) {
    struct Case {
        std::string given, stored, status;
    };
    const std::vector<Case> cases = {
        {"ABCDEFGHIJKLM", "ABCDEFGH.INI", "INIFileName truncated. (more than 8+3 characters)"},
        {"ABCDEFGH.TXTX", "ABCDEFGH.INI", "INIFileName truncated. (more than 8+3 characters)"},
        {"ABCDEFGH.TXT", "ABCDEFGH.TXT", "OK"},
        {"a!_9.x", "a!_9.x", "OK"},
        {"ABCDEFGHIJ", "ABCDEFGH.INI", "INIFileName did not contain a period"},
        {"GAME", "GAME.INI", "INIFileName did not contain a period"},
        {"MY-GAME.INI", "REALTOPI.INI", "INIFileName contained an illegal character (-)"},
        {"MY GAME.INI", "REALTOPI.INI", "INIFileName contained an illegal character ( )"},
        {"GAMÉ.INI", "REALTOPI.INI", "INIFileName contained an illegal character (É)"},
        {"A.B.C", "A.INI", "INIFileName contained two periods"},
        {".", "REALTOPI.INI", "INIFilename contained only a period"},
        {".CFG", "REALTOPI.CFG", "INIFilename started with a period"},
        {".A.B", "REALTOPI.INI", "INIFileName contained two periods"},
        {"GAME.", "GAME.INI", "INIFilename ended with a period"},
        {"", "REALTOPI.INI", "INIFileName set to blank"},
    };

    TMAXINI maxini(system);
    maxini.SetaProjectName("REALTOPI");
    for (const auto& c : cases) {
        maxini.SetINIFileName("RESET.INI");
        maxini.SetErrorStatus("OK");
        maxini.SetINIFileName(c.given);
        EXPECT_EQ(maxini.INIFileName(), c.stored) << "given \"" << c.given << "\"";
        EXPECT_EQ(maxini.ErrorStatus(), c.status) << "given \"" << c.given << "\"";
    }

    // Setting the current name again does nothing, not even a status.
    maxini.SetINIFileName("MY-GAME.INI");
    maxini.SetErrorStatus("OK");
    maxini.SetINIFileName("REALTOPI.INI");
    EXPECT_EQ(maxini.ErrorStatus(), "OK");
}

TEST_F(MaxiniFixture, ADriveRootIsFollowedDirectlyByTheFileName) {
    EXPECT_EQ(TMAXINI::JoinPath("C:\\", "GAME.INI"), "C:\\GAME.INI");
    EXPECT_EQ(TMAXINI::JoinPath("C:\\WINDOWS", "GAME.INI"), "C:\\WINDOWS/GAME.INI");
    EXPECT_EQ(TMAXINI::JoinPath("C:", "GAME.INI"), "C:/GAME.INI");
    EXPECT_EQ(TMAXINI::JoinPath("C:\\GAMES\\", "GAME.INI"), "C:\\GAMES\\/GAME.INI");
    // A three-letter POSIX directory is no drive root.
    EXPECT_EQ(TMAXINI::JoinPath("/ab", "GAME.INI"), "/ab/GAME.INI");

    system->windowsDirectory = "C:\\";
    TMAXINI maxini(system);
    EXPECT_EQ(maxini.INIFilePath(), "C:\\PROJECT1.INI");
}

TEST_F(MaxiniFixture, DirectoriesResolveByType) {
    TMAXINI maxini(system);
    system->currentDirectory = "/somewhere/else";  // the working directory changes later

    maxini.SetINIDirectoryType(TINIDirectoryType::CURRENTDIR);
    EXPECT_EQ(maxini.INIDirectory(), "/home/player/games");
    EXPECT_EQ(maxini.INIFilePath(), "/home/player/games/PROJECT1.INI");

    maxini.SetINIDirectoryType(TINIDirectoryType::SYSTEMDIR);
    maxini.SetINIDirectory("/ignored/for/this/type");
    EXPECT_EQ(maxini.INIDirectory(), "/usr/lib");
    EXPECT_EQ(maxini.INIFilePath(), "/usr/lib/PROJECT1.INI");

    maxini.SetINIDirectoryType(TINIDirectoryType::WINDOWSDIR);
    EXPECT_EQ(maxini.INIFilePath(), std::string(kWinDir) + "/PROJECT1.INI");
    EXPECT_EQ(maxini.ErrorStatus(), "OK");
}

TEST_F(MaxiniFixture, AnUnreadableWorkingDirectoryFallsBackToTheDriveRoot) {
    system->currentDirectory = std::nullopt;
    TMAXINI maxini(system);
    EXPECT_EQ(maxini.ErrorStatus(), "GetCurrentDirectory function has failed");
    maxini.SetINIDirectoryType(TINIDirectoryType::CURRENTDIR);
    EXPECT_EQ(maxini.INIFilePath(), "C:\\PROJECT1.INI");
}

TEST_F(MaxiniFixture, UserDefinedDirectoriesAreValidated) {
    TMAXINI maxini(system);
    maxini.SetINIDirectoryType(TINIDirectoryType::USERDEFINED);
    maxini.SetINIDirectory("D:\\GAMES\\");
    EXPECT_EQ(maxini.INIDirectoryType(), TINIDirectoryType::USERDEFINED);
    EXPECT_EQ(maxini.INIDirectory(), "D:\\GAMES");
    EXPECT_EQ(maxini.INIFilePath(), "D:\\GAMES/PROJECT1.INI");
    EXPECT_EQ(maxini.ErrorStatus(), "OK");

    // Even a drive root loses its backslash.
    maxini.SetINIDirectory("C:\\");
    EXPECT_EQ(maxini.INIDirectory(), "C:");
    EXPECT_EQ(maxini.INIFilePath(), "C:/PROJECT1.INI");

    maxini.SetINIDirectory("\\\\server\\share");
    EXPECT_EQ(maxini.INIDirectory(), "\\\\server\\share");
    EXPECT_EQ(maxini.ErrorStatus(), "OK");

    struct Refusal {
        std::string given, status;
    };
    const std::vector<Refusal> refusals = {
        {"D", "User-Defined INI Directory Path is too short"},
        {"", "User-Defined INI Directory Path is too short"},
        {"D:\\A*B", "Invalid character(*) in User-Defined INIPath"},
        {"D:\\A|B<C", "Invalid character(|) in User-Defined INIPath"},
        {"D:\\\"Q\"", "Invalid character(\") in User-Defined INIPath"},
        {"DX\\GAMES", "2nd character must be a colon in User-Defined INIPath"},
        {"/home/player/ini", "2nd character must be a colon in User-Defined INIPath"},
        {"\\GAMES", "2nd character must be a colon in User-Defined INIPath"},
    };
    for (const auto& r : refusals) {
        maxini.SetINIDirectoryType(TINIDirectoryType::USERDEFINED);
        maxini.SetINIDirectory("E:\\READY");
        maxini.SetErrorStatus("OK");
        maxini.SetINIDirectory(r.given);
        EXPECT_EQ(maxini.ErrorStatus(), r.status) << "given \"" << r.given << "\"";
        EXPECT_EQ(maxini.INIDirectoryType(), TINIDirectoryType::WINDOWSDIR) << r.given;
        EXPECT_EQ(maxini.INIFilePath(), std::string(kWinDir) + "/PROJECT1.INI") << r.given;
    }

    // Back to user-defined: the last accepted directory is still there.
    maxini.SetINIDirectoryType(TINIDirectoryType::USERDEFINED);
    EXPECT_EQ(maxini.INIDirectory(), "E:\\READY");

    // While another type is chosen, the value given is ignored.
    maxini.SetINIDirectoryType(TINIDirectoryType::WINDOWSDIR);
    maxini.SetINIDirectory("F:\\ELSEWHERE");
    EXPECT_EQ(maxini.INIDirectory(), kWinDir);
}

TEST_F(MaxiniFixture, RefusedNamesKeepTheirOldValue) {
    TMAXINI maxini(system);
    std::vector<std::string> log;
    Record(maxini, log);

    maxini.SetReadINITopicName("Scores=1");
    EXPECT_EQ(maxini.ReadINITopicName(), "ProgramInfo");
    EXPECT_EQ(log, (std::vector<std::string>{"INITopicName contains an illegal character (=)",
                                             "Invalid ReadINITopic name"}));

    log.clear();
    maxini.SetWriteINIValue("a;b");  // a semicolon is fine in a value
    EXPECT_EQ(maxini.WriteINIValue(), "a;b");
    EXPECT_TRUE(log.empty());

    maxini.SetWriteINIValue("");
    EXPECT_EQ(maxini.WriteINIValue(), "a;b");
    EXPECT_EQ(log,
              (std::vector<std::string>{"INIValue had zero length", "Invalid WriteINIValue name"}));

    log.clear();
    maxini.SetWriteINIKeyName("Key;2");
    EXPECT_EQ(maxini.WriteINIKeyName(), "Key1");
    EXPECT_EQ(log, (std::vector<std::string>{"INIKeyName contained an illegal character (;)",
                                             "Invalid WriteINIKey name"}));

    log.clear();
    maxini.SetReadINIKeyName("");
    EXPECT_EQ(log,
              (std::vector<std::string>{"INIKeyName has zero length", "Invalid ReadINIKey name"}));

    maxini.SetWriteINITopicName("");
    EXPECT_EQ(log.end()[-2], "INITopicName has zero length");
    EXPECT_EQ(maxini.ErrorStatus(), "Invalid WriteINITopic name");
    maxini.SetWriteINITopicName("[Section]");
    EXPECT_EQ(log.end()[-2], "INITopicName contains an illegal character ([)");
    maxini.SetWriteINIValue("x]");
    EXPECT_EQ(log.end()[-2], "INIValue contained an illegal character (])");

    // Good names are stored without a status.
    log.clear();
    maxini.SetReadINITopicName("Hi Scores");
    maxini.SetWriteINIKeyName("Name_1");
    EXPECT_EQ(maxini.ReadINITopicName(), "Hi Scores");
    EXPECT_EQ(maxini.WriteINIKeyName(), "Name_1");
    EXPECT_TRUE(log.empty());
}

// A descendant's stricter check is the one the setters use.
class UpperCaseKeys : public TMAXINI {
public:
    using TMAXINI::TMAXINI;
    bool CheckKeyName(std::string& name) override {
        for (const char c : name) {
            if (c >= 'a' && c <= 'z') return false;
        }
        return TMAXINI::CheckKeyName(name);
    }
};

TEST_F(MaxiniFixture, ChecksCanBeReplacedByADescendant) {
    UpperCaseKeys maxini(system);
    maxini.SetWriteINIKeyName("lower");
    EXPECT_EQ(maxini.WriteINIKeyName(), "Key1");
    EXPECT_EQ(maxini.ErrorStatus(), "Invalid WriteINIKey name");
    maxini.SetWriteINIKeyName("UPPER");
    EXPECT_EQ(maxini.WriteINIKeyName(), "UPPER");
}

TEST_F(MaxiniFixture, MainWindowConfiguration) {
    TMAXINI maxini(system);
    maxini.SetDebugMode(TDebugModeType::LEVEL2);
    ConfigureForMainWindow(maxini);
    EXPECT_EQ(maxini.aProjectName(), "REALTOPI");
    // The file name was given before the project was renamed, and stays.
    EXPECT_EQ(maxini.INIFileName(), "PROJECT1.INI");
    EXPECT_EQ(maxini.INIFilePath(), std::string(kWinDir) + "/PROJECT1.INI");
    EXPECT_EQ(maxini.aLastEditDate(), "13/09/00");
    EXPECT_EQ(maxini.aDistribution(), DType::OTHER);
    EXPECT_EQ(maxini.DebugMode(), TDebugModeType::OFF);
    EXPECT_EQ(maxini.ErrorStatus(), "OK");

    const TAboutBoxContent about = maxini.AboutBoxContent();
    EXPECT_EQ(about.Product, "The Realtopia Game");
    EXPECT_EQ(about.Version, "20001024.0");
    EXPECT_EQ(about.Copyright, "(c) 2000 Brightwork");
    EXPECT_EQ(about.Comments, "Feel free to email this game to all your friends");
    EXPECT_EQ(about.Host, "Linux 6.1.0");
}

}  // namespace
