#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

namespace fuzzsupport {

// The code under test writes to stderr, which the runner closes; findings go to a copy kept open.
inline int& reportFd()
{
    static int fd = 2;
    return fd;
}

inline void keepReportChannel()
{
    reportFd() = dup(2);
}

inline void report(const std::string& what)
{
    const std::string line = what + "\n";
    if (write(reportFd(), line.data(), line.size()) < 0)
        return;
}

// The input as a file on a path, without touching the disk.
inline std::string writeToMemoryFile(const std::uint8_t* data, std::size_t size)
{
    static const int fd = memfd_create("fuzz-input", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 || (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))) {
        report("cannot write the input to a memory file");
        std::abort();
    }
    return "/proc/self/fd/" + std::to_string(fd);
}

}  // namespace fuzzsupport
