#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/Hisc.h"
#include "support/Files.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kToday = "20240131";

// A fresh directory under /tmp for one test, removed afterwards.
class HiscFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/hisc_test_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }
    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    THiScoreTable MakeTable() {
        return THiScoreTable([this](const std::string& caption, const std::string& text) {
            boxes_.push_back(caption + " | " + text);
        });
    }

    std::vector<std::string> FilesInDir() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    fs::path dir_;
    std::vector<std::string> boxes_;
};

std::uint32_t U32At(const std::string& image, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(image[offset + i]);
    return v;
}

// A text field: its text up to the zero byte, and whether every byte after it is zero.
std::pair<std::string, bool> FieldAt(const std::string& image, std::size_t offset) {
    const std::string field = image.substr(offset, 256);
    const std::size_t zero = field.find('\0');
    if (zero == std::string::npos) return {field, false};
    return {field.substr(0, zero), field.find_first_not_of('\0', zero) == std::string::npos};
}

// Ten real scores: 1000 at position 1 down to 100 at position 10, names P1..P10.
THiScoreTable TenScores() {
    THiScoreTable table;
    table.MakeDefault(kToday);
    for (int i = 10; i >= 1; --i) {
        // Appended rather than `"P" + std::to_string(i)`, which GCC 12 at -O3 takes for an
        // overlapping copy (-Wrestrict).
        std::string name = "P";
        name += std::to_string(i);
        EXPECT_EQ(table.Insert(static_cast<std::uint32_t>(1100 - 100 * i), name, "", "", kToday),
                  1);
    }
    return table;
}

}  // namespace

TEST(Hisc, DefaultTableHasItsByteLayout) {
    THiScoreTable table;
    table.MakeDefault(kToday);
    const std::string image = table.ToBytes();
    ASSERT_EQ(image.size(), 21648u);
    const char* texts[] = {"Not",         "Yet", "Allocated", "NYA", "Not Yet Allocated",
                           "N.Allocated", kToday};
    for (int r = 0; r < 12; ++r) {
        const std::size_t base = static_cast<std::size_t>(r) * 1804;
        for (int f = 0; f < 7; ++f) {
            EXPECT_EQ(FieldAt(image, base + f * 256), std::make_pair(std::string(texts[f]), true))
                << "record " << r << " field " << f;
        }
        EXPECT_EQ(U32At(image, base + 1792), 0u);
        EXPECT_EQ(U32At(image, base + 1796), static_cast<std::uint32_t>(r));
        EXPECT_EQ(U32At(image, base + 1800), static_cast<std::uint32_t>(r));
    }
    EXPECT_EQ(table.Record(7).FullName, "Not Yet Allocated");
    EXPECT_EQ(table.Record(7).Position, 7);
    EXPECT_THROW(table.Record(12), std::out_of_range);
}

TEST(Hisc, StoresWindows1252TextsAndLittleEndianNumbers) {
    THiScoreTable table;
    table.MakeDefault(kToday);
    ASSERT_EQ(table.Insert(0x01020304u, "£é’", "漢", "O’Neill", "20991231"), 1);
    const THiRecord& r = table.Record(1);
    EXPECT_EQ(r.MiddleName, "?");  // what the file can hold is what is held
    EXPECT_EQ(r.FullName, "£é’ ? O’Neill");

    const std::string image = table.ToBytes();
    ASSERT_EQ(image.size(), 21648u);
    const std::size_t base = 1804;
    EXPECT_EQ(FieldAt(image, base).first, "\xA3\xE9\x92");
    EXPECT_EQ(FieldAt(image, base + 512).first, "O\x92Neill");
    EXPECT_EQ(FieldAt(image, base + 768).first, "\xA3?O");
    EXPECT_EQ(FieldAt(image, base + 1024).first, "\xA3\xE9\x92 ? O\x92Neill");
    EXPECT_EQ(FieldAt(image, base + 1280).first, "\xA3.O\x92Neill");
    EXPECT_EQ(FieldAt(image, base + 1536).first, "20991231");
    EXPECT_EQ(image.substr(base + 1792, 12),
              std::string("\x04\x03\x02\x01\x01\0\0\0\x0B\0\0\0", 12));

    THiScoreTable copy;
    ASSERT_TRUE(copy.FromBytes(image));
    EXPECT_EQ(copy.Record(1).FirstName, "£é’");
    EXPECT_EQ(copy.Record(1).ShortName, "£.O’Neill");
    EXPECT_EQ(copy.Score(1), 0x01020304u);
    EXPECT_EQ(copy.ToBytes(), image);
}

