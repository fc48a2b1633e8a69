// Bad files and bad answers met by the whole program: the hi-score file at the end of a game,
// the customisation file at every new game, and odd names typed at the hi-score prompts.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Hisc.h"
#include "engine/SafeReplace.h"
#include "support/Files.h"
#include "support/GameStateAccess.h"
#include "support/RealtopiaFixture.h"

namespace fs = std::filesystem;

namespace {

// Names in a directory, sorted.
std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Builtin(int p) {
    return std::string(world::kPropertyNames[p - 1]);
}

// 256-byte text field `f` of record `r` in a file image.
std::string Field(const std::string& image, int r, int f) {
    return image.substr(static_cast<std::size_t>(r) * 1804 + static_cast<std::size_t>(f) * 256,
                        256);
}

constexpr const char* kCannotLoad = "error: VODE32 | Unable to load the table";
constexpr const char* kCannotSave = "error: VODE32 | Unable to save the table";
constexpr const char* kProgramName = "realtopia";  // TempPlatform's program file

class BadInput : public RealtopiaFixture {
protected:
    std::string UserTable() const { return temp_.UserDataDirectory() + "/REALTOPI.DAT"; }
    std::string ProgramTable() const { return temp_.ProgramDirectory() + "/REALTOPI.DAT"; }
    std::string IniPath() const { return temp_.ProgramPath() + ".INI"; }

    // Ends a game the player took part in with `pounds` in cash, answering the name prompts
    // and then "Another Game?" with Yes, so that the next game asks for the names again.
    void EndGameWith(std::int64_t pounds, std::optional<std::string> first = "Ab",
                     std::optional<std::string> last = "Cd") {
        effects_.ClearCalls();
        effects_.InputAnswers = {first, last};
        effects_.YesNoAnswers = {true};
        Edit(Game()).Engaged = true;
        Edit(Game()).Cash = Money::Pounds(pounds);
        Game().EndGame();
        Form().ApplyGameEvents();  // the window asks what the game now waits for
    }

    // The program started afresh beside a customisation file holding `bytes`.
    void StartWithIni(const std::string& bytes, const std::string& firstArgument = "") {
        WriteAll(IniPath(), bytes);
        StartProgram(firstArgument);
    }
    // The program started afresh beside whatever is at IniPath().
    void StartProgram(const std::string& firstArgument = "") {
        effects_.ClearCalls();
        TPlatform platform = temp_.Platform();
        platform.FirstArgument = firstArgument;
        app_.reset();
        app_ = std::make_unique<TRealtopia>(effects_, platform);
    }

    std::vector<std::string> Messages() const {
        std::vector<std::string> out = effects_.CallsStartingWith("info: ");
        for (const std::string& e : effects_.CallsStartingWith("error: ")) out.push_back(e);
        return out;
    }

    std::string TableShown() const {
        const auto shown = effects_.CallsStartingWith("info: PERSONAL HI SCORE TABLE");
        return shown.empty() ? std::string() : shown.back();
    }

    // The table in the file, which must load without complaint and be exactly 21,648 bytes.
    THiScoreTable LoadedTable(const std::string& path) {
        EXPECT_EQ(fs::file_size(path), 21648u) << path;
        std::vector<std::string> boxes;
        THiScoreTable table(
            [&](const std::string& c, const std::string& t) { boxes.push_back(c + " | " + t); });
        EXPECT_TRUE(table.Load(path, TempPlatform::kToday)) << path;
        EXPECT_TRUE(boxes.empty());
        return table;
    }
};

// An older table of one entry, saved with `extra` bytes after it.
std::string OldTable(const std::string& extra = "") {
    THiScoreTable table;
    table.MakeDefault("20250101");
    table.Insert(500, "Old", "", "Timer", "20250101");
    return table.ToBytes() + extra;
}

}  // namespace

