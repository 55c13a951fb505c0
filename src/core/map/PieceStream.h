#pragma once

#include "core/map/BandBlocks.h"

#include <functional>
#include <string>

namespace orvalis {

enum class StreamEnd { Done, Stopped, Failed };

// Reads every piece of a band on the calling thread and hands them to work on a second one, a
// few megabytes at a time, so that GDAL's decoding and the work on the cells overlap. keepGoing
// hears the fraction read after each batch and runs on the calling thread, as GDAL does; work
// returning false ends the stream (Failed), and so does a read error (with GDAL's message in
// error). Where the machine has one core, the work is done in turn with the reading.
StreamEnd streamPieces(BandBlocks& blocks, const std::function<bool(const BandPiece&)>& work,
                       const std::function<bool(double)>& keepGoing, std::string* error);

}  // namespace orvalis
