#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

// The personal hi-score table: twelve records kept in a small file of fixed layout.

// One record. Texts are UTF-8 in memory; each holds only what its 256-byte Windows-1252 field
// can (at most 255 bytes, no zero byte), so what is held is exactly what the file will hold.
struct THiRecord {
    std::string FirstName, MiddleName, LastName, Initials, FullName, ShortName, Date;
    std::uint32_t Score = 0;
    std::int32_t Position = 0, PreviousPosition = 0;
};

// Records 0..11. Positions 1..10 are the visible table, best first; record 11 receives the
// entry pushed off position 10; record 0 is kept but never used by the game.
class THiScoreTable {
public:
    static constexpr int kRecordSize = 1804, kRecordCount = 12, kFileSize = 21648;
    static constexpr int kTextFieldSize = 256;
    static constexpr int kMaxTextBytes = kTextFieldSize - 1;
    // Shows a system error box with the given caption and text.
    using ErrorBox = std::function<void(const std::string& caption, const std::string& text)>;

    // Starts with the default table, undated until MakeDefault or Load gives it a date.
    explicit THiScoreTable(ErrorBox systemError = {});

    // All twelve records "Not Yet Allocated", score 0, position and previous position = index.
    void MakeDefault(const std::string& todayYYYYMMDD);

    // No file at the path: the default table and false, silently. A file that cannot be read
    // or is short (a directory counts as such): error box, the default table and false.
    // Bytes past the twelfth record are ignored.
    bool Load(const std::string& path, const std::string& todayYYYYMMDD);

    // Writes a temporary file beside the target and renames it over the target, so the old
    // table survives any failure (SafeReplace: the permission bits are kept, and temporary
    // files of earlier, interrupted saves removed, so a save that may meet another program's
    // holds the table's lock). Failure: error box and false.
    bool Save(const std::string& path) const;
    // The box of a save that failed: "Unable to save the table".
    void ReportSaveFailure() const;

    // 0: not good enough; 1: on the table; 2: better than position 1. An equal score does not
    // pass an entry.
    int Classify(std::uint32_t score) const;

    // Takes the first position whose score is not above `score`, pushing the rest down; returns
    // it (1..10), or 11 when the score reaches no position and nothing changes.
    int Insert(std::uint32_t score, const std::string& first, const std::string& middle,
               const std::string& last, const std::string& todayYYYYMMDD);

    // Of record `position` (0..11); empty text and 0 outside that range.
    std::string FullName(int position) const;
    std::uint32_t Score(int position) const;
    // Record 0..11; throws std::out_of_range otherwise.
    const THiRecord& Record(int index) const;

    // The file image: exactly kFileSize bytes.
    std::string ToBytes() const;
    // Fills the table from a file image; false, with the table unchanged, when it is shorter
    // than kFileSize or a record's position lies outside 0..11. Later bytes are ignored.
    bool FromBytes(const std::string& bytes);

private:
    void ReportError(const std::string& text) const;

    ErrorBox systemError_;
    std::array<THiRecord, kRecordCount> records_;
};

// Moves a table that cannot be read out of the way, to the path with ".bad" appended (an older
// one there is replaced), so that writing a new table does not destroy it. False when it
// cannot be moved.
bool SetAsideHiScoreTable(const std::string& path);
inline constexpr const char* kHiScoreTableKeptText =
    "The hi-score table could not be read; it is kept as REALTOPI.DAT.bad, and a new table "
    "is started.";

// Something other than a directory exists at the path.
bool FileExists(const std::string& path);
// Anything exists at the path, a directory included (a link is followed).
bool PathExists(const std::string& path);
// It exists and no write permission bit is set, like the Windows read-only mark (the test
// does not ask whether this user could write it: root can write anything).
bool IsReadOnlyFile(const std::string& path);
// Adds the owner's write bit; false when that fails.
bool MakeFileWritable(const std::string& path);
