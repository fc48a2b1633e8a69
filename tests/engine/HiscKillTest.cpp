// A program killed while it saves the hi-score table must leave either the old table or the
// new one behind: never a mixture, never a short file.

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
    std::uniform_int_distribution<int> delay(0, 3000);  // microseconds
    int sawOld = 0, sawNew = 0;
    for (int round = 0; round < 200; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Save the two tables in turn until killed.
            for (;;) {
                newTable.Save(path);
                oldTable.Save(path);
            }
        }
        usleep(static_cast<useconds_t>(delay(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        const std::string bytes = ReadAll(path);
        ASSERT_EQ(bytes.size(), static_cast<std::size_t>(THiScoreTable::kFileSize))
            << "round " << round;
        ASSERT_TRUE(bytes == oldBytes || bytes == newBytes) << "mixed table in round " << round;
        (bytes == oldBytes ? sawOld : sawNew)++;

        THiScoreTable loaded;
        ASSERT_TRUE(loaded.Load(path, "20260101"));
    }
    std::printf("killed saves left the old table %d times and the new one %d times\n", sawOld,
                sawNew);
    std::filesystem::remove_all(dir);
}
