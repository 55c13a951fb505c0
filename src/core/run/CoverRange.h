#pragma once

#include <cstdint>

namespace orvalis {

// A cover range as every dialog and command takes it: minimum, maximum and step in percent.
// The three runs read it differently, on purpose, each through its own functions below.
struct CoverRange {
    int min = 1;
    int max = 100;
    int step = 1;
};

// Sampler: the cover classes it fills are the multiples of step within [min, max].
bool isSampledClass(const CoverRange& range, int coverClass);
// Of the classes 0..100, how many the sampler fills.
int sampledClassCount(const CoverRange& range);
// Windows after which a sampling run stops: ((max + step - min) * replicates) / step.
std::int64_t sampleTarget(const CoverRange& range, std::int64_t replicates);
// Files the sampler dialog announces: replicates * ((max + step - min) / step); it divides
// before it multiplies, so for some ranges it shows fewer than the run's target.
std::int64_t sampleDialogTotal(const CoverRange& range, std::int64_t replicates);

// Random series: the levels min, min + step, ... up to max; none when max is below min.
std::int64_t randomLevelCount(const CoverRange& range);

// Fractal series: the percentages min, min + step, ... up to max.
bool isFractalLevel(const CoverRange& range, int percentage);
// Levels a fractal range asks for: (max - min) / step + 1; the dialog shows that count also
// when max is below min, a range the run refuses.
std::int64_t fractalLevelCount(const CoverRange& range);

}  // namespace orvalis