TEST(Hisc, CutsTextsToTheirFields) {
    THiScoreTable table;
    table.MakeDefault(kToday);
    const std::string longName(300, 'a');
    std::string accented;
    for (int i = 0; i < 200; ++i) accented += "é";  // 400 bytes of UTF-8, 200 in the file
    table.Insert(5, longName, "", accented, kToday);
    const THiRecord& r = table.Record(1);
    EXPECT_EQ(r.FirstName, std::string(255, 'a'));
    EXPECT_EQ(r.LastName, accented);
    EXPECT_EQ(r.FullName, std::string(255, 'a'));
    EXPECT_EQ(r.ShortName, "a." + accented);  // 202 bytes in the file

    std::string image = table.ToBytes();
    EXPECT_EQ(FieldAt(image, 1804).first.size(), 255u);
    EXPECT_EQ(image[1804 + 255], '\0');

    table.Insert(6, std::string("Ab\0Cd", 5), "", "Ef", kToday);
    EXPECT_EQ(table.FullName(1), "Ab Ef");  // a zero byte would end the field anyway

    // A field with no zero byte reads as its first 255 bytes and nothing of the next field.
    image = table.ToBytes();
    image.replace(1804, 256, std::string(256, 'z'));
    image.replace(1804 + 1792, 4, "\xFF\xFF\xFF\xFF");
    ASSERT_TRUE(table.FromBytes(image));
    EXPECT_EQ(table.Record(1).FirstName, std::string(255, 'z'));
    EXPECT_EQ(table.Record(1).MiddleName, "");
    EXPECT_EQ(table.Record(1).Score, 4294967295u);
}

TEST(Hisc, FromBytesRejectsShortImagesAndIgnoresExtraBytes) {
    THiScoreTable table = TenScores();
    const std::string image = table.ToBytes();
    THiScoreTable other;
    other.MakeDefault(kToday);
    const std::string before = other.ToBytes();
    EXPECT_FALSE(other.FromBytes(image.substr(0, 21647)));
    EXPECT_FALSE(other.FromBytes(""));
    EXPECT_EQ(other.ToBytes(), before);
    EXPECT_TRUE(other.FromBytes(image + "trailing"));
    EXPECT_EQ(other.ToBytes(), image);
}

TEST(Hisc, ClassifyNeedsToPassAnEntry) {
    THiScoreTable table;
    table.MakeDefault(kToday);
    EXPECT_EQ(table.Classify(0), 0);  // a table of zeros takes no £0 result
    EXPECT_EQ(table.Classify(1), 2);

    table = TenScores();
    EXPECT_EQ(table.Classify(100), 0);  // equal to the tenth
    EXPECT_EQ(table.Classify(101), 1);
    EXPECT_EQ(table.Classify(700), 1);  // equal to position 4, passes position 5
    EXPECT_EQ(table.Classify(1000), 1);
    EXPECT_EQ(table.Classify(1001), 2);
    EXPECT_EQ(table.Classify(4294967295u), 2);
}

