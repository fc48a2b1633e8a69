#include "engine/Hisc.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "engine/Cp1252.h"
#include "engine/RegularFile.h"
#include "engine/SafeReplace.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kErrorCaption = "VODE32";

// Field offsets within a record.
constexpr int kScoreOffset = 1792;
constexpr int kPositionOffset = 1796;
constexpr int kPreviousPositionOffset = 1800;
static_assert(7 * THiScoreTable::kTextFieldSize == kScoreOffset);
static_assert(kPreviousPositionOffset + 4 == THiScoreTable::kRecordSize);
static_assert(THiScoreTable::kRecordSize * THiScoreTable::kRecordCount == THiScoreTable::kFileSize);

// The Windows-1252 bytes a text field will hold: up to the first zero byte, at most 255 bytes.
std::string FieldBytes(const std::string& utf8) {
    std::string bytes = Utf8ToCp1252(utf8);
    const auto zero = bytes.find('\0');
    if (zero != std::string::npos) bytes.resize(zero);
    if (bytes.size() > THiScoreTable::kMaxTextBytes) bytes.resize(THiScoreTable::kMaxTextBytes);
    return bytes;
}

std::string FittedText(const std::string& utf8) {
    return Cp1252ToUtf8(FieldBytes(utf8));
}

std::string CutToField(std::string bytes) {
    if (bytes.size() > THiScoreTable::kMaxTextBytes) bytes.resize(THiScoreTable::kMaxTextBytes);
    return bytes;
}

void PutU32(std::string& image, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) image[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t GetU32(const std::string& image, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(image[offset + i]);
    }
    return value;
}

// A field without a zero byte is read as its first 255 bytes, like one that ends in time.
std::string GetText(const std::string& image, std::size_t offset) {
    std::size_t length = 0;
    while (length < THiScoreTable::kMaxTextBytes && image[offset + length] != '\0') ++length;
    return Cp1252ToUtf8(image.substr(offset, length));
}

}  // namespace

THiScoreTable::THiScoreTable(ErrorBox systemError) : systemError_(std::move(systemError)) {
    MakeDefault("");
}

void THiScoreTable::MakeDefault(const std::string& todayYYYYMMDD) {
    const std::string date = FittedText(todayYYYYMMDD);
    for (int i = 0; i < kRecordCount; ++i) {
        THiRecord& r = records_[i];
        r.FirstName = "Not";
        r.MiddleName = "Yet";
        r.LastName = "Allocated";
        r.Initials = "NYA";
        r.FullName = "Not Yet Allocated";
        r.ShortName = "N.Allocated";
        r.Date = date;
        r.Score = 0;
        r.Position = i;
        r.PreviousPosition = i;
    }
}

void THiScoreTable::ReportError(const std::string& text) const {
    if (systemError_) systemError_(kErrorCaption, text);
}

bool THiScoreTable::Load(const std::string& path, const std::string& todayYYYYMMDD) {
    std::error_code ec;
    const bool exists = fs::exists(path, ec);
    if (!exists && !ec) {
        MakeDefault(todayYYYYMMDD);
        return false;
    }

    // Only a regular file is read: a directory cannot be read and a pipe could block. Bytes
    // past the table are not needed.
    std::string image;
    if (!ec) ReadRegularFile(path, kFileSize, image);
    if (!FromBytes(image)) {
        ReportError("Unable to load the table");
        MakeDefault(todayYYYYMMDD);
        return false;
    }
    return true;
}

bool THiScoreTable::Save(const std::string& path) const {
    if (SafeReplace(path, ToBytes())) return true;
    ReportSaveFailure();
    return false;
}

void THiScoreTable::ReportSaveFailure() const {
    ReportError("Unable to save the table");
}

int THiScoreTable::Classify(std::uint32_t score) const {
    for (int position = 1; position <= 10; ++position) {
        if (records_[position].Score < score) return position == 1 ? 2 : 1;
    }
    return 0;
}

