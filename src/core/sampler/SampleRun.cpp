#include "core/sampler/SampleRun.h"

#include "core/io/BatchList.h"
#include "core/io/NumberText.h"
#include "core/run/RunChecks.h"
#include "core/run/RunLock.h"
#include "core/sampler/MapSampleRun.h"
#include "core/sampler/WindowSampler.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <cstdlib>
#include <cmath>

namespace orvalis {

namespace {

std::filesystem::path folderOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

}  // namespace

std::string checkSampleParameters(const SampleParameters& p, int width, int height)
{
    // Joined with "/" an empty folder would put the windows in the root folder.
    if (p.folder.empty())
        return "no folder was chosen for the window files";
    const int h = p.windowSize / 2;
    if (h < 1)
        return "the window must be at least 2 pixels wide";
    if (2 * static_cast<std::int64_t>(h) >= width || 2 * static_cast<std::int64_t>(h) >= height)
        return "a window of " + std::to_string(2 * h) + " pixels does not fit inside the image of " +
               std::to_string(width) + " x " + std::to_string(height) + " pixels";
    if (p.cover.step < 1)
        return "the cover step must be at least 1";
    if (p.cover.min <= p.cover.max && sampledClassCount(p.cover) == 0)
        return "the cover range " + std::to_string(p.cover.min) + ":" + std::to_string(p.cover.max) + ":" +
               std::to_string(p.cover.step) + " holds no multiple of its step, the only levels the sampler fills";
    const std::string longest =
        windowFileName(p.folder.string(), p.prefix, 100, std::max(p.replicates, 1), windowFormatExtension(p.format));
    for (const std::string& why :
         {checkCoverOrder(p.cover), checkListText("sample prefix", p.prefix), checkListText("post-string", p.postString),
          checkOutputFolder(folderOf(longest)), checkNameLength(folderOf(longest), longest),
          checkNameLength(folderOf(p.batchList), p.batchList),
          p.metrics ? checkMeasurable(2 * h, 2 * h) : std::string()})
        if (!why.empty())
            return why;
    return {};
}

std::string sampleRunRecordBeside(const std::string& logPath)
{
    return (std::filesystem::path(logPath).parent_path() / "sample-run.txt").string();
}

std::string sampleRunRecord(const SampleParameters& p)
{
    const bool map = !isTgaPath(p.image);
    std::string r = "orvalis sample run\n";
    auto add = [&](const std::string& key, const std::string& value) { r += key + ": " + value + "\n"; };
    add("image", p.image.string());
    if (map) {
        add("band", std::to_string(p.band));
        add("habitat", p.habitatClasses);
        add("format", p.format == WindowFormat::Asc ? "asc" : p.format == WindowFormat::Txt ? "txt" : "tif");
        add("keep-classes", p.keepClasses ? "yes" : "no");
    }
    add("cell-size", p.cellSize ? shortestText(*p.cellSize) : "unknown");
    std::string crs = p.crs;
    std::replace(crs.begin(), crs.end(), '\n', ' ');
    add("crs", crs.empty() ? "none" : crs);
    add("seed", p.seed ? std::to_string(*p.seed) : "none");
    add("size", std::to_string(p.windowSize));
    add("replicates", std::to_string(p.replicates));
    add("cover", std::to_string(p.cover.min) + ":" + std::to_string(p.cover.max) + ":" + std::to_string(p.cover.step));
    add("min-distance", std::to_string(p.minDistance));
    add("cover-value", std::to_string(p.coverValue));
    add("matrix-value", std::to_string(p.matrixValue));
    add("folder", p.folder.string());
    return r;
}

std::optional<double> recordedCellSize(const std::string& logPath)
{
    std::ifstream in(sampleRunRecordBeside(logPath));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("cell-size: ", 0) != 0)
            continue;
        const std::string value = line.substr(11);
        char* end = nullptr;
        const double v = std::strtod(value.c_str(), &end);
        if (end == value.c_str() + value.size() && v > 0 && std::isfinite(v))
            return v;
        return std::nullopt;
    }
    return std::nullopt;
}

