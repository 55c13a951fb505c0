#pragma once

#include "core/io/LandscapeFile.h"
#include "core/io/SafeFile.h"
#include "core/random/RandomSource.h"
#include "core/run/RunControl.h"
#include "core/sampler/SampleRun.h"

#include <cstdint>
#include <functional>
#include <string>

namespace orvalis {

// Tries a search spends at most: draws that land outside the source, hold no-data or fall on a
// level not asked for or already full.
constexpr std::int64_t WindowTryBudget = 100000;

// What the search cuts windows from: a TGA image, or a land-cover map. Coordinates are
// x = column, y = row of the source's own row order; the window centred at (x, y) with half
// size h covers columns [x - h, x + h) and rows [y - h, y + h).
class WindowSource {
public:
    virtual ~WindowSource() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;
    // Makes window counts cheap before the search starts; keepGoing is asked now and then on a
    // large source. False when it said stop.
    virtual bool prepareCounts(const std::function<bool()>& keepGoing)
    {
        (void)keepGoing;
        return true;
    }
    virtual std::int64_t windowHabitat(int x, int y, int h) = 0;
    // Whether the window holds a cell outside the mapped area: such a window is never taken.
    virtual bool windowHasNoData(int x, int y, int h)
    {
        (void)x, (void)y, (void)h;
        return false;
    }
    // Writes the window under name; false with error set when it could not be written.
    // beforeNaming, when given, is called once the file is complete, before it takes its name.
    virtual bool writeWindow(int x, int y, int h, const std::string& name, std::string* error,
                             const BeforeNaming& beforeNaming = {}) = 0;
    // The window as its file reads back (line k of the file is grid row k), for measuring.
    virtual LandscapeGrid windowGrid(int x, int y, int h) const = 0;
    // Extension of the window files, dot included.
    virtual std::string fileExtension() const { return ".txt"; }
    // What the log adds after a window's centre, each field with its leading blank.
    virtual std::string logFields(int x, int y) const
    {
        (void)x, (void)y;
        return {};
    }
};

// The search for windows at whole-percentage habitat levels: draws centres from random,
// refuses those outside the source, those within the minimum distance of an accepted one,
// those holding no-data and those whose level is full or not asked for, and writes, logs
// and lists each window it takes. straightforward tests the distance against every accepted
// centre: the reference the fast test must match.
SampleResult searchWindows(WindowSource& source, const SampleParameters& params, int halfSize, RandomSource& random,
                           RunControl& control, bool straightforward = false);

}  // namespace orvalis
