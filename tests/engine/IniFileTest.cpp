#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/IniFile.h"

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

std::string Read(const std::string& text, const std::string& section, const std::string& key) {
    return TIniFile::FromBytes(text).ReadString(section, key, "unknown");
}

}  // namespace

TEST(IniFile, MatchesNamesWithoutRegardToCaseAndFirstWins) {
    const TIniFile ini = TIniFile::FromBytes(
        "; a comment line\r\n"
        "orphan=before any section\r\n"
        "[ProgramInfo]\r\n"
        "EXE=REALTOPI.EXE\r\n"
        "  [ General ]  \n"
        "  Email  =  someone@example.com  \n"
        "email=second@example.com\n"
        "no equals sign here\n"
        ";NAME01=commented\n"
        "[Properties]\n"
        "NAME01=Big Ben\n"
        "DESC01=a=b=c\n"
        "NAME02=\n"
        "[GENERAL]\n"
        "EMAIL=from a repeated section\n"
        "OTHER=also unseen\n");
    EXPECT_EQ(ini.ReadString("programinfo", "exe", "unknown"), "REALTOPI.EXE");
    EXPECT_EQ(ini.ReadString("PROGRAMINFO", "Exe", "unknown"), "REALTOPI.EXE");
    EXPECT_EQ(ini.ReadString("General", "EMAIL", "unknown"), "someone@example.com");
    EXPECT_EQ(ini.ReadString("General", "OTHER", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("Properties", "name01", "unknown"), "Big Ben");
    EXPECT_EQ(ini.ReadString("Properties", "DESC01", "unknown"), "a=b=c");
    EXPECT_EQ(ini.ReadString("Properties", "NAME02", "unknown"), "");  // present but empty
    EXPECT_EQ(ini.ReadString("Properties", ";NAME01", "unknown"), "unknown");
    EXPECT_EQ(ini.ReadString("Properties", "NAME03", "unknown"), "unknown");
    EXPECT_EQ(ini.ReadString("Missing", "EXE", "fallback"), "fallback");
    EXPECT_EQ(ini.ReadString("", "orphan", "unknown"), "unknown");
    EXPECT_EQ(ini.ReadString("Propertiesx", "NAME01", "unknown"), "unknown");
}

TEST(IniFile, TrimsAndRemovesOnePairOfQuotes) {
    const std::string text =
        "[S]\n"
        "a=\t plain value \t\n"
        "b=\"double\"\n"
        "c='single'\n"
        "d=  \" inner blanks stay \"  \n"
        "e=\"mismatched'\n"
        "f=\"\n"
        "g=\"\"twice\"\"\n"
        "h=\"\"\n"
        "i=it's \"half\n"
        "j=value with no line end";
    EXPECT_EQ(Read(text, "S", "a"), "plain value");
    EXPECT_EQ(Read(text, "S", "b"), "double");
    EXPECT_EQ(Read(text, "S", "c"), "single");
    EXPECT_EQ(Read(text, "S", "d"), " inner blanks stay ");
    EXPECT_EQ(Read(text, "S", "e"), "\"mismatched'");
    EXPECT_EQ(Read(text, "S", "f"), "\"");
    EXPECT_EQ(Read(text, "S", "g"), "\"twice\"");
    EXPECT_EQ(Read(text, "S", "h"), "");
    EXPECT_EQ(Read(text, "S", "i"), "it's \"half");
    EXPECT_EQ(Read(text, "S", "j"), "value with no line end");
}

TEST(IniFile, CutsValuesTo1023Characters) {
    const std::string exact(1023, 'x');
    EXPECT_EQ(Read("[S]\nk=" + exact + "\n", "S", "k"), exact);
    EXPECT_EQ(Read("[S]\nk=" + std::string(5000, 'x') + "\n", "S", "k"), exact);
    // Quotes are removed before the cut.
    EXPECT_EQ(Read("[S]\nk=\"" + exact + "\"\n", "S", "k"), exact);
    // The cut counts characters and never splits one.
    std::string accented;
    for (int i = 0; i < 1100; ++i) accented += "é";
    const std::string cut = Read("[S]\nk=" + accented + "\n", "S", "k");
    EXPECT_EQ(cut, accented.substr(0, 2 * 1023));
}

TEST(IniFile, ReadsUtf8OrElseWindows1252) {
    EXPECT_EQ(Read("[S]\nk=Café £5 ’\n", "S", "k"), "Café £5 ’");
    EXPECT_EQ(Read("[S]\nk=Caf\xE9 \xA3\x35 \x92\x80\n", "S", "k"), "Café £5 ’€");
    // Byte-order mark, with UTF-8 and with Windows-1252 text after it.
    EXPECT_EQ(Read("\xEF\xBB\xBF[S]\nk=Café\n", "S", "k"), "Café");
    EXPECT_EQ(Read("\xEF\xBB\xBF[S]\nk=Caf\xE9\n", "S", "k"), "Café");
    // A zero byte ends its line; nothing after it is lost.
    const std::string withZero = "[A]\nk=ab\0cd\n[B]\nk=2\n\0[C]\nk=3"s;
    EXPECT_EQ(Read(withZero, "A", "k"), "ab");
    EXPECT_EQ(Read(withZero, "B", "k"), "2");
    EXPECT_EQ(Read(withZero, "C", "k"), "3");
    EXPECT_EQ(Read("", "A", "k"), "unknown");
}

TEST(IniFile, LoadsFromAFile) {
    char pattern[] = "/tmp/ini_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    const std::string path = (dir / "REALTOPI.INI").string();
    std::ofstream(path, std::ios::binary) << "[General]\r\nEMAIL=\"x@example.com\"\r\n";

    TIniFile ini;
    EXPECT_TRUE(TIniFile::Load(path, ini));
    EXPECT_EQ(ini.ReadString("general", "email", "unknown"), "x@example.com");

    TIniFile untouched = TIniFile::FromBytes("[General]\nEMAIL=kept\n");
    EXPECT_FALSE(TIniFile::Load((dir / "missing.ini").string(), untouched));
    EXPECT_FALSE(TIniFile::Load(dir.string(), untouched));  // a directory
    EXPECT_EQ(untouched.ReadString("General", "EMAIL", "unknown"), "kept");

    fs::remove_all(dir);
}
