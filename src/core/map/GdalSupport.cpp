#include "core/map/GdalSupport.h"

#include <sys/stat.h>

#include <cpl_error.h>
#include <gdal.h>

#include <algorithm>
#include <mutex>

namespace orvalis {

void registerGdal()
{
    static std::once_flag once;
    std::call_once(once, [] { GDALAllRegister(); });
}

GdalErrorScope::GdalErrorScope()
{
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
}

GdalErrorScope::~GdalErrorScope()
{
    CPLPopErrorHandler();
}

std::string GdalErrorScope::message(const std::string& fallback)
{
    const char* text = CPLGetLastErrorMsg();
    return text && *text ? std::string(text) : fallback;
}

bool GdalErrorScope::failed()
{
    return CPLGetLastErrorType() >= CE_Failure;
}

void GdalErrorScope::reset()
{
    CPLErrorReset();
}

GdalCacheLimit::GdalCacheLimit(std::int64_t bytes) : previous_(GDALGetCacheMax64())
{
    GDALSetCacheMax64(std::min<std::int64_t>(previous_, bytes));
}

GdalCacheLimit::~GdalCacheLimit()
{
    GDALSetCacheMax64(previous_);
}

std::string specialFileRefusal(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode) || S_ISDIR(st.st_mode))
        return {};
    return "not a regular file";
}

}  // namespace orvalis
