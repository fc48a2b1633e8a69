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
    std::string suffix(10, 'a');
    for (char& c : suffix) c = kAlphabet[random() % (sizeof kAlphabet - 1)];
    return suffix;
}

// A new file of a name nobody else uses, as mkstemp makes them; created with "x", so an
// existing file is never opened. Null when none can be made.
std::FILE* CreateTemporary(const std::string& path, std::string& tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = TemporaryPrefix(path) + RandomSuffix();
        std::FILE* file = std::fopen(tempPath.c_str(), "wbx");
        if (file != nullptr) {
#ifndef _WIN32
            fcntl(fileno(file), F_SETFD, FD_CLOEXEC);  // not inherited by a browser started now
#endif
            return file;
        }
        if (errno != EEXIST) break;
    }
    tempPath.clear();
    return nullptr;
}

// Interrupted replacements leave their temporary files behind; enough of them once made every
// later save fail. Directories of such a name are left alone.
void RemoveLeftOvers(const std::string& path) {
    const fs::path target(path);
    const fs::path directory = target.parent_path().empty() ? "." : target.parent_path();
    const std::string prefix = TemporaryPrefix(target.filename().string());
    std::error_code ec;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->path().filename().string().starts_with(prefix)) continue;
        std::error_code entryError;
        if (!fs::is_directory(it->symlink_status(entryError))) fs::remove(it->path(), entryError);
    }
}

// The old file's permission bits for the new one; a read-only file becomes writable by its
// owner, as replacing it clears the read-only mark.
void KeepPermissions([[maybe_unused]] const std::string& path, [[maybe_unused]] std::FILE* file) {
#ifndef _WIN32
    struct stat old {};
    if (stat(path.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return;
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
    return path + ".tmp";
}

bool SafeReplace(const std::string& path, const std::string& bytes) {
    RemoveLeftOvers(path);
    std::string tempPath;
    std::FILE* file = CreateTemporary(path, tempPath);
    bool ok = file != nullptr;
    if (ok) {
        KeepPermissions(path, file);
        ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        ok = std::fflush(file) == 0 && ok;
        ok = ok && SyncToDisk(file);
        ok = std::fclose(file) == 0 && ok;
    }
    std::error_code ec;
    if (ok) {
#ifdef _WIN32
        // Windows will not rename over a read-only file.
        fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ec);
#endif
        // The old file goes only now, when the new one is safely on disk.
        fs::rename(tempPath, path, ec);
        ok = !ec;
    }
    if (!ok) {
        if (!tempPath.empty()) fs::remove(tempPath, ec);
        return false;
    }
    SyncDirectory(fs::path(path).parent_path());
    return true;
}
