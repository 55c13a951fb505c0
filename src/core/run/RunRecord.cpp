#include "core/run/RunRecord.h"

#include "core/io/BatchList.h"

#include <cerrno>
#include <cstring>

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
}

bool RunRecord::openLog(const std::string& path)
{
    if (log_)
        closeLog();
    errno = 0;
    log_ = std::fopen(path.c_str(), "wb");
    if (!log_) {
        error_ = reasonOf(errno);
        return false;
    }
    return true;
}

bool RunRecord::addFile(const std::string& name, const std::string& logLine)
{
    if (log_) {
        const std::string line = logLine + "\n";
        errno = 0;
        if (std::fwrite(line.data(), 1, line.size(), log_) != line.size() || std::fflush(log_) != 0) {
            error_ = reasonOf(errno);
            return false;
        }
    }
    files_.push_back(name);
    return true;
}

bool RunRecord::closeLog()
{
    if (!log_)
        return true;
    errno = 0;
    const bool ok = std::fclose(log_) == 0;
    log_ = nullptr;
    if (!ok)
        error_ = reasonOf(errno);
    return ok;
}

bool RunRecord::writeBatchList()
{
    if (batchList_.empty())
        return true;
    return writeBatchListFile(batchList_, files_, postString_, &error_);
}

}  // namespace orvalis