TEST_F(BadInput, HiScoreFilesThatCannotBeReadAreReportedAndTheScoreStillRecorded) {
    fs::create_directories(temp_.UserDataDirectory());
    struct Case {
        const char* name;
        std::optional<std::string> bytes;  // nullopt: no file
        bool reported;
    };
    const std::vector<Case> cases = {
        {"missing", std::nullopt, false},
        {"empty", std::string(), true},
        {"short", OldTable().substr(0, 21647), true},
        {"short 0xFF", std::string(1804, '\xFF'), true},
        {"all 0xFF", std::string(21648, '\xFF'), true},  // positions outside the table
        {"long", OldTable(std::string(3000, 'x')), false},
    };
    std::int64_t pounds = 1000;
    for (const Case& c : cases) {
        fs::remove(UserTable());
        WriteAll(UserTable() + ".bad", "an older unreadable table");
        if (c.bytes) {
            WriteAll(UserTable(), *c.bytes);
            fs::permissions(UserTable(), fs::perms(0640));
        }
        EndGameWith(++pounds);

        const std::vector<std::string> errors = effects_.CallsStartingWith("error: ");
        EXPECT_EQ(errors,
                  c.reported ? std::vector<std::string>{kCannotLoad} : std::vector<std::string>{})
            << c.name;
        EXPECT_TRUE(effects_.Contains("info: You have beaten the previous Hi Score!")) << c.name;
        EXPECT_NE(TableShown().find("1)\t Ab Cd\t\t\u00A3" + std::to_string(pounds) + "\r"),
                  std::string::npos)
            << c.name;
        const THiScoreTable table = LoadedTable(UserTable());
        EXPECT_EQ(table.Score(1), pounds) << c.name;
        EXPECT_EQ(table.FullName(1), "Ab Cd") << c.name;
        // The entry of a readable file is kept below the new one.
        EXPECT_EQ(table.FullName(2),
                  c.name == std::string("long") ? "Old Timer" : "Not Yet Allocated");
        // An unreadable table is kept aside, in place of an older one, and the player told;
        // nothing else is left beside the table but its lock file.
        EXPECT_EQ(
            Entries(temp_.UserDataDirectory()),
            (std::vector<std::string>{"REALTOPI.DAT", "REALTOPI.DAT.bad", "REALTOPI.DAT.lock"}))
            << c.name;
        EXPECT_EQ(ReadAll(UserTable() + ".bad"),
                  c.reported ? *c.bytes : std::string("an older unreadable table"))
            << c.name;
        EXPECT_EQ(effects_.Contains(std::string("info: ") + kHiScoreTableKeptText), c.reported)
            << c.name;
        // The names are never shown to more people than before: a table replaced keeps its
        // bits, and a new one, also after its unreadable predecessor went aside, is the
        // owner's only.
        const bool replaced = c.bytes && !c.reported;
        EXPECT_EQ(fs::status(UserTable()).permissions(), fs::perms(replaced ? 0640 : 0600))
            << c.name;
        if (c.reported) {
            EXPECT_EQ(fs::status(UserTable() + ".bad").permissions(), fs::perms(0640)) << c.name;
        }
    }
}

