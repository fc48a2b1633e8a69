#pragma once

#include <string>

// Who may read a file that SafeReplace writes.
enum class TFileAccess {
    // A replaced file keeps its permission bits; a new one is readable and writable by its
    // owner only (the hi-score table holds names and addresses too).
    Kept,
    // Readable and writable by its owner only, new or replaced (a file with names in it).
    OwnerOnly,
};

// Replaces a file whole and safely: the new contents go to a temporary file beside it, which is
// synced and then renamed over the old one, so a crash or a failed write leaves the old file.
//
// A read-only file gets the owner's write bit back. Temporary files that earlier, interrupted
// replacements of the same file left beside it are removed first, but only those whose writer
// is provably gone: each writer holds a lock on its temporary file until it is renamed, so any
// number of programs may replace the same file at once and all succeed (the last rename wins).
bool SafeReplace(const std::string& path, const std::string& bytes,
                 TFileAccess access = TFileAccess::Kept);

// The marker of the temporary files beside `path`: their names are the file's name,
// ".realtopia-tmp-" and a random suffix of TemporarySuffixLength small letters and digits, a
// name no file of the player's has by chance ("notes.tmp0123456789" is not one).
std::string TemporaryPrefix(const std::string& path);
inline constexpr std::size_t TemporarySuffixLength = 10;
// `name` (a file name without directory) is one of the temporary files of the file `target`.
bool IsTemporaryName(const std::string& name, const std::string& target);