int THiScoreTable::Insert(std::uint32_t score, const std::string& first, const std::string& middle,
                          const std::string& last, const std::string& todayYYYYMMDD) {
    int p = 1;
    while (p <= 10 && records_[p].Score > score) ++p;
    if (p > 10) return 11;

    for (int i = 10; i >= p; --i) {
        THiRecord& moved = records_[i + 1];
        moved = records_[i];
        moved.PreviousPosition = moved.Position;
        moved.Position = i + 1;
    }

    const std::string f = FieldBytes(first);
    const std::string m = FieldBytes(middle);
    const std::string l = FieldBytes(last);
    std::string initials;
    for (const std::string* name : {&f, &m, &l}) {
        if (!name->empty()) initials += name->front();
    }
    std::string shortName = f.empty() ? l : f.substr(0, 1) + "." + l;
    std::string fullName = f;
    if (!m.empty()) fullName += " " + m;
    if (!l.empty()) fullName += " " + l;

    THiRecord& r = records_[p];
    r.Position = p;
    r.PreviousPosition = 11;
    r.Score = score;
    r.FirstName = Cp1252ToUtf8(f);
    r.MiddleName = Cp1252ToUtf8(m);
    r.LastName = Cp1252ToUtf8(l);
    // Written even when empty: a pushed-down entry's text must not stay under the new name.
    r.Initials = Cp1252ToUtf8(initials);
    r.ShortName = Cp1252ToUtf8(CutToField(std::move(shortName)));
    r.FullName = Cp1252ToUtf8(CutToField(std::move(fullName)));
    r.Date = FittedText(todayYYYYMMDD);
    return p;
}

std::string THiScoreTable::FullName(int position) const {
    return position >= 0 && position < kRecordCount ? records_[position].FullName : std::string();
}

std::uint32_t THiScoreTable::Score(int position) const {
    return position >= 0 && position < kRecordCount ? records_[position].Score : 0;
}

const THiRecord& THiScoreTable::Record(int index) const {
    if (index < 0 || index >= kRecordCount) throw std::out_of_range("hi-score record index");
    return records_[index];
}

std::string THiScoreTable::ToBytes() const {
    std::string image(kFileSize, '\0');
    for (int i = 0; i < kRecordCount; ++i) {
        const THiRecord& r = records_[i];
        const std::size_t base = static_cast<std::size_t>(i) * kRecordSize;
        const std::string* fields[] = {&r.FirstName, &r.MiddleName, &r.LastName, &r.Initials,
                                       &r.FullName,  &r.ShortName,  &r.Date};
        for (int f = 0; f < 7; ++f) {
            const std::string bytes = FieldBytes(*fields[f]);
            image.replace(base + f * kTextFieldSize, bytes.size(), bytes);
        }
        PutU32(image, base + kScoreOffset, r.Score);
        PutU32(image, base + kPositionOffset, static_cast<std::uint32_t>(r.Position));
        PutU32(image, base + kPreviousPositionOffset,
               static_cast<std::uint32_t>(r.PreviousPosition));
    }
    return image;
}

bool THiScoreTable::FromBytes(const std::string& bytes) {
    if (bytes.size() < static_cast<std::size_t>(kFileSize)) return false;
    // Every table the game writes keeps each record's position within 0..11. A file whose
    // positions say otherwise is not a table (a disk full of 0xFF would otherwise hold
    // scores nobody can ever beat) and is treated like one that cannot be read.
    for (int i = 0; i < kRecordCount; ++i) {
        const auto position = static_cast<std::int32_t>(
            GetU32(bytes, static_cast<std::size_t>(i) * kRecordSize + kPositionOffset));
        if (position < 0 || position >= kRecordCount) return false;
    }
    for (int i = 0; i < kRecordCount; ++i) {
        THiRecord& r = records_[i];
        const std::size_t base = static_cast<std::size_t>(i) * kRecordSize;
        std::string* fields[] = {&r.FirstName, &r.MiddleName, &r.LastName, &r.Initials,
                                 &r.FullName,  &r.ShortName,  &r.Date};
        for (int f = 0; f < 7; ++f) *fields[f] = GetText(bytes, base + f * kTextFieldSize);
        r.Score = GetU32(bytes, base + kScoreOffset);
        r.Position = static_cast<std::int32_t>(GetU32(bytes, base + kPositionOffset));
        r.PreviousPosition =
            static_cast<std::int32_t>(GetU32(bytes, base + kPreviousPositionOffset));
    }
    return true;
}

bool SetAsideHiScoreTable(const std::string& path) {
    std::error_code ec;
    fs::rename(path, path + ".bad", ec);
    return !ec;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    return !ec && fs::exists(status) && !fs::is_directory(status);
}

bool PathExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::status(path, ec));
}

bool IsReadOnlyFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) return false;
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & kAnyWrite) == fs::perms::none;
}

bool MakeFileWritable(const std::string& path) {
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ec);
    return !ec;
}
