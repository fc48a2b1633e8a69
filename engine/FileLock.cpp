#include "engine/FileLock.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#endif

TFileLock::TFileLock([[maybe_unused]] const std::string& path) {
#ifndef _WIN32
    // No link is followed: in a shared directory a planted link could point anywhere.
    fd_ = open(LockPath(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd_ < 0) return;
    int result = 0;
    while ((result = flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (result != 0) {
        close(fd_);
        fd_ = -1;
    }
#endif
    // Windows builds do not lock yet.
}

TFileLock::~TFileLock() {
#ifndef _WIN32
    if (fd_ >= 0) close(fd_);  // closing lets go of the lock
#endif
}