TEST(Hisc, InsertShiftsEntriesAndKeepsTheirPreviousPositions) {
    THiScoreTable table;
    table.MakeDefault(kToday);
    EXPECT_EQ(table.Insert(1, "Ab", "", "Cd", kToday), 1);
    for (int i = 2; i <= 10; ++i) {
        EXPECT_EQ(table.FullName(i), "Not Yet Allocated");
        EXPECT_EQ(table.Score(i), 0u);
    }

    table = TenScores();
    EXPECT_EQ(table.FullName(1), "P1");
    EXPECT_EQ(table.FullName(10), "P10");
    // Each earlier entry was pushed down once per later insertion: P10 now stands at 10,
    // having come from 9.
    EXPECT_EQ(table.Record(10).PreviousPosition, 9);
    EXPECT_EQ(table.Record(1).PreviousPosition, 11);

    // Equal to position 4: placed above the older equal entry.
    EXPECT_EQ(table.Insert(700, "New", "", "", "20250101"), 4);
    EXPECT_EQ(table.FullName(4), "New");
    EXPECT_EQ(table.Record(4).Position, 4);
    EXPECT_EQ(table.Record(4).PreviousPosition, 11);
    EXPECT_EQ(table.Record(4).Date, "20250101");
    EXPECT_EQ(table.FullName(5), "P4");
    EXPECT_EQ(table.Record(5).Position, 5);
    EXPECT_EQ(table.Record(5).PreviousPosition, 4);
    EXPECT_EQ(table.FullName(3), "P3");
    EXPECT_EQ(table.Record(3).PreviousPosition, 2);  // above the new entry: not moved again
    // The old tenth went to record 11.
    EXPECT_EQ(table.FullName(10), "P9");
    EXPECT_EQ(table.FullName(11), "P10");
    EXPECT_EQ(table.Score(11), 100u);
    EXPECT_EQ(table.Record(11).Position, 11);
    EXPECT_EQ(table.Record(11).PreviousPosition, 10);

    // Below every entry: nothing changes.
    const std::string before = table.ToBytes();
    EXPECT_EQ(table.Insert(199, "Low", "", "", kToday), 11);
    EXPECT_EQ(table.ToBytes(), before);

    // Equal to the tenth: Insert still places it there, although Classify would not.
    EXPECT_EQ(table.Classify(200), 0);
    EXPECT_EQ(table.Insert(200, "Tie", "", "", kToday), 10);
    EXPECT_EQ(table.FullName(11), "P9");
    EXPECT_EQ(table.Record(0).FullName, "Not Yet Allocated");  // record 0 is never touched
}

TEST(Hisc, InsertComposesInitialsShortAndFullNames) {
    THiScoreTable table = TenScores();
    table.Insert(5000, "Ab", "", "Cd", kToday);
    EXPECT_EQ(table.FullName(1), "Ab Cd");
    EXPECT_EQ(table.Record(1).Initials, "AC");
    EXPECT_EQ(table.Record(1).ShortName, "A.Cd");

    table.Insert(5000, "Ab", "Xy", "Cd", kToday);
    EXPECT_EQ(table.FullName(1), "Ab Xy Cd");
    EXPECT_EQ(table.Record(1).Initials, "AXC");
    EXPECT_EQ(table.Record(1).MiddleName, "Xy");

    table.Insert(5000, "", "", "Cd", kToday);
    EXPECT_EQ(table.FullName(1), " Cd");
    EXPECT_EQ(table.Record(1).ShortName, "Cd");
    EXPECT_EQ(table.Record(1).Initials, "C");

    table.Insert(5000, "Ab", "", "", kToday);
    EXPECT_EQ(table.FullName(1), "Ab");
    EXPECT_EQ(table.Record(1).ShortName, "A.");

    // Both names empty: the fields are empty, not left holding the pushed-down entry's text.
    table.Insert(6000, "", "", "", kToday);
    const THiRecord& r = table.Record(1);
    EXPECT_EQ(r.FullName, "");
    EXPECT_EQ(r.Initials, "");
    EXPECT_EQ(r.ShortName, "");
    EXPECT_EQ(r.FirstName, "");
    EXPECT_EQ(table.FullName(2), "Ab");
    const std::string image = table.ToBytes();
    EXPECT_EQ(FieldAt(image, 1804 + 1024), std::make_pair(std::string(), true));
}

