#include "engine/SafeFile.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>

#include <cstdio>
#include <fstream>
#include <random>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// Temporary files are named after the target with this and six unique characters appended.
constexpr const char* kTemporaryInfix = ".tmp-";
constexpr std::size_t kUniqueLength = 6;

std::string ErrorText(int error) {
    return std::generic_category().message(error);
}

bool IsTemporaryOf(const std::string& name, const std::string& target) {
    const std::string prefix = target + kTemporaryInfix;
    return name.size() == prefix.size() + kUniqueLength &&
           name.compare(0, prefix.size(), prefix) == 0;
}

// Removes what interrupted writes of `path` left behind, except `keep`.
void RemoveLeftovers(const fs::path& path, const fs::path& keep) {
    std::error_code ec;
    const fs::path directory = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string target = path.filename().string();
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& entry = it->path();
        if (entry != keep && IsTemporaryOf(entry.filename().string(), target)) {
            std::error_code ignored;
            fs::remove(entry, ignored);
        }
    }
}

#ifndef _WIN32

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Makes the rename itself durable; a failure here loses nothing already written.
void SyncDirectory(const fs::path& directory) {
    const int fd = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

#endif

}  // namespace

#ifndef _WIN32

TFileRead ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                          std::string& why) {
    // Non-blocking, so that opening a FIFO does not wait for a writer; fstat then refuses it.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT) return TFileRead::Missing;
        why = ErrorText(errno);
        return TFileRead::Unreadable;
    }
    struct stat status {};
    TFileRead result = TFileRead::Unreadable;
    if (fstat(fd, &status) != 0) {
        why = ErrorText(errno);
    } else if (!S_ISREG(status.st_mode)) {
        why = "not a regular file";
    } else if (static_cast<std::uintmax_t>(status.st_size) > maxBytes) {
        why = "larger than " + std::to_string(maxBytes) + " bytes";
    } else {
        // One byte more than allowed is asked for, to notice a file that grew meanwhile.
        std::string buffer(maxBytes + 1, '\0');
        std::size_t size = 0;
        for (;;) {
            const ssize_t n = read(fd, buffer.data() + size, buffer.size() - size);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                why = ErrorText(errno);
                break;
            }
            size += static_cast<std::size_t>(n);
            if (n == 0 || size == buffer.size()) {
                if (size > maxBytes) {
                    why = "larger than " + std::to_string(maxBytes) + " bytes";
                } else {
                    buffer.resize(size);
                    bytes = std::move(buffer);
                    result = TFileRead::Read;
                }
                break;
            }
        }
    }
    close(fd);
    return result;
}

bool ReplaceFileSafely(const std::string& path, const std::string& bytes, std::string& why) {
    const fs::path target(path);
    std::error_code ec;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);

    std::string temporary = path + kTemporaryInfix + std::string(kUniqueLength, 'X');
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        why = ErrorText(errno);
        return false;
    }
    bool ok = WriteAll(fd, bytes);
    if (ok) ok = fsync(fd) == 0;
    if (!ok) why = ErrorText(errno);
    if (close(fd) != 0 && ok) {
        why = ErrorText(errno);
        ok = false;
    }
    if (ok) {
        fs::rename(temporary, target, ec);
        if (ec) {
            why = ec.message();
            ok = false;
        }
    }
    if (!ok) {
        fs::remove(temporary, ec);
        return false;
    }
    SyncDirectory(target.parent_path());
    RemoveLeftovers(target, temporary);
    return true;
}

#else  // Windows: the same steps through the C library.

TFileRead ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                          std::string& why) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) return TFileRead::Missing;
    if (!fs::is_regular_file(status)) {
        why = "not a regular file";
        return TFileRead::Unreadable;
    }
    std::ifstream in(path, std::ios::binary);
    std::string buffer(maxBytes + 1, '\0');
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto size = static_cast<std::size_t>(in.gcount());
    if (in.bad() || (!in.eof() && size <= maxBytes)) {
        why = "cannot be read";
        return TFileRead::Unreadable;
    }
    if (size > maxBytes) {
        why = "larger than " + std::to_string(maxBytes) + " bytes";
        return TFileRead::Unreadable;
    }
    buffer.resize(size);
    bytes = std::move(buffer);
    return TFileRead::Read;
}

bool ReplaceFileSafely(const std::string& path, const std::string& bytes, std::string& why) {
    const fs::path target(path);
    std::error_code ec;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    std::random_device device;
    std::string temporary;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 100 && file == nullptr; ++attempt) {
        temporary = path + kTemporaryInfix;
        for (std::size_t i = 0; i < kUniqueLength; ++i)
            temporary += "0123456789abcdefghijklmnopqrstuvwxyz"[device() % 36];
        file = std::fopen(temporary.c_str(), "wbx");
    }
    if (file == nullptr) {
        why = ErrorText(errno);
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    ok = ok && _commit(_fileno(file)) == 0;
    ok = std::fclose(file) == 0 && ok;
    if (ok) {
        fs::rename(temporary, target, ec);
        ok = !ec;
    }
    if (!ok) {
        why = "cannot be written";
        fs::remove(temporary, ec);
        return false;
    }
    RemoveLeftovers(target, temporary);
    return true;
}

#endif