TEST_F(BadInput, DirectoryInPlaceOfTheHiScoreFileIsReportedAndLeftAlone) {
    fs::create_directories(UserTable());
    WriteAll(UserTable() + "/inside", "keep");
    EndGameWith(1234);
    EXPECT_EQ(effects_.CallsStartingWith("error: "),
              (std::vector<std::string>{kCannotLoad, kCannotSave}));
    EXPECT_NE(TableShown().find("1)\t Ab Cd\t\t\u00A31234\r"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(UserTable()));
    EXPECT_EQ(ReadAll(UserTable() + "/inside"), "keep");
    EXPECT_EQ(Entries(temp_.UserDataDirectory()),
              (std::vector<std::string>{"REALTOPI.DAT", "REALTOPI.DAT.lock"}));  // no temporary
    EXPECT_FALSE(fs::exists(ProgramTable()));
    EXPECT_TRUE(effects_.Contains("yesno: Another Game?"));
}

TEST_F(BadInput, LeftOversOfInterruptedSavesAreClearedAway) {
    // 150 temporary files of saves that were killed. Neighbours of other names, even ones
    // that begin with the table's name, are not among them.
    fs::create_directories(temp_.UserDataDirectory());
    WriteAll(UserTable(), OldTable());
    for (int n = 100; n < 250; ++n)
        WriteAll(TemporaryPrefix(UserTable()) + std::to_string(n) + "k3j9q0x", "x");
    for (const char* other : {".bak", ".tmpl", ".tmp42", ".tmp0123456789"})
        WriteAll(UserTable() + other, "keep");
    EndGameWith(1234);
    EXPECT_TRUE(effects_.CallsStartingWith("error: ").empty());
    EXPECT_EQ(LoadedTable(UserTable()).Score(1), 1234u);
    EXPECT_EQ(LoadedTable(UserTable()).FullName(2), "Old Timer");
    EXPECT_EQ(Entries(temp_.UserDataDirectory()),
              (std::vector<std::string>{"REALTOPI.DAT", "REALTOPI.DAT.bak", "REALTOPI.DAT.lock",
                                        "REALTOPI.DAT.tmp0123456789", "REALTOPI.DAT.tmp42",
                                        "REALTOPI.DAT.tmpl"}));
}

TEST_F(BadInput, ReadOnlyHiScoreFilesSendTheGameElsewhereOrStopIt) {
    fs::create_directories(temp_.UserDataDirectory());
    const std::string old = OldTable();
    WriteAll(UserTable(), old);
    ASSERT_EQ(chmod(UserTable().c_str(), 0444), 0);

    // Read-only in the per-user directory: the program's directory takes the score.
    EndGameWith(2000);
    EXPECT_TRUE(effects_.CallsStartingWith("error: ").empty());
    EXPECT_EQ(ReadAll(UserTable()), old);
    EXPECT_TRUE(IsReadOnlyFile(UserTable()));
    EXPECT_EQ(LoadedTable(ProgramTable()).Score(1), 2000u);

    // Read-only there too: the feature is off and neither file is touched.
    ASSERT_EQ(chmod(ProgramTable().c_str(), 0444), 0);
    const std::string programBytes = ReadAll(ProgramTable());
    EndGameWith(3000);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{
                  "info: You ended up with \u00A33,000 in cash, and a Portfolio of \u00A30\r"
                  "Making you worth a total of \u00A33,000",
                  "error: Realtopia | Hi-Score feature not available on Read-Only media"}));
    EXPECT_TRUE(effects_.CallsStartingWith("input: ").empty());
    EXPECT_EQ(ReadAll(UserTable()), old);
    EXPECT_EQ(ReadAll(ProgramTable()), programBytes);
    EXPECT_TRUE(IsReadOnlyFile(ProgramTable()));
}

TEST_F(BadInput, OddNamesAtTheHiScorePrompts) {
    // 255 characters each, the most the box takes: each name kept whole, each file field
    // holding 255 bytes, the full and short names cut to their fields.
    const std::string first(255, 'a');
    std::string last;
    for (int i = 0; i < 255; ++i) last += "\u00E9";
    EndGameWith(1000, first, last);
    EXPECT_NE(TableShown().find("1)\t " + first + "\t\t\u00A31000\r"), std::string::npos);
    std::string image = ReadAll(UserTable());
    ASSERT_EQ(image.size(), 21648u);
    EXPECT_EQ(Field(image, 1, 0), first + '\0');
    EXPECT_EQ(Field(image, 1, 2), std::string(255, '\xE9') + '\0');
    EXPECT_EQ(Field(image, 1, 4), first + '\0');
    EXPECT_EQ(Field(image, 1, 5), "a." + std::string(253, '\xE9') + '\0');
    EXPECT_EQ(LoadedTable(UserTable()).Record(1).FirstName, first);
    EXPECT_EQ(LoadedTable(UserTable()).Record(1).LastName, last);

    // Characters the file's code page lacks, and a malformed byte, become '?' there.
    EndGameWith(2000, "\u6F22\u5B57", "\U0001F600Ok\xC3");
    EXPECT_NE(TableShown().find("1)\t ?? ?Ok?\t\t\u00A32000\r"), std::string::npos);
    image = ReadAll(UserTable());
    EXPECT_EQ(Field(image, 1, 0).substr(0, 3), std::string("??\0", 3));
    EXPECT_EQ(Field(image, 1, 4).substr(0, 8), std::string("?? ?Ok?\0", 8));
    EXPECT_EQ(LoadedTable(UserTable()).FullName(2), first);  // the earlier entry survives

    // Empty names: recorded with an empty name, not the pushed-down entry's.
    EndGameWith(3000, "", "");
    EXPECT_NE(TableShown().find("1)\t \t\t\u00A33000\r2)\t ?? ?Ok?\t\t"), std::string::npos);
    const THiScoreTable table = LoadedTable(UserTable());
    EXPECT_EQ(table.Score(1), 3000u);
    EXPECT_EQ(table.FullName(1), "");
    EXPECT_EQ(table.Record(1).ShortName, "");
    EXPECT_EQ(table.Score(3), 1000u);
}