TEST_F(HiscFiles, SaveAndLoadRoundTrip) {
    const std::string path = PathOf("REALTOPI.DAT");
    THiScoreTable table = MakeTable();
    EXPECT_FALSE(table.Load(path, kToday));  // no file: default table, no box
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(table.Record(3).Date, kToday);
    EXPECT_FALSE(fs::exists(path));

    table.Insert(1234567, "Ab", "", "Cd", kToday);
    ASSERT_TRUE(table.Save(path));
    EXPECT_EQ(fs::file_size(path), 21648u);
    EXPECT_EQ(ReadAll(path), table.ToBytes());
    EXPECT_EQ(FilesInDir(), std::vector<std::string>{"REALTOPI.DAT"});  // no temporary left

    THiScoreTable loaded = MakeTable();
    EXPECT_TRUE(loaded.Load(path, "19990101"));
    EXPECT_EQ(loaded.ToBytes(), table.ToBytes());
    EXPECT_EQ(loaded.Score(1), 1234567u);

    // Saving again replaces the file whole.
    loaded.Insert(2000000, "Ef", "", "Gh", kToday);
    ASSERT_TRUE(loaded.Save(path));
    EXPECT_EQ(ReadAll(path), loaded.ToBytes());
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(HiscFiles, LoadReportsShortEmptyAndUnreadableFiles) {
    const std::string good = TenScores().ToBytes();
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"short", good.substr(0, 21647)}, {"empty", ""}, {"tiny", "abc"}};
    for (const auto& [name, bytes] : bad) {
        WriteAll(PathOf(name), bytes);
        THiScoreTable table = MakeTable();
        table.Insert(50, "X", "", "Y", kToday);
        boxes_.clear();
        EXPECT_FALSE(table.Load(PathOf(name), kToday)) << name;
        EXPECT_EQ(boxes_, std::vector<std::string>{"VODE32 | Unable to load the table"}) << name;
        EXPECT_EQ(table.FullName(1), "Not Yet Allocated") << name;
        EXPECT_EQ(table.Record(1).Date, kToday) << name;
    }

    // A directory where the file should be cannot be read.
    fs::create_directory(PathOf("adir"));
    boxes_.clear();
    THiScoreTable table = MakeTable();
    EXPECT_FALSE(table.Load(PathOf("adir"), kToday));
    EXPECT_EQ(boxes_.size(), 1u);

    // A longer file: the extra bytes are ignored.
    WriteAll(PathOf("long"), good + std::string(5000, 'x'));
    boxes_.clear();
    EXPECT_TRUE(table.Load(PathOf("long"), kToday));
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(table.ToBytes(), good);

    // Garbage of the right size loads; each text is read up to its zero byte or 255 bytes,
    // never into the next field.
    std::string garbage(21648, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 7 + 1);
    for (std::size_t r = 0; r < 12; ++r)  // positions as every real table has them
        garbage.replace(r * 1804 + 1796, 4, std::string{static_cast<char>(r), 0, 0, 0});
    WriteAll(PathOf("garbage"), garbage);
    EXPECT_TRUE(table.Load(PathOf("garbage"), kToday));
    const std::string reread = table.ToBytes();
    ASSERT_EQ(reread.size(), 21648u);
    for (std::size_t offset = 0; offset < 21648; offset += 1804) {
        for (std::size_t f = 0; f < 7; ++f) {
            std::string expected = garbage.substr(offset + 256 * f, 255);
            expected = expected.substr(0, expected.find('\0'));
            EXPECT_EQ(FieldAt(reread, offset + 256 * f), std::make_pair(expected, true));
        }
        EXPECT_EQ(reread.substr(offset + 1792, 12), garbage.substr(offset + 1792, 12));
    }

    // A position outside the table marks the file as not a table at all.
    garbage[5 * 1804 + 1796] = 12;
    WriteAll(PathOf("garbage"), garbage);
    boxes_.clear();
    EXPECT_FALSE(table.Load(PathOf("garbage"), kToday));
    EXPECT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(table.FullName(1), "Not Yet Allocated");
}

