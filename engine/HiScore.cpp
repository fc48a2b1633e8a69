// The hi-score step at the end of a game the player took part in.

#include <algorithm>
#include <filesystem>
#include <limits>
#include <utility>
#include <vector>

#include "engine/FileLock.h"
#include "engine/Game.h"
#include "engine/Hisc.h"
#include "engine/SavedGame.h"

std::string TGame::HiScorePath() const {
    // The per-user directory first; the program's own directory when the file there is
    // read-only (or there is no per-user directory at all).
    std::string path = WindowsDir.empty() ? std::string() : WindowsDir + kHiScoreFileName;
    if (path.empty() || (FileExists(path) && IsReadOnlyFile(path)))
        path = ProgramDir + kHiScoreFileName;
    return path;
}

// The score of a final worth: below zero scores nothing, and the file keeps whole pounds in
// 32 bits, so a larger fortune is recorded as the largest amount the field holds rather than
// wrapping round to a small one.
std::uint32_t TGame::ScoreOf(Money worth) {
    const std::int64_t pounds = std::max<std::int64_t>(worth.TruncatedPounds(), 0);
    return static_cast<std::uint32_t>(
        std::min<std::int64_t>(pounds, std::numeric_limits<std::uint32_t>::max()));
}

void TGame::RecordHiScore() {
    const TMoveScope move(*this);
    if (!WindowsDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(WindowsDir, ec);
    }
    const std::string path = HiScorePath();
    if (FileExists(path) && IsReadOnlyFile(path)) {
        Ask({TQuestionKind::Error,
             kApplicationTitle,
             "Hi-Score feature not available on Read-Only media",
             {}});
        return;
    }

    THiScoreTable table([this](const std::string& caption, const std::string& text) {
        Ask({TQuestionKind::Error, caption, text, {}});
    });
    table.Load(path, Today());

    // The cash keeps the worth the reckoning announced.
    const int place = table.Classify(ScoreOf(Cash));
    if (place == 0) return;
    Inform(place == 2 ? "You have beaten the previous Hi Score!"
                      : "You are on the Hi Score table!");
    Then(TStep::HiScoreAnnounced);
}

void TGame::AskNames() {
    if (FirstName != "unknown") {
        SaveHiScore();
        return;
    }
    Ask({TQuestionKind::Input, "High Score Table Input", "Enter your first name", FirstName});
    Then(TStep::FirstNameTyped);
}

void TGame::KeepEntryRecords(const std::string& path, const THiScoreTable& table, int place) {
    if (!platform_.KeepRecords) return;
    if (record_.Finished) WriteGameRecord(EntryRecordPath(path, table.Record(place)), record_);
    // The records of entries no longer on the table go with them.
    std::vector<std::string> kept;
    for (int i = 1; i <= 10; ++i) kept.push_back(EntryRecordPath(path, table.Record(i)));
    const std::filesystem::path table_path(path);
    const std::string prefix = table_path.filename().string() + ".";
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(table_path.parent_path(), ec)) {
        const std::string name = item.path().filename().string();
        const bool record = name.size() == prefix.size() + 20 && name.rfind(prefix, 0) == 0 &&
                            name.ends_with(".REC");
        if (record && std::find(kept.begin(), kept.end(), item.path().string()) == kept.end())
            RemoveSavedGame(item.path().string());
    }
}

void TGame::SaveHiScore() {
    const std::string path = HiScorePath();
    const std::uint32_t score = ScoreOf(Cash);
    // Other games may have ended while the names were asked for. With the table locked, read
    // it again, insert into what is on disk now and save; its boxes wait until the lock is let
    // go, and the table is shown once saved, so no other game waits on a box.
    std::vector<std::pair<std::string, std::string>> boxes;
    THiScoreTable current([&boxes](const std::string& caption, const std::string& text) {
        boxes.emplace_back(caption, text);
    });
    bool setAside = false;
    {
        const TFileLock lock(path);
        const bool readable = current.Load(path, Today());
        boxes.clear();  // a table that cannot be read was reported when it was first read
        const int place = current.Insert(score, FirstName, "", LastName, Today());
        if (place <= 10) {
            // An unreadable table is kept aside, never written over: it may be the player's
            // only copy of years of scores.
            const bool unreadable = !readable && FileExists(path);
            if (unreadable) setAside = SetAsideHiScoreTable(path);
            if (unreadable && !setAside)
                current.ReportSaveFailure();
            else if (current.Save(path))
                KeepEntryRecords(path, current, place);
        }
    }
    for (const auto& [caption, text] : boxes) Ask({TQuestionKind::Error, caption, text, {}});
    if (setAside) Inform(kHiScoreTableKeptText);
    std::string display = "PERSONAL HI SCORE TABLE\r\rPlace\tName\t\t\tScore\r";
    for (int i = 1; i <= 10; ++i) {
        // A score whose game replays from its record is marked as verified, after the name
        // (the amounts stay one column of figures).
        const bool verified =
            platform_.KeepRecords &&
            VerifyEntry(path, current.Record(i), platform_).Verdict == TReplayVerdict::Replayed;
        display += std::to_string(i) + ")\t " + current.FullName(i) + (verified ? " \u2713" : "") +
                   "\t\t\u00A3" + std::to_string(current.Score(i)) + "\r";
    }
    Inform(display);
}