TEST_F(BadInput, CustomisationFilesThatAreEmptyGarbageOrHuge) {
    const std::string fake =
        "info: The INI file is fake or corrupt. (EXE) Ignoring it." + std::string(kProgramName);
    StartWithIni("");
    EXPECT_EQ(Messages(), std::vector<std::string>{fake});
    EXPECT_EQ(Game().State().Property(1).Name, Builtin(1));

    // Garbage, every byte value, invalid as UTF-8: no EXE, so ignored; with proper
    // sections after it, read.
    std::string garbage(65536, '\0');
    std::uint32_t x = 12345;
    for (char& c : garbage) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
    StartWithIni(garbage);
    EXPECT_EQ(Messages(), std::vector<std::string>{fake});
    StartWithIni(garbage + "\n[ProgramInfo]\nEXE=realtopia\n[Properties]\nNAME02=After\n");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Game().State().Property(2).Name, "After");

    // A mebibyte of entries, the program's sections at the very end, is read; a byte more is
    // more than a customisation file holds, and the file is not read at all.
    std::string huge = "[Filler]\n";
    const std::string line = "key=" + std::string(1020, 'f') + "\n";
    const std::string end = "[ProgramInfo]\nEXE=realtopia\n[Properties]\nNAME03=Found At The End\n";
    while (huge.size() + line.size() + end.size() <= (1u << 20)) huge += line;
    huge += std::string((1u << 20) - huge.size() - end.size(), '\n') + end;
    StartWithIni(huge);
    EXPECT_EQ(fs::file_size(IniPath()), 1u << 20);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Game().State().Property(3).Name, "Found At The End");
    StartWithIni("\n" + huge);
    EXPECT_EQ(Messages(), std::vector<std::string>{fake});
    EXPECT_EQ(Game().State().Property(3).Name, Builtin(3));
    EXPECT_EQ(View().Avail.Rows.size(), 20u);
}

TEST_F(BadInput, CustomisationFilesThatCannotBeReadAreReportedAndNeverWaitedFor) {
    const std::string fake =
        "info: The INI file is fake or corrupt. (EXE) Ignoring it." + std::string(kProgramName);
    const std::string good = "[ProgramInfo]\nEXE=realtopia\n[Properties]\nNAME01=Read\n";
    // A pipe would block the start for ever, a device would never end, and reading a process's
    // memory from its start fails; a file without read permission fails too (except for root),
    // and so does a directory of the file's name.
    std::vector<std::string> cases = {"pipe", "/dev/zero", "/proc/self/mem", "directory"};
    if (geteuid() != 0) cases.push_back("no permission");
    for (const std::string& c : cases) {
        fs::remove(IniPath());
        if (c == "pipe") {
            ASSERT_EQ(mkfifo(IniPath().c_str(), 0644), 0);
        } else if (c == "no permission") {
            WriteAll(IniPath(), good);
            ASSERT_EQ(chmod(IniPath().c_str(), 0), 0);
        } else if (c == "directory") {
            ASSERT_TRUE(fs::create_directory(IniPath()));
        } else {
            fs::create_symlink(c, IniPath());
        }
        StartProgram();
        EXPECT_EQ(Messages(), std::vector<std::string>{fake}) << c;
        EXPECT_EQ(Game().State().Property(1).Name, Builtin(1)) << c;
        EXPECT_EQ(View().Avail.Rows.size(), 20u) << c;  // the game goes on
    }
}

