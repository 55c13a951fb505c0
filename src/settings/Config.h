#pragma once

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
    bool ok = false;
    std::string error;
};

// Reads config.txt: line 1 the prefix, line 2 the post-string, then two integers by
// formatted extraction; values not found keep what settings held. A file that is not
// valid UTF-8 is read as Latin-1.
ConfigResult readConfig(const std::string& path, Settings& settings);

// Rewrites the file in the four-line form.
ConfigResult writeConfig(const std::string& path, const Settings& settings);

}  // namespace orvalis
