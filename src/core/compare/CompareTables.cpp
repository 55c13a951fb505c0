#include "core/compare/CompareTables.h"

#include "core/compare/CompareRecord.h"
#include "core/io/SafeFile.h"

#include <algorithm>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace orvalis {

std::string neutralMetricsHeader()
{
    return "file,model,replicate,level,class,id,metric,value\n";
}

std::string compareHeader()
{
    return "file,model,level,class,metric,real,n,na,mean,sd,q2.5,q97.5,percentile,z\n";
}

std::string windowsHeader()
{
    return "file,rows,cols,habitat,cover\n";
}

CompareTables::~CompareTables()
{
    for (std::FILE* f : files_)
        if (f)
            std::fclose(f);
}

bool CompareTables::fail(const std::string& path, int err)
{
    error_ = path + ": " + (err ? std::strerror(err) : "could not be written");
    return false;
}

bool CompareTables::begin(const std::filesystem::path& folder, const std::string& recordHead)
{
    const char* names[] = {CompareFileNames::neutral, CompareFileNames::compare, CompareFileNames::windows,
                           CompareFileNames::record};
    const std::string heads[] = {neutralMetricsHeader(), compareHeader(), windowsHeader(), recordHead};
    std::vector<std::string> temporaries;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string path = (folder / names[i]).string();
        std::string temporary;
        errno = 0;
        std::FILE* f = createReplacement(path, temporary);
        bool ok = f && appendWhole(f, heads[i]);
        if (i < sums_.size()) {
            sums_[i] = std::make_unique<Sha256>();
            sums_[i]->add(heads[i]);
            rows_[i] = 0;
        }
        if (f)
            files_.push_back(f);
        paths_.push_back(path);
        temporaries.push_back(temporary);
        if (!ok) {
            const int err = errno;
            for (std::size_t j = 0; j < temporaries.size(); ++j)
                if (!temporaries[j].empty())
                    ::unlink(temporaries[j].c_str());
            return fail(path, err);
        }
    }
    // Every table is made: only now do the old ones give way.
    for (std::size_t i = 0; i < 4; ++i)
        if (!temporaries[i].empty() && !replaceWith(temporaries[i], paths_[i]))
            return fail(paths_[i], errno);
    return true;
}

bool CompareTables::addWindow(const std::string& neutral, const std::string& compare, const std::string& windowRow,
                              const std::string& recordLine, std::FILE* spilled)
{
    if (spilled) {
        // The spilled rows go in as the table's own rows: counted, in its checksum, and cut back
        // to the window's start when they cannot all be written.
        errno = 0;
        if (std::fflush(spilled) != 0 || std::fseek(spilled, 0, SEEK_SET) != 0 || std::fflush(files_[0]) != 0)
            return fail(paths_[0], errno);
        const int fd = fileno(files_[0]);
        const off_t start = ::lseek(fd, 0, SEEK_CUR);
        const auto cutBack = [&] {
            const int err = errno;
            if (start >= 0 && ::ftruncate(fd, start) == 0)
                ::lseek(fd, start, SEEK_SET);
            return fail(paths_[0], err);
        };
        std::string buffer(std::size_t(1) << 20, '\0');
        for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), spilled)) > 0;) {
            const std::string chunk = buffer.substr(0, got);
            errno = 0;
            if (!appendWhole(files_[0], chunk))
                return cutBack();
            sums_[0]->add(chunk);
            rows_[0] += static_cast<std::size_t>(std::count(chunk.begin(), chunk.end(), '\n'));
        }
        if (std::ferror(spilled))
            return cutBack();
    }
    const std::string* blocks[] = {&neutral, &compare, &windowRow, &recordLine};
    for (std::size_t i = 0; i < 4; ++i) {
        errno = 0;
        if (!appendWhole(files_[i], *blocks[i]))
            return fail(paths_[i], errno);
        if (i < sums_.size()) {
            sums_[i]->add(*blocks[i]);
            rows_[i] += static_cast<std::size_t>(std::count(blocks[i]->begin(), blocks[i]->end(), '\n'));
        }
    }
    return true;
}

bool CompareTables::finish(const std::string& endLine)
{
    bool ok = true;
    if (files_.size() == 4) {
        const char* names[] = {CompareFileNames::neutral, CompareFileNames::compare, CompareFileNames::windows};
        std::string last;
        for (std::size_t i = 0; i < sums_.size(); ++i)
            last += compareRecordTableLine(names[i], rows_[i], sums_[i]->hex());
        errno = 0;
        if (!appendWhole(files_[3], last + endLine))
            ok = fail(paths_[3], errno);
    }
    for (std::size_t i = 0; i < files_.size(); ++i) {
        errno = 0;
        if (std::fclose(files_[i]) != 0 && ok)
            ok = fail(paths_[i], errno);
    }
    files_.clear();
    return ok;
}

std::vector<std::string> CompareTables::files() const
{
    return paths_;
}

std::string windowListHash(const std::vector<std::string>& files)
{
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (const std::string& name : files) {
        for (unsigned char c : name + "\n") {
            h ^= c;
            h *= 0x100000001b3ull;
        }
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

}  // namespace orvalis
