#include "core/sampler/SampleRun.h"

#include "core/io/BatchList.h"
#include "core/run/RunRecord.h"
#include "core/sampler/WindowSampler.h"

#include <charconv>
#include <cstdio>

namespace orvalis {

SampleResult runSample(const SampleParameters& parameters, RandomSource& random, RunControl& control)
{
    WindowSampler sampler;
    if (!sampler.loadImage(parameters.image.c_str())) {
        SampleResult refused;
        refused.stop = SampleStop::NoImage;
        refused.status = RunStatus::Refused;
        refused.message = "Não foi possivel carregar a imagem";
        return refused;
    }
    sampler.configure(128, parameters.windowSize / 2, parameters.matrixValue, parameters.coverValue);
    SampleResult result = sampler.sampleWindows(parameters, random, control);

    // The list names every window written, also after a run that stopped early.
    RunRecord record(batchListName(parameters.prefix), parameters.postString);
    for (const std::string& name : result.files)
        record.addFile(name);
    result.batchList = record.batchList();
    if (!record.writeBatchList()) {
        result.batchListFailed = true;
        result.batchListError = record.error();
    }
    return result;
}

std::string windowFileName(const std::string& folder, const std::string& prefix, int coverClass, int replicate)
{
    char numbers[48];
    std::snprintf(numbers, sizeof numbers, "%03d_%03d.txt", coverClass, replicate);
    return folder + "/" + prefix + numbers;
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
    case SampleStop::WindowWriteFailed: return "a window file could not be written";
    case SampleStop::NoImage: return "no image loaded";
    case SampleStop::BadParameters: return "bad parameters";
    }
    return "";
}

}  // namespace orvalis
