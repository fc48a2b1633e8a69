// Replacing a file safely: programs saving to one path at the same moment all succeed, only
// the left-overs of saves whose writer is gone are cleared away, and private files stay private.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/SafeReplace.h"
#include "engine/SavedGame.h"
#include "support/Files.h"
#include "support/TempPlatform.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0u;
}

}  // namespace

TEST(SafeReplaceTest, SavesToOnePathAtOnceAllSucceed) {
    // Eight programs save 40 times each to one file, each save clearing away left-overs first:
    // none may take another's temporary file, still being written, for one.
    TempPlatform temp;
    const std::string dir = temp.Root() + "/files";
    fs::create_directory(dir);
    const std::string path = dir + "/save";
    constexpr int kPrograms = 8, kSaves = 40;
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    std::vector<pid_t> children;
    for (int program = 0; program < kPrograms; ++program) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(go[1]);
            char byte = 0;
            if (read(go[0], &byte, 1) != 0) _exit(3);  // all start together
            const std::string bytes(4096 + program, static_cast<char>('a' + program));
            int failed = 0;
            for (int save = 0; save < kSaves; ++save) failed += SafeReplace(path, bytes) ? 0 : 1;
            _exit(failed == 0 ? 0 : 1);
        }
        children.push_back(child);
    }
    close(go[0]);
    close(go[1]);
    int failedPrograms = 0;
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        failedPrograms += WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
    }
    EXPECT_EQ(failedPrograms, 0);
    // One program's whole file, and nothing left beside it.
    const std::string bytes = ReadAll(path);
    ASSERT_GE(bytes.size(), 4096u);
    EXPECT_EQ(bytes, std::string(bytes.size(), bytes.front()));
    EXPECT_EQ(bytes.size(), 4096u + static_cast<std::size_t>(bytes.front() - 'a'));
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"save"});
}

TEST(SafeReplaceTest, OnlyLeftOversWhoseWriterIsGoneAreRemoved) {
    TempPlatform temp;
    const std::string dir = temp.Root() + "/files";
    fs::create_directory(dir);
    const std::string path = dir + "/notes";
    const std::string prefix = TemporaryPrefix(path);
    // A killed save's temporary file, and files that merely begin with the name: among them
    // the player's own, of names a temporary file once had.
    WriteAll(prefix + "k1lled0000", "torn");
    for (const std::string& other :
         {path + ".tmpl", path + ".tmp", path + ".tmp0123456789", prefix + "ABCDEFGHIJ",
          prefix + "abcdefghijk", prefix + "-abcdefghi"})
        WriteAll(other, "mine");
    fs::create_directory(prefix + "directory");
    // A save still being written holds the lock on its temporary file.
    const std::string writing = prefix + "wr1t1ng000";
    WriteAll(writing, "half");
    const int fd = open(writing.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);

    ASSERT_TRUE(SafeReplace(path, "new"));
    EXPECT_EQ(ReadAll(path), "new");
    const std::string marker = fs::path(prefix).filename().string();
    EXPECT_EQ(Entries(dir), (std::vector<std::string>{
                                "notes", marker + "-abcdefghi", marker + "ABCDEFGHIJ",
                                marker + "abcdefghijk", marker + "directory", marker + "wr1t1ng000",
                                "notes.tmp", "notes.tmp0123456789", "notes.tmpl"}));
    EXPECT_EQ(ReadAll(writing), "half");
    EXPECT_EQ(ReadAll(path + ".tmp0123456789"), "mine");

    // Its writer gone (the lock let go), the next save clears it away.
    close(fd);
    ASSERT_TRUE(SafeReplace(path, "newer"));
    EXPECT_FALSE(fs::exists(writing));
    EXPECT_TRUE(fs::exists(path + ".tmp0123456789"));
    EXPECT_TRUE(IsTemporaryName(marker + "0123456789", "notes"));
    EXPECT_FALSE(IsTemporaryName("notes.tmp0123456789", "notes"));
    EXPECT_FALSE(IsTemporaryName("notes.tmpl", "notes"));
}

TEST(SafeReplaceTest, SavedGamesAreOwnerOnlyAndOtherFilesKeepTheirBits) {
    TempPlatform temp;
    const mode_t old = umask(022);
    const std::string saved = temp.Root() + "/REALTOPI.SAV";
    const std::string table = temp.Root() + "/REALTOPI.DAT";
    EXPECT_TRUE(SafeReplace(saved, "game", TFileAccess::OwnerOnly));
    EXPECT_EQ(ModeOf(saved), 0600u);
    chmod(saved.c_str(), 0644);  // widened by hand: the next save makes it private again
    EXPECT_TRUE(SafeReplace(saved, "game", TFileAccess::OwnerOnly));
    EXPECT_EQ(ModeOf(saved), 0600u);

    // The hi-score table: owner-only when new, its own bits when replaced.
    EXPECT_TRUE(SafeReplace(table, "table"));
    EXPECT_EQ(ModeOf(table), 0600u);
    chmod(table.c_str(), 0640);
    EXPECT_TRUE(SafeReplace(table, "table"));
    EXPECT_EQ(ModeOf(table), 0640u);
    // Moved away, as an unreadable table is: the next one is new, owner-only again.
    fs::rename(table, table + ".bad");
    EXPECT_TRUE(SafeReplace(table, "table"));
    EXPECT_EQ(ModeOf(table), 0600u);
    EXPECT_EQ(ModeOf(table + ".bad"), 0640u);
    umask(old);
}
