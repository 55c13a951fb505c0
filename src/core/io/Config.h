#pragma once

#include <cstddef>
#include <string>

namespace orvalis {

// The four settings kept in config.txt, strings in UTF-8.
struct Settings {
    std::string samplePrefix;
    std::string samplePostString;
    int coverValue = 1;
    int matrixValue = 0;
};

struct ConfigResult {
    bool ok = false;       // reading: all four values came from the file
    std::string error;     // why not
    bool missing = false;  // reading: there is no such file (a first start, not a fault)
    int valuesRead = 0;    // reading: how many settings, in file order, came from the file
};

// A string line longer than this is not taken as a setting; it also bounds what a
// damaged or foreign file can make the reader hold in memory.
constexpr std::size_t MaxConfigLineBytes = std::size_t(1) << 20;

// Reads config.txt: line 1 the prefix, line 2 the post-string, then two integers by
// formatted extraction; values not found keep what settings held. Reading stops at
// the first value that cannot be read: a missing line, a line too long or holding
// control bytes, an integer that is absent or out of range. "\r\n" line ends are
// accepted; string lines that are not valid UTF-8 are read as Latin-1.
ConfigResult readConfig(const std::string& path, Settings& settings);

// Rewrites the file in the four-line form. The old file is replaced only once the
// new one is complete. Fails, writing nothing, for a string that holds a line break
// or NUL, or is longer than MaxConfigLineBytes, since it could not be read back.
ConfigResult writeConfig(const std::string& path, const Settings& settings);

}  // namespace orvalis
