#include "engine/SafeReplace.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

long long ProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return getpid();
#endif
}

// Ten random letters and digits. The generator is seeded afresh in every process, so that
// programs forked from one another draw different names.
std::string RandomSuffix() {
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937_64 random;
    static long long seededFor = -1;
    if (seededFor != ProcessId()) {
        seededFor = ProcessId();
        std::random_device device;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        std::seed_seq seed{device(), device(), static_cast<unsigned>(seededFor),
                           static_cast<unsigned>(now), static_cast<unsigned>(now >> 32)};
        random.seed(seed);
    }
    std::string suffix(TemporarySuffixLength, 'a');
    for (char& c : suffix) c = kAlphabet[random() % (sizeof kAlphabet - 1)];
    return suffix;
}

// A new file of a name nobody else uses, as mkstemp makes them: created exclusively, so an
// existing file is never opened, and locked for as long as it is open, so that no other save
// takes it for a left-over. Null when none can be made.
std::FILE* CreateTemporary(const std::string& path, std::string& tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = TemporaryPrefix(path) + RandomSuffix();
#ifdef _WIN32
        std::FILE* file = std::fopen(tempPath.c_str(), "wbx");
        if (file != nullptr) return file;
        if (errno != EEXIST) break;
#else
        // Not inherited by a browser started now; never readable by others until its
        // permission bits are set (SetPermissions).
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno != EEXIST) break;
            continue;
        }
        int locked = 0;
        while ((locked = flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        // Another save may have taken the file for a left-over between its creation and the
        // lock: then its name is gone, and a new one is drawn.
        struct stat mine {
        }, named{};
        const bool kept = locked == 0 && fstat(fd, &mine) == 0 &&
                          stat(tempPath.c_str(), &named) == 0 && mine.st_dev == named.st_dev &&
                          mine.st_ino == named.st_ino;
        if (kept) {
            if (std::FILE* file = fdopen(fd, "wb")) return file;
            const int error = errno;
            unlink(tempPath.c_str());
            close(fd);
            errno = error;
            break;
        }
        close(fd);
        if (locked != 0) break;
#endif
    }
    tempPath.clear();
    return nullptr;
}

#ifndef _WIN32
// A temporary file whose writer is gone: nobody holds its lock (a writer holds it until its
// file is renamed; a killed one lets go). Where locks are not supported, one not written to
// for a minute. Removed under the lock, and only while the name still means the file locked.
void RemoveIfStale(const fs::path& file) {
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return;
    struct stat opened {};
    bool stale = false;
    // Another user's file of such a name is not one of this program's left-overs.
    if (fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_uid == geteuid()) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            stale = true;
        } else if (errno != EWOULDBLOCK && errno != EINTR) {
            const auto age = std::chrono::system_clock::now() -
                             std::chrono::system_clock::from_time_t(opened.st_mtime);
            stale = age > std::chrono::minutes(1);
        }
    }
    struct stat named {};
    if (stale && lstat(file.c_str(), &named) == 0 && named.st_dev == opened.st_dev &&
        named.st_ino == opened.st_ino)
        unlink(file.c_str());
    close(fd);
}
#endif

// Interrupted replacements leave their temporary files behind; enough of them once made every
// later save fail. Only names of the temporary files' own pattern are looked at:
// "notes.tmp0123456789" beside "notes" is not one. Directories of such a name are left alone.
void RemoveLeftOvers(const std::string& path) {
    const fs::path target(path);
    const fs::path directory = target.parent_path().empty() ? "." : target.parent_path();
    const std::string name = target.filename().string();
    std::error_code ec;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        if (!IsTemporaryName(it->path().filename().string(), name)) continue;
#ifdef _WIN32
        // A file that another save still has open cannot be removed there.
        std::error_code entryError;
        if (fs::is_regular_file(it->symlink_status(entryError))) fs::remove(it->path(), entryError);
#else
        RemoveIfStale(it->path());
#endif
    }
}

// The permission bits of the new file: owner-only when asked or when there is no old file
// (one set aside included); otherwise the old file's, where a read-only file becomes writable
// by its owner, as replacing it clears the read-only mark.
void SetPermissions([[maybe_unused]] const std::string& path, [[maybe_unused]] std::FILE* file,
                    [[maybe_unused]] TFileAccess access) {
#ifndef _WIN32
    struct stat old {};
    if (access == TFileAccess::OwnerOnly || stat(path.c_str(), &old) != 0 ||
        !S_ISREG(old.st_mode)) {
        fchmod(fileno(file), S_IRUSR | S_IWUSR);
        return;
    }
    mode_t mode = old.st_mode & 0777;
    if ((mode & 0222) == 0) mode |= S_IWUSR;
    fchmod(fileno(file), mode);
#endif
}

bool SyncToDisk(std::FILE* file) {
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// Makes the rename itself durable; a failure here loses nothing already written.
void SyncDirectory([[maybe_unused]] const fs::path& directory) {
#ifndef _WIN32
    const int fd = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
#endif
}

}  // namespace

std::string TemporaryPrefix(const std::string& path) {
    return path + ".realtopia-tmp-";
}

bool IsTemporaryName(const std::string& name, const std::string& target) {
    const std::string prefix = TemporaryPrefix(target);
    if (name.size() != prefix.size() + TemporarySuffixLength || !name.starts_with(prefix))
        return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

bool SafeReplace(const std::string& path, const std::string& bytes, TFileAccess access) {
    RemoveLeftOvers(path);
    std::string tempPath;
    std::FILE* file = CreateTemporary(path, tempPath);
    bool ok = file != nullptr;
    if (ok) {
        SetPermissions(path, file, access);
        ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        ok = std::fflush(file) == 0 && ok;
        ok = ok && SyncToDisk(file);
    }
    std::error_code ec;
    if (ok) {
#ifdef _WIN32
        // Windows renames only a closed file, and not over a read-only one.
        ok = std::fclose(file) == 0;
        file = nullptr;
        fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ec);
#endif
        // The old file goes only now, when the new one is safely on disk. The temporary file
        // is still open and locked, so no other save can take it for a left-over meanwhile.
        if (ok) fs::rename(tempPath, path, ec);
        ok = ok && !ec;
    }
    // Flushed and synced before the rename: closing, which lets go of the lock, cannot lose
    // anything now.
    if (file != nullptr) std::fclose(file);
    if (!ok) {
        if (!tempPath.empty()) fs::remove(tempPath, ec);
        return false;
    }
    SyncDirectory(fs::path(path).parent_path());
    return true;
}
