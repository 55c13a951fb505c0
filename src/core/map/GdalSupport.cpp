#include "core/map/GdalSupport.h"
#include "core/map/RegularFile.h"

#include <sys/stat.h>

#include <cpl_error.h>
#include <cpl_minixml.h>
#include <cpl_string.h>
#include <gdal.h>
#include <gdal_priv.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
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

namespace {

bool startsWith(const std::string& text, const char* start)
{
    return text.rfind(start, 0) == 0;
}

std::string vrtRefusal(const std::string& path, int depth);

// Why a source named in the VRT whose folder is folder may not be read; empty when it may.
std::string sourceRefusal(const std::string& source, bool relative, const std::filesystem::path& folder, int depth)
{
    const std::string said = "its source " + source;
    if (source.empty())
        return {};
    if (startsWith(source, "/vsi") || startsWith(source, "<") || source.find("://") != std::string::npos ||
        source.find(':') != std::string::npos)
        return said + " is not a file in its folder";
    std::error_code ec;
    const std::filesystem::path full =
        std::filesystem::weakly_canonical(relative ? folder / source : std::filesystem::path(source), ec);
    const std::filesystem::path home = std::filesystem::weakly_canonical(folder, ec);
    const auto [end, inside] = std::mismatch(home.begin(), home.end(), full.begin(), full.end());
    if (end != home.end())
        return said + " lies outside its folder";
    const std::string nested = vrtRefusal(full.string(), depth + 1);
    return nested.empty() ? std::string() : said + ": " + nested;
}

std::string nodeRefusal(const CPLXMLNode* node, const std::filesystem::path& folder, int depth)
{
    for (; node; node = node->psNext) {
        if (node->eType != CXT_Element)
            continue;
        const std::string name = node->pszValue;
        if (name == "VRTRasterBand" && EQUAL(CPLGetXMLValue(node, "subClass", ""), "VRTRawRasterBand"))
            return "a band reads a raw file";
        if (name == "PixelFunctionLanguage" || name == "PixelFunctionCode")
            return "a band runs code";
        if (name == "SourceFilename" || name == "SrcDataSource") {
            const char* flag = CPLGetXMLValue(node, "relativeToVRT", CPLGetXMLValue(node, "relativetoVRT", "0"));
            const std::string why =
                sourceRefusal(CPLGetXMLValue(node, nullptr, ""), std::string(flag) == "1", folder, depth);
            if (!why.empty())
                return why;
        }
        if (std::string why = nodeRefusal(node->psChild, folder, depth); !why.empty())
            return why;
    }
    return {};
}

std::string vrtRefusal(const std::string& path, int depth)
{
    if (depth > 8)
        return "VRTs nested too deep";
    if (startsWith(path, "<"))
        return "a VRT given inline";
    if (startsWith(path, "vrt://")) {
        const std::string inner = path.substr(6, path.find('?') == std::string::npos ? std::string::npos : path.find('?') - 6);
        return vrtRefusal(inner, depth + 1);
    }
    std::ifstream in(path, std::ios::binary);
    std::string head(4096, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    if (head.find("<VRTDataset") == std::string::npos && head.find("<OGRVRTDataSource") == std::string::npos)
        return {};
    CPLXMLNode* root = CPLParseXMLFile(path.c_str());
    if (!root)
        return "a VRT that cannot be read";
    const std::string why = nodeRefusal(root, std::filesystem::path(path).parent_path(), depth);
    CPLDestroyXMLNode(root);
    return why;
}

}  // namespace

std::string vrtSourceRefusal(const std::string& path)
{
    if (vrtSourcesAllowed())
        return {};
    const std::string why = vrtRefusal(path, 0);
    return why.empty() ? why
                       : "a VRT is read only when its sources are files in its folder: " + why +
                             " (--allow-vrt-sources reads it all the same)";
}

std::string specialFileRefusal(const std::string& path)
{
    if (std::string why = nonRegularFileRefusal(path); !why.empty())
        return why;
    return vrtSourceRefusal(path);
}

std::string noBandReason(GDALDataset& dataset)
{
    // The whole list: some drivers (netCDF) answer it but not a lookup of one item.
    CSLConstList items = dataset.GetMetadata("SUBDATASETS");
    std::string names;
    int k = 1;
    for (; k <= 20; ++k) {
        const char* name = CSLFetchNameValue(items, ("SUBDATASET_" + std::to_string(k) + "_NAME").c_str());
        if (!name)
            break;
        names += (names.empty() ? "" : ", ") + std::string(name);
    }
    if (names.empty())
        return "it holds no band";
    if (CSLFetchNameValue(items, ("SUBDATASET_" + std::to_string(k) + "_NAME").c_str()))
        names += ", ...";
    return "it holds no band of its own; open one of its subdatasets: " + names;
}

}  // namespace orvalis
