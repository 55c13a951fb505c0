#include "core/run/RunRecord.h"

#include "core/io/BatchList.h"
#include "core/io/SafeFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace orvalis {

namespace {

std::string reasonOf(int err)
{
    return err != 0 ? std::strerror(err) : std::string();
}

}  // namespace

std::string withReason(const std::string& what, const std::string& reason)
{
    return reason.empty() ? what : what + ": " + reason;
}

RunRecord::RunRecord(std::string batchList, std::string postString)
    : batchList_(std::move(batchList)), postString_(std::move(postString))
{
}

RunRecord::~RunRecord()
{
    if (log_)
        std::fclose(log_);
    if (list_)
        std::fclose(list_);
}

bool RunRecord::fail(List list, int err)
{
    failed_ = list;
    error_ = reasonOf(err);
    return false;
}

bool RunRecord::begin(const std::string& logPath)
{
    std::string logTemporary, listTemporary;
    errno = 0;
    if (!logPath.empty() && !(log_ = createReplacement(logPath, logTemporary)))
        return fail(List::Log, errno);
    if (!batchList_.empty() && !(list_ = createReplacement(batchList_, listTemporary))) {
        const int err = errno;
        if (log_)
            std::fclose(log_);
        log_ = nullptr;
        if (!logTemporary.empty())
            ::unlink(logTemporary.c_str());
        return fail(List::BatchList, err);
    }
    // Both are made: only now do the earlier lists give way, each in one step.
    if (!logTemporary.empty() && !replaceWith(logTemporary, logPath))
        return fail(List::Log, errno);
    if (!listTemporary.empty() && !replaceWith(listTemporary, batchList_))
        return fail(List::BatchList, errno);
    return true;
}

bool RunRecord::append(std::FILE* file, const std::string& line, List list)
{
    errno = 0;
    if (std::fwrite(line.data(), 1, line.size(), file) != line.size() || std::fflush(file) != 0)
        return fail(list, errno);
    return true;
}

bool RunRecord::addFile(const std::string& name, const std::string& logLine)
{
    if (log_ && !append(log_, logLine + "\n", List::Log))
        return false;
    if (list_ && !append(list_, batchListLine(name, postString_), List::BatchList))
        return false;
    files_.push_back(name);
    return true;
}

bool RunRecord::finish()
{
    bool ok = true;
    for (auto [file, list] : {std::pair{&log_, List::Log}, std::pair{&list_, List::BatchList}}) {
        if (!*file)
            continue;
        errno = 0;
        if (std::fclose(*file) != 0 && ok)
            ok = fail(list, errno);
        *file = nullptr;
    }
    return ok;
}

}  // namespace orvalis