TEST_F(HiscFiles, SaveFailuresReportAndLeaveNoTemporary) {
    THiScoreTable table = MakeTable();
    table.MakeDefault(kToday);

    // The parent of the path is a regular file: nothing can be created there, even by root.
    WriteAll(PathOf("plain"), "x");
    EXPECT_FALSE(table.Save(PathOf("plain") + "/REALTOPI.DAT"));
    EXPECT_EQ(boxes_, std::vector<std::string>{"VODE32 | Unable to save the table"});

    // A directory in the file's place survives, and the temporary is cleaned up.
    fs::create_directory(PathOf("REALTOPI.DAT"));
    WriteAll(PathOf("REALTOPI.DAT") + "/inside", "keep");
    boxes_.clear();
    EXPECT_FALSE(table.Save(PathOf("REALTOPI.DAT")));
    EXPECT_EQ(boxes_.size(), 1u);
    EXPECT_TRUE(fs::is_directory(PathOf("REALTOPI.DAT")));
    EXPECT_EQ(ReadAll(PathOf("REALTOPI.DAT") + "/inside"), "keep");
    std::vector<std::string> names = FilesInDir();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"REALTOPI.DAT", "plain"}));
}

TEST_F(HiscFiles, OldTableSurvivesAWriteThatFails) {
    const std::string path = PathOf("REALTOPI.DAT");
    const THiScoreTable old = TenScores();
    ASSERT_TRUE(old.Save(path));

    THiScoreTable table = MakeTable();
    table.MakeDefault(kToday);
    {
        // A file size limit makes the write fail for any user, root included.
        struct rlimit saved {};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        struct rlimit small = saved;
        small.rlim_cur = 1000;
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool saved_ok = table.Save(path);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        EXPECT_FALSE(saved_ok);
    }
    EXPECT_EQ(boxes_, std::vector<std::string>{"VODE32 | Unable to save the table"});
    EXPECT_EQ(ReadAll(path), old.ToBytes());
    EXPECT_EQ(FilesInDir(), std::vector<std::string>{"REALTOPI.DAT"});
}

TEST_F(HiscFiles, OldTableSurvivesADirectoryWithoutWritePermission) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write into any directory";
    const std::string path = PathOf("REALTOPI.DAT");
    const THiScoreTable old = TenScores();
    ASSERT_TRUE(old.Save(path));
    fs::permissions(dir_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    THiScoreTable table = MakeTable();
    table.MakeDefault(kToday);
    EXPECT_FALSE(table.Save(path));
    EXPECT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(ReadAll(path), old.ToBytes());
}

TEST_F(HiscFiles, SaveKeepsThePermissionBits) {
    const std::string path = PathOf("REALTOPI.DAT");
    const THiScoreTable table = TenScores();
    const mode_t mask = umask(022);
    ASSERT_TRUE(table.Save(path));
    // A new file holds names and addresses: its owner's only, whatever the umask allows.
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0600));
    for (const auto mode : {fs::perms(0644), fs::perms(0640), fs::perms(0604)}) {
        fs::permissions(path, mode);
        ASSERT_TRUE(table.Save(path));
        EXPECT_EQ(fs::status(path).permissions(), mode);
    }
    umask(mask);
}

TEST_F(HiscFiles, ReadOnlyFilesFollowTheModeBits) {
    const std::string path = PathOf("REALTOPI.DAT");
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(IsReadOnlyFile(path));
    EXPECT_FALSE(FileExists(dir_.string()));  // a directory is not a file

    const THiScoreTable old = TenScores();
    ASSERT_TRUE(old.Save(path));
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(IsReadOnlyFile(path));
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_TRUE(IsReadOnlyFile(path));
    ASSERT_EQ(chmod(path.c_str(), 0400), 0);
    EXPECT_TRUE(IsReadOnlyFile(path));
    ASSERT_EQ(chmod(path.c_str(), 0420), 0);
    EXPECT_FALSE(IsReadOnlyFile(path));  // any write bit counts, as long as one is set

    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_TRUE(MakeFileWritable(path));
    EXPECT_FALSE(IsReadOnlyFile(path));
    EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_FALSE(MakeFileWritable(PathOf("missing")));

    // A read-only table is replaced by Save, which clears the mark first.
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    THiScoreTable table = MakeTable();
    table.MakeDefault("20000101");
    EXPECT_TRUE(table.Save(path));
    EXPECT_EQ(ReadAll(path), table.ToBytes());
    EXPECT_FALSE(IsReadOnlyFile(path));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0644));  // its other bits kept
}
