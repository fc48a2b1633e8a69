#pragma once

#include <string>

// An exclusive lock on a file, held for as long as the object lives through a lock file beside
// it ("<file>.lock", locked with flock). Programs locking the same file wait for one another;
// the system lets go of the lock of a program that dies, so a killed game never leaves it held.
// Where the lock file cannot be made (a directory the player may not write), nothing is held.
class TFileLock {
public:
    explicit TFileLock(const std::string& path);
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

    bool Held() const { return fd_ >= 0; }
    static std::string LockPath(const std::string& path) { return path + ".lock"; }

private:
    int fd_ = -1;
};
