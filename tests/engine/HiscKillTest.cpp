// A program killed while it saves the hi-score table must leave either the old table or the
// new one behind: never a mixture, never a short file; and the temporary files of the killed
// saves must not pile up.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Hisc.h"
#include "support/Files.h"

TEST(HiscKillTest, KilledSaveLeavesOldOrNewTable) {
    char pattern[] = "/tmp/realtopia-kill-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    const std::string path = dir + "/REALTOPI.DAT";

    THiScoreTable oldTable;
    oldTable.MakeDefault("20000101");
    oldTable.Insert(1000, "Old", "", "Player", "20000101");
    THiScoreTable newTable;
    newTable.MakeDefault("20260101");
    for (std::uint32_t i = 1; i <= 10; ++i)
        newTable.Insert(i * 77777, "New", "", "Winner", "20260101");
    const std::string oldBytes = oldTable.ToBytes();
    const std::string newBytes = newTable.ToBytes();
    ASSERT_TRUE(oldTable.Save(path));

    std::mt19937 random(20260101);
    std::uniform_int_distribution<int> saves(1, 3);
    int sawOld = 0, sawNew = 0, interrupted = 0;
    for (int round = 0; round < 120; ++round) {
        int done[2];
        ASSERT_EQ(pipe(done), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves the new table and the old one in turn until killed, reporting each save
            // that succeeded.
            close(done[0]);
            for (;;) {
                for (const THiScoreTable* table : {&newTable, &oldTable}) {
                    if (!table->Save(path)) _exit(1);
                    if (write(done[1], "s", 1) != 1) _exit(1);
                }
            }
        }
        close(done[1]);
        // Killed after the k-th save, as soon as it is reported: the file holds the k-th
        // table, or the next one if that save was finished before the kill arrived.
        const int k = saves(random);
        char report = 0;
        for (int i = 0; i < k; ++i) ASSERT_EQ(read(done[0], &report, 1), 1) << "round " << round;
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        close(done[0]);

        const std::string bytes = ReadAll(path);
        const std::string& kth = k % 2 == 1 ? newBytes : oldBytes;
        const std::string& next = k % 2 == 1 ? oldBytes : newBytes;
        ASSERT_EQ(bytes.size(), static_cast<std::size_t>(THiScoreTable::kFileSize))
            << "round " << round;
        ASSERT_TRUE(bytes == kth || bytes == next) << "mixed or stale table in round " << round;
        (bytes == oldBytes ? sawOld : sawNew)++;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            if (entry.path().filename() != "REALTOPI.DAT") ++interrupted;

        THiScoreTable loaded;
        ASSERT_TRUE(loaded.Load(path, "20260101"));
    }
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);

    // A later save clears away whatever the killed ones left.
    ASSERT_TRUE(newTable.Save(path));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"REALTOPI.DAT"});
    std::printf(
        "killed saves left the old table %d times and the new one %d times, and %d "
        "temporary files\n",
        sawOld, sawNew, interrupted);
    std::filesystem::remove_all(dir);
}
