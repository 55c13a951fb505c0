#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis {

// One window as sample.txt logs it: NAME COVER X Y, and for a GIS map MAPX MAPY, the map
// coordinates of the centre. NAME is the file as written and may hold blanks (its folder's).
struct SampleLogEntry {
    std::string name;
    double cover = 0;
    int x = 0;
    int y = 0;
    std::optional<double> mapX;
    std::optional<double> mapY;
    int line = 0;  // 1-based line of the log
};

// Reads one log line (without its line end; a trailing '\r' is ignored). The numbers are taken
// from the line's end, so a name with blanks stays whole. False with why for a line that is not
// a window.
bool parseSampleLogLine(std::string_view text, SampleLogEntry& entry, std::string* why);

struct SampleLog {
    bool ok = false;       // the file could be read
    std::string error;     // why not
    std::vector<SampleLogEntry> windows;
    std::vector<std::string> badLines;  // "line N: why", for lines that name no window
};

// Reads a whole log; empty lines are skipped and a bad line is reported, not fatal.
SampleLog readSampleLog(const std::string& path);

// The files a whole log names, in its order, as loggedFilePath gives them; false with *error set
// when the log cannot be read or a line is not a log line, for a caller that must not guess.
bool readSampleLogWindows(const std::string& logPath, std::vector<std::string>& windows, std::string* error);

// The file a log entry names, relative names taken from the log's folder (the run's working folder).
std::string loggedFilePath(const std::string& logPath, const std::string& name);

// The side of a written window in cells: lines of a text grid, rows of a .tif or .asc window.
std::optional<int> windowFileSide(const std::string& path, std::string* why);

}  // namespace orvalis
