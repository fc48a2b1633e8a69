// Runs one command and prints its wall time in seconds, its peak resident memory in KiB, its
// exit status and the CPU time it used in seconds: "0.1234 56789 0 0.0456". The memory is
// the child's own high-water mark as the kernel reports it to wait4(), so no sampling is
// missed and no extra package is needed.

#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: measure COMMAND [ARGUMENT...]\n", stderr);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("measure: fork");
        return 2;
    }
    if (child == 0) {
        execvp(argv[1], argv + 1);
        std::fprintf(stderr, "measure: cannot run %s: %s\n", argv[1], std::strerror(errno));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) {
        std::perror("measure: wait4");
        return 2;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    const auto cpu = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    std::printf("%.4f %ld %d %.4f\n", seconds, usage.ru_maxrss, code,
                cpu(usage.ru_utime) + cpu(usage.ru_stime));
    return 0;
}
