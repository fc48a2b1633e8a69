#pragma once

#include <cstddef>
#include <string>

enum class TReadResult { Read, TooLarge, Unreadable };

// Reads a file the player may have put anything in place of. Only a regular file is read, and
// opening it never waits: a named pipe would block for ever and a device such as /dev/zero
// would never end. At most `limit` bytes are kept in `out`; TooLarge when the file holds more
// (`out` then holds its first `limit` bytes). Unreadable when it is missing, not a regular
// file, or cannot be read.
TReadResult ReadRegularFile(const std::string& path, std::size_t limit, std::string& out);