// The file is looked at once per run: later deals apply what the first one read (and report
// a fake file again), and a file changed meanwhile counts from the next start.
TEST_F(BadInput, CustomisationIsReadOncePerRun) {
    const std::string head = "[ProgramInfo]\nEXE=realtopia\n[Properties]\n";
    StartWithIni(head + "NAME01=First\n");
    EXPECT_EQ(Game().State().Property(1).Name, "First");
    WriteAll(IniPath(), head + "NAME01=Second\n");
    Game().InitWorld();
    EXPECT_EQ(Game().State().Property(1).Name, "First");
    StartProgram();
    EXPECT_EQ(Game().State().Property(1).Name, "Second");

    StartWithIni("[ProgramInfo]\nEXE=another\n");
    const std::vector<std::string> fake = {
        "info: The INI file is fake or corrupt. (EXE) Ignoring it." + std::string(kProgramName)};
    EXPECT_EQ(Messages(), fake);
    fs::remove(IniPath());
    effects_.ClearCalls();
    Game().InitWorld();
    Form().ApplyGameEvents();  // the window asks what the new world waits for
    EXPECT_EQ(Messages(), fake);
    EXPECT_EQ(Game().State().Property(1).Name, Builtin(1));
}

// Names with brackets and names that another property has are taken: every row still selects
// its own property.
TEST_F(BadInput, CustomisedNamesMayRepeatOrHoldBrackets) {
    StartWithIni(
        "[ProgramInfo]\nEXE=realtopia\n[Properties]\nNAME02=Twin\nNAME03=Foo (bar)\n"
        "NAME04=Dundefraggin\nNAME05=Twin\nNAME06=Weblands\nNAME07=Dizzying Heights\n"
        "NAME08=(\n");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Game().State().Property(2).Name, "Twin");
    EXPECT_EQ(Game().State().Property(3).Name, "Foo (bar)");
    EXPECT_EQ(Game().State().Property(4).Name, "Dundefraggin");
    EXPECT_EQ(Game().State().Property(5).Name, "Twin");
    EXPECT_EQ(Game().State().Property(6).Name, "Weblands");
    EXPECT_EQ(Game().State().Property(8).Name, "(");
    StartGame();
    for (int p = 1; p <= 20; ++p) {
        ClickAvail({p - 1});
        EXPECT_EQ(Game().State().Selection, std::vector<int>{p}) << p;
    }
}

