#pragma once

#include "core/sampler/SampleRun.h"

namespace orvalis {

// runSample for a land-cover map: the TGA search on the map's habitat classes, windows
// holding no-data refused, windows written in the chosen format with the map's georeference.
SampleResult runMapSample(const SampleParameters& parameters, RandomSource& random, RunControl& control);

// The batch-list tail written after map windows when the post-string setting is empty, so
// that FRAGSTATS reads them as they are: ", x, 999, x, x, 1, x, IDF_GeoTIFF" for GeoTIFF,
// ", CELLSIZE, 999, ROWS, COLS, 1, -9999, IDF_ASCII" for text grids, nothing for ESRI ASCII.
std::string mapBatchListTail(WindowFormat format, double cellSize, int side);

}  // namespace orvalis
