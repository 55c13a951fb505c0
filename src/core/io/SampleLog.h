#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orvalis {

// The window files a sampling log names, in its order. A line is the file name, the cover and
// the centre's column and row, then for a map the centre's map x and y; the name may hold blanks,
// so the fields are taken from the end. A relative name is read against the log's folder, the
// run's working folder. False with *error naming the first line that is none of these.
bool readSampleLogFiles(const std::filesystem::path& log, std::vector<std::string>& files, std::string* error);

}  // namespace orvalis
