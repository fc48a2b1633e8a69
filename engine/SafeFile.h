#pragma once

#include <cstddef>
#include <string>

// Whole-file reading and writing for the files the game keeps between runs: a read never
// blocks and never takes more than it asked for, and a write never leaves a torn file.

enum class TFileRead { Read, Missing, Unreadable };

// Reads the whole file at `path` into `bytes` when it is a regular file of at most `maxBytes`.
// A FIFO, a device or a directory is refused without waiting for a writer. Missing: there is
// nothing at the path. Unreadable: `why` says what is wrong.
TFileRead ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                          std::string& why);

// Replaces the file at `path` with `bytes`: a new file with a unique name beside it is written,
// synced and renamed over the old one, so a reader (or a crash) sees the old file or the new
// one, never a mixture. The directory is created when missing; temporary files that earlier,
// interrupted writes left behind are removed after a successful write. False, with `why` and
// the old file untouched, on failure.
bool ReplaceFileSafely(const std::string& path, const std::string& bytes, std::string& why);
