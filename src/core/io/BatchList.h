#pragma once

#include <string>
#include <vector>

namespace orvalis {

// Name of the FRAGSTATS batch list for a sample prefix (a folder part in the prefix is kept).
std::string batchListName(const std::string& prefix);

// One line of the batch list: name with its last three characters (UTF-8 characters, not
// bytes) replaced by "txt" (a ".tif" or ".asc" name is kept whole), the post-string right
// after it, and a line end.
std::string batchListLine(const std::string& name, const std::string& postString);

// FRAGSTATS batch list: one line per name, in the order given, the name with its
// last three characters (UTF-8 characters, not bytes) replaced by "txt" and the
// post-string right after it. The file is created or truncated even when there are
// no names. False with error set when it could not be written; a list cut short by
// a write error is removed.
bool writeBatchListFile(const std::string& path, const std::vector<std::string>& names,
                        const std::string& postString, std::string* error = nullptr);

// The landscape files a batch list names, appended to names in list order. The post-string
// follows each name directly, so a name is the shortest prefix of its line ending in ".txt",
// ".tif" or ".asc" that is a file (the first such prefix when none is). False with error set when the list cannot be read.
bool readBatchListNames(const std::string& path, std::vector<std::string>& names, std::string& error);

}  // namespace orvalis
