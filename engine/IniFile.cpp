#include "engine/IniFile.h"

#include <algorithm>
#include <string_view>

#include "engine/Cp1252.h"
#include "engine/RegularFile.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

std::string CleanValue(std::string_view raw) {
    std::string_view value = Trim(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    // Cut on a character boundary: count the bytes that start a UTF-8 character.
    std::size_t characters = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if ((static_cast<unsigned char>(value[i]) & 0xC0) != 0x80 &&
            ++characters > TIniFile::kMaxValueLength) {
            value = value.substr(0, i);
            break;
        }
    }
    return std::string(value);
}

}  // namespace

TIniFile TIniFile::FromBytes(const std::string& bytes) {
    std::string_view body(bytes);
    if (body.starts_with(kUtf8Bom)) body.remove_prefix(kUtf8Bom.size());
    const std::string raw(body);
    TIniFile ini;
    ini.Parse(IsValidUtf8(raw) ? raw : Cp1252ToUtf8(raw));
    return ini;
}

bool TIniFile::Load(const std::string& path, TIniFile& out) {
    std::string bytes;
    if (ReadRegularFile(path, kMaxFileSize, bytes) != TReadResult::Read) return false;
    out = FromBytes(bytes);
    return true;
}

void TIniFile::Parse(const std::string& text) {
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t current = kNone;  // keys before the first section, or in a repeat, are unused
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of(std::string_view("\n\0", 2), start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        line = Trim(line);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            // Without a closing bracket the name runs to the end of the line.
            const std::size_t close = std::min(line.find(']'), line.size());
            const std::string name = LowerAscii(Trim(line.substr(1, close - 1)));
            const auto [it, added] = sectionIndex_.try_emplace(name, sections_.size());
            current = added ? sections_.size() : kNone;
            if (added) sections_.emplace_back();
            continue;
        }
        const std::size_t equals = line.find('=');
        if (current == kNone || equals == std::string_view::npos) continue;
        sections_[current].try_emplace(LowerAscii(Trim(line.substr(0, equals))),
                                       CleanValue(line.substr(equals + 1)));
    }
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
    const auto found = sectionIndex_.find(LowerAscii(section));
    if (found == sectionIndex_.end()) return defaultValue;
    const TKeys& keys = sections_[found->second];
    const auto value = keys.find(LowerAscii(key));
    return value == keys.end() ? defaultValue : value->second;
}
