#pragma once

#include <string>

// Replaces a file whole and safely: the new contents go to a temporary file beside it, which is
// synced and then renamed over the old one, so a crash or a failed write leaves the old file.
//
// The new file keeps the old one's permission bits (a read-only one gets the owner's write bit
// back); a new file gets what the umask allows. Temporary files that earlier, interrupted
// replacements of the same file left beside it are removed first: a caller that may replace the
// file while another program does the same holds the file's lock (TFileLock), or it would take
// the other program's temporary file for a left-over.
bool SafeReplace(const std::string& path, const std::string& bytes);

// The marker of the temporary files beside `path`: their names are the file's name, ".tmp"
// and a random suffix.
std::string TemporaryPrefix(const std::string& path);
