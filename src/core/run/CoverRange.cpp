#include "core/run/CoverRange.h"

#include <algorithm>

namespace orvalis {

bool isSampledClass(const CoverRange& range, int coverClass)
{
    return coverClass >= range.min && coverClass <= range.max && range.step > 0 && coverClass % range.step == 0;
}

int sampledClassCount(const CoverRange& range)
{
    int count = 0;
    for (int c = std::max(range.min, 0); c <= std::min(range.max, 100); ++c)
        if (isSampledClass(range, c))
            ++count;
    return count;
}

std::int64_t sampleTarget(const CoverRange& range, std::int64_t replicates)
{
    if (range.step < 1)
        return 0;
    return ((std::int64_t(range.max) + range.step - range.min) * replicates) / range.step;
}

std::int64_t sampleDialogTotal(const CoverRange& range, std::int64_t replicates)
{
    if (range.step < 1)
        return 0;
    return replicates * ((std::int64_t(range.max) + range.step - range.min) / range.step);
}

std::int64_t randomLevelCount(const CoverRange& range)
{
    if (range.step < 1 || range.max < range.min)
        return 0;
    return (std::int64_t(range.max) + range.step - range.min) / range.step;
}

bool isFractalLevel(const CoverRange& range, int percentage)
{
    return percentage >= range.min && percentage <= range.max && range.step > 0 &&
           (percentage - range.min) % range.step == 0;
}

std::int64_t fractalLevelCount(const CoverRange& range)
{
    if (range.step < 1)
        return 0;
    return (std::int64_t(range.max) - range.min) / range.step + 1;
}

}  // namespace orvalis
