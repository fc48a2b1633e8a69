#pragma once

#include <string>
#include <unordered_map>
#include <vector>

// A settings file in the Windows INI format, read by the rules of the Windows profile-string
// call: "[section]" headers, "key=value" lines, ';' comment lines, names matched without
// regard to ASCII case, the first section and the first key of a name winning.
//
// Lines end with LF or CR LF. A zero byte also ends a line, so that no value carries one and
// nothing after it is lost.
class TIniFile {
public:
    static constexpr std::size_t kMaxValueLength = 1023;  // characters
    // A settings file is small; a larger one is not read at all (a link to a huge file would
    // cost its size in memory at every new game).
    static constexpr std::size_t kMaxFileSize = 1 << 20;  // bytes

    // UTF-8 when the bytes are valid UTF-8, else Windows-1252. A leading UTF-8 byte-order
    // mark is skipped in either case.
    static TIniFile FromBytes(const std::string& bytes);
    // False, leaving `out` alone, when the file is not a regular file (a directory, a pipe, a
    // device), cannot be read, or is larger than kMaxFileSize. Never waits.
    static bool Load(const std::string& path, TIniFile& out);

    // The value, blanks and tabs trimmed, one pair of enclosing matching quotes removed, cut to
    // kMaxValueLength characters; `defaultValue` when the section or key is missing.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

private:
    using TKeys = std::unordered_map<std::string, std::string>;  // lower-case key -> value

    void Parse(const std::string& text);

    std::vector<TKeys> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_;  // lower-case name -> first
};