SampleResult runSample(const SampleParameters& parameters, RandomSource& random, RunControl& control)
{
    if (!isTgaPath(parameters.image))
        return runMapSample(parameters, random, control);
    SampleResult refused;
    refused.status = RunStatus::Refused;
    refused.stop = SampleStop::BadParameters;
    if (!parameters.habitatClasses.empty()) {
        refused.message = "habitat classes are for land-cover maps: in a TGA image the dark pixels are habitat";
        return refused;
    }
    if (parameters.format != WindowFormat::Default && parameters.format != WindowFormat::Txt) {
        refused.message = "windows cut from a TGA image are written as text grids (txt) only";
        return refused;
    }
    if (parameters.keepClasses) {
        refused.message = "a TGA image has no classes to keep: its windows hold the cover and matrix values";
        return refused;
    }
    WindowSampler sampler;
    if (!sampler.loadImage(parameters.image.c_str())) {
        refused.stop = SampleStop::NoImage;
        refused.message = "Não foi possivel carregar a imagem";
        return refused;
    }
    SampleParameters p = parameters;
    if (p.batchList.empty())
        p.batchList = batchListName(p.prefix);
    refused.message = checkSampleParameters(p, sampler.image.width, sampler.image.height);
    if (!refused.message.empty()) {
        refused.stop = SampleStop::BadParameters;
        return refused;
    }
    // The windows' folder and the lists' folders are ours until the run ends.
    RunLock lock;
    if (!lock.acquire({folderOf(windowFileName(p.folder.string(), p.prefix, 0, 0)), folderOf(p.logPath),
                       folderOf(p.batchList)})) {
        refused.stop = SampleStop::FolderBusy;
        refused.message = lock.message();
        return refused;
    }
    sampler.configure(128, p.windowSize / 2, p.matrixValue, p.coverValue);
    SampleResult result = sampler.sampleWindows(p, random, control);
    result.batchList = p.batchList;
    if (p.metrics)
        result.metricsTable = metricsTableBeside(p.logPath);
    return result;
}

SampleStop recordStop(RunRecord::List list, bool atBegin)
{
    switch (list) {
    case RunRecord::List::Log: return atBegin ? SampleStop::LogNotOpened : SampleStop::LogWriteFailed;
    case RunRecord::List::Metrics: return SampleStop::MetricsWriteFailed;
    case RunRecord::List::BatchList:
    case RunRecord::List::None: break;
    }
    return SampleStop::ListWriteFailed;
}

bool isTgaPath(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    for (char& c : extension)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension == ".tga";
}

std::string windowFormatExtension(WindowFormat format)
{
    switch (format) {
    case WindowFormat::Asc: return ".asc";
    case WindowFormat::Tif: return ".tif";
    case WindowFormat::Default:
    case WindowFormat::Txt: break;
    }
    return ".txt";
}

std::string windowFileName(const std::string& folder, const std::string& prefix, int coverClass, int replicate,
                           const std::string& extension)
{
    char numbers[48];
    std::snprintf(numbers, sizeof numbers, "%03d_%03d", coverClass, replicate);
    return folder + "/" + prefix + numbers + extension;
}

std::string formatCover(double cover)
{
    // to_chars, not printf: the GUI runs under the user's locale, which may write a decimal comma.
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, cover, std::chars_format::general, 6);
    return std::string(buf, r.ptr);
}

const char* sampleStopText(SampleStop stop)
{
    switch (stop) {
    case SampleStop::TargetReached: return "every cover level got its replicates";
    case SampleStop::TriesSpent: return "the search spent all its tries";
    case SampleStop::Cancelled: return "cancelled";
    case SampleStop::NoCentreLeft: return "no window centre is left outside the minimum distance of the accepted ones";
    case SampleStop::LogNotOpened: return "sample.txt could not be created";
    case SampleStop::LogWriteFailed: return "sample.txt could not be written";
    case SampleStop::ListWriteFailed: return "the batch list could not be written";
    case SampleStop::MetricsWriteFailed: return "the metrics table could not be written";
    case SampleStop::WindowWriteFailed: return "a window file could not be written";
    case SampleStop::NoImage: return "no image loaded";
    case SampleStop::BadParameters: return "bad parameters";
    case SampleStop::FolderBusy: return "another run writes into the same folder";
    }
    return "";
}

}  // namespace orvalis
