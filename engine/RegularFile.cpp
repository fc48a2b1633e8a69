#include "engine/RegularFile.h"

#include <utility>

#ifdef _WIN32
#include <filesystem>
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

TReadResult ReadRegularFile(const std::string& path, std::size_t limit, std::string& out) {
    out.clear();
    std::string bytes;
#ifdef _WIN32
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return TReadResult::Unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in) return TReadResult::Unreadable;
    bytes.resize(limit + 1);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return TReadResult::Unreadable;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
#else
    // Non-blocking, so that opening a pipe returns at once; it is refused right after.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return TReadResult::Unreadable;
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        return TReadResult::Unreadable;
    }
    // One byte past the limit tells a file that is too large.
    bytes.resize(limit + 1);
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t count = read(fd, bytes.data() + filled, bytes.size() - filled);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) {
            close(fd);
            return TReadResult::Unreadable;
        }
        if (count == 0) break;
        filled += static_cast<std::size_t>(count);
    }
    close(fd);
    bytes.resize(filled);
#endif
    const bool tooLarge = bytes.size() > limit;
    if (tooLarge) bytes.resize(limit);
    out = std::move(bytes);
    return tooLarge ? TReadResult::TooLarge : TReadResult::Read;
}
