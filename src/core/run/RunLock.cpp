#include "core/run/RunLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace orvalis {

namespace {

// The process holding a flock on the file (dev, ino), from the kernel's table; -1 when unknown.
long lockHolder(dev_t dev, ino_t ino)
{
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream in(line);
        std::string number, kind, mode, access, where;
        long pid = -1;
        if (!(in >> number >> kind) || kind != "FLOCK")
            continue;
        in >> mode >> access >> pid >> where;
        unsigned major = 0, minor = 0;
        unsigned long long inode = 0;
        if (std::sscanf(where.c_str(), "%x:%x:%llu", &major, &minor, &inode) == 3 && major == major(dev) &&
            minor == minor(dev) && inode == ino)
            return pid;
    }
    return -1;
}

}  // namespace

RunLock::~RunLock()
{
    release();
}

void RunLock::release()
{
    for (int fd : fds_)
        ::close(fd);  // closing the last descriptor drops the flock
    fds_.clear();
}

bool RunLock::acquire(const std::vector<std::filesystem::path>& folders)
{
    release();
    message_.clear();
    std::vector<std::pair<dev_t, ino_t>> held;
    for (const std::filesystem::path& folder : folders) {
        const std::string name = folder.empty() ? std::string(".") : folder.string();
        const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        struct stat st {};
        if (fd < 0 || ::fstat(fd, &st) != 0) {
            message_ = "cannot open the folder " + name + ": " + std::strerror(errno);
            if (fd >= 0)
                ::close(fd);
            release();
            return false;
        }
        bool seen = false;
        for (const auto& h : held)
            seen = seen || (h.first == st.st_dev && h.second == st.st_ino);
        if (seen) {
            ::close(fd);
            continue;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            ::close(fd);
            release();
            if (err == EWOULDBLOCK) {
                const long pid = lockHolder(st.st_dev, st.st_ino);
                message_ = "another Orvalis run" + (pid > 0 ? " (process " + std::to_string(pid) + ")" : std::string()) +
                           " is writing into " + name + "; start this one when it has ended";
            } else {
                message_ = "cannot lock the folder " + name + ": " + std::strerror(err);
            }
            return false;
        }
        held.emplace_back(st.st_dev, st.st_ino);
        fds_.push_back(fd);
    }
    return true;
}

}  // namespace orvalis
