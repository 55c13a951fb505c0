#pragma once

#include "core/neutral/FractalRun.h"
#include "core/neutral/RandomGenerator.h"

#include <string>
#include <vector>

namespace orvalis::test {

// The files the engine writes for a random series, with a fresh source: what a front end must match.
inline RunResult randomSeries(const std::string& folder, CoverRange cover, int rows, int cols, int replicates,
                              int matrixValue, int coverValue, int seed)
{
    RandomLandscapeParameters p;
    p.cover = cover;
    p.rows = rows;
    p.cols = cols;
    p.replicates = replicates;
    p.matrixValue = matrixValue;
    p.coverValue = coverValue;
    p.folder = folder;
    p.seed = seed;
    RandomSource random;
    RunControl control;
    return runRandomLandscapes(p, random, control);
}

// A small fractal series, as `--h 0.2:0.6:0.2 --cover 10:90:10 --size 24 --replicates 2` asks for it.
inline FractalRunParameters smallFractalRun(const std::string& folder)
{
    FractalRunParameters p;
    p.initialH = 0.2;
    p.finalH = 0.6;
    p.stepH = 0.2;
    p.cover = {10, 90, 10};
    p.size = 24;
    p.replicates = 2;
    p.folder = folder;
    return p;
}

inline FractalRunResult fractalSeries(const FractalRunParameters& p)
{
    RandomSource unused;
    RunControl control;
    return runFractalLandscapes(p, unused, control);
}

}  // namespace orvalis::test