TEST_F(BadInput, CustomisationValuesThatBendTheRules) {
    const std::string head = "[ProgramInfo]\nEXE=REALTOPIA\n[Properties]\n";  // case ignored
    const std::string longValue(5000, 'n');
    StartWithIni(head + std::string("NAME01=Big\0Ben\nNAME02=Second\n", 30) +
                 "NAME04=" + longValue + "\nDESC04=" + longValue + "\n" +
                 "NAME1=One\nNAME21=TwentyOne\nVALUE1=junk\nVALUE21=junk\nDESC21=x\n");
    EXPECT_TRUE(Messages().empty());  // no key that is never read can complain
    EXPECT_EQ(Game().State().Property(1).Name, "Big");
    EXPECT_EQ(Game().State().Property(2).Name, "Second");
    EXPECT_EQ(Game().State().Property(4).Name, std::string(1023, 'n'));
    EXPECT_EQ(Game().State().Property(4).Description, std::string(1023, 'n'));
    EXPECT_EQ(Game().State().Property(21).Name, Builtin(21));
    EXPECT_EQ(AvailRow(4), 3);  // the long name's row is found like any other

    // A negative price is refused like a value that is not a number: buying the property
    // would pay the player. Zero is a price.
    const Money generated = Game().State().Property(2).BuyPrice;
    StartWithIni(head + "VALUE01=0\nVALUE02=-5\nNAME03=Never Read\n");
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"info: '-5' is not a valid floating point value"});
    EXPECT_EQ(Game().State().Property(1).BuyPrice, Money());
    EXPECT_EQ(Game().State().Property(2).BuyPrice, generated);
    EXPECT_EQ(Game().State().Property(3).Name, Builtin(3));

    // "noini" (exactly) leaves even a fake file unread.
    StartWithIni("[General]\nEMAIL=x@example.com\n[Properties]\nNAME01=X\n", "noini");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Game().State().Property(1).Name, Builtin(1));
    EXPECT_EQ(Game().State().ContactAddress, TGame::kDefaultContactAddress);
    StartWithIni("[General]\nEMAIL=x@example.com\n", "NOINI");
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(BadInput, CustomisationNumberOutOfRangeStopsTheReadingButNotTheGame) {
    const Money generated = Game().State().Property(1).BuyPrice;  // same seed, no file
    const std::string text =
        "[ProgramInfo]\nEXE=realtopia\n[General]\nEMAIL=me@example.com\n[Properties]\n"
        "NAME01=First\nDESC01=Kept\nVALUE01=1e400\nNAME02=Never Read\n";
    StartWithIni(text);
    const std::string error = "info: '1e400' is not a valid floating point value";
    EXPECT_EQ(Messages(), std::vector<std::string>{error});
    EXPECT_EQ(Game().State().ContactAddress, "me@example.com");
    EXPECT_EQ(Game().State().Property(1).Name, "First");
    EXPECT_EQ(Game().State().Property(1).Description, "Kept");
    EXPECT_EQ(Game().State().Property(1).BuyPrice, generated);
    EXPECT_EQ(Game().State().Property(2).Name, Builtin(2));
    // The window was reset all the same: the for-sale list is there and PLAY works.
    ASSERT_EQ(View().Avail.Rows.size(), 20u);
    EXPECT_EQ(View().Avail.Rows[0].Text, "First (" + FormatPounds(generated) + ")");
    StartGame();
    EXPECT_TRUE(Game().State().Running);

    // Every new game reads the file again and says so again.
    EndGameWith(0);
    EXPECT_EQ(effects_.Count(error), 1);
    EXPECT_EQ(View().Avail.Rows.size(), 20u);
    EXPECT_EQ(View().Start.Enabled, true);
}

TEST_F(BadInput, CustomisedPricesStayWithinWhatSumsCanHold) {
    const Money generated = Game().State().Property(2).BuyPrice;  // same seed, no file
    // A trillion pounds each, the most the file may set: a block of all twenty adds up exactly.
    std::string text = "[ProgramInfo]\nEXE=realtopia\n[Properties]\n";
    for (int i = 1; i <= 20; ++i)
        text += (i < 10 ? "VALUE0" : "VALUE") + std::to_string(i) + "=1000000000000\n";
    StartWithIni(text);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(View().AreaCaption, "Current Area: London\r\nAverage price: \u00A31,000,000,000,000");
    StartGame();
    ClickAvail({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19});
    EXPECT_EQ(Game().State().BuyTotal, Money::Pounds(20'000'000'000'000));
    effects_.ClearCalls();
    Form().Invoke(TCommand::KeyF6);
    EXPECT_EQ(Messages(), std::vector<std::string>{"info: You can't afford it!"});
    EXPECT_EQ(Game().State().Cash, TGame::kStartingCash);

    // Beyond it, refused like a number that does not convert: three at £400 trillion would
    // have summed past the range to a negative total that paid the player for buying.
    StartWithIni(
        "[ProgramInfo]\nEXE=realtopia\n[Properties]\nVALUE01=1e12\n"
        "VALUE02=400000000000000\nVALUE03=400000000000000\n");
    EXPECT_EQ(Messages(), std::vector<std::string>{
                              "info: '400000000000000' is not a valid floating point value"});
    EXPECT_EQ(Game().State().Property(1).BuyPrice, Money::Pounds(1'000'000'000'000));
    EXPECT_EQ(Game().State().Property(2).BuyPrice, generated);
}
