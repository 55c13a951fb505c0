#include "core/io/SafeFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvalis {

namespace {

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The hidden files made and not yet put in place, for removeUnfinishedFiles. Never destroyed: a
// thread ending the process at once may still look at it while exit() runs the destructors.
std::mutex unfinishedLock;
std::vector<std::string>& unfinished()
{
    static auto* names = new std::vector<std::string>;
    return *names;
}

void forget(const std::string& temporary)
{
    const std::lock_guard<std::mutex> hold(unfinishedLock);
    std::vector<std::string>& names = unfinished();
    names.erase(std::remove(names.begin(), names.end(), temporary), names.end());
}

}  // namespace

void removeUnfinishedFiles()
{
    if (!unfinishedLock.try_lock())
        return;
    for (const std::string& name : unfinished())
        ::unlink(name.c_str());
    unfinished().clear();
    unfinishedLock.unlock();
}

std::FILE* createBeside(const std::string& path, std::string& temporary)
{
    static std::atomic<unsigned> counter{0};
    const std::string folder = folderOf(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        // A short fixed shape: the final name may already be as long as the file system allows.
        temporary = folder + ".orvalis-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".part";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            temporary.clear();
            return nullptr;
        }
        std::FILE* file = fdopen(fd, "wb");
        if (!file) {
            const int err = errno;
            ::close(fd);
            ::unlink(temporary.c_str());
            temporary.clear();
            errno = err;
        } else {
            const std::lock_guard<std::mutex> hold(unfinishedLock);
            unfinished().push_back(temporary);
        }
        return file;
    }
    temporary.clear();
    errno = EEXIST;
    return nullptr;
}

std::FILE* createUnnamed(const std::string& path, std::string& temporary)
{
    temporary.clear();
    // The name comes through /proc/self/fd, so files without one are used only where it is there.
    static const bool procFds = ::access("/proc/self/fd", X_OK) == 0;
    if (procFds) {
        const std::string folder = folderOf(path);
        const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            if (std::FILE* file = fdopen(fd, "wb"))
                return file;
            ::close(fd);
            return nullptr;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return nullptr;
    }
    return createBeside(path, temporary);
}

bool nameFile(std::FILE* file, const std::string& temporary, const std::string& path)
{
    if (!temporary.empty())
        return replaceWith(temporary, path);
    const std::string self = "/proc/self/fd/" + std::to_string(fileno(file));
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno != EEXIST)
        return false;
    // The earlier file goes first: for a moment the name is missing, never half written.
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        return false;
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

bool replaceableByRename(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return errno == ENOENT;
    return S_ISREG(st.st_mode);
}

bool replaceWith(const std::string& temporary, const std::string& path)
{
    const bool done = std::rename(temporary.c_str(), path.c_str()) == 0;
    if (done)
        forget(temporary);
    return done;
}

std::FILE* createReplacement(const std::string& path, std::string& temporary)
{
    temporary.clear();
    return replaceableByRename(path) ? createBeside(path, temporary) : std::fopen(path.c_str(), "wb");
}

bool writeWholeFile(const std::string& path, const std::string& text)
{
    std::string temporary;
    std::FILE* file = createReplacement(path, temporary);
    if (!file)
        return false;
    errno = 0;
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    int err = errno;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && !temporary.empty() && !replaceWith(temporary, path)) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        if (!temporary.empty())
            ::unlink(temporary.c_str());
        errno = err != 0 ? err : EIO;
    }
    return ok;
}

std::FILE* openPlainFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = fdopen(fd, "rb");
    if (!file) {
        const int err = errno;
        ::close(fd);
        errno = err;
    }
    return file;
}

std::timed_mutex& appendLock()
{
    static auto* lock = new std::timed_mutex;  // never destroyed, as unfinished()
    return *lock;
}

bool appendWhole(std::FILE* file, const std::string& block)
{
    const std::lock_guard<std::timed_mutex> hold(appendLock());
    if (std::fflush(file) != 0)
        return false;
    const int fd = fileno(file);
    const off_t start = ::lseek(fd, 0, SEEK_CUR);  // -1 for a pipe, which cannot be cut back
    std::size_t done = 0;
    while (done < block.size()) {
        const ssize_t n = ::write(fd, block.data() + done, block.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        const int err = n == 0 ? EIO : errno;
        if (start >= 0 && ::ftruncate(fd, start) == 0)
            ::lseek(fd, start, SEEK_SET);
        errno = err;
        return false;
    }
    return true;
}

}  // namespace orvalis
