#pragma once

#include "core/run/CoverRange.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace orvalis {

// Checks a run makes before it writes its first file, so that a run that cannot be done
// leaves every earlier file as it was. Each gives the reason for the user, empty when fine.

// The folder exists, is a folder, and takes new files.
std::string checkOutputFolder(const std::filesystem::path& folder);

// A name written into a list line holds no line break or other control character.
std::string checkListText(const std::string& what, const std::string& text);

// name fits the file system's limit on one name in folder.
std::string checkNameLength(const std::filesystem::path& folder, const std::string& name);

// The cover minimum is not above the maximum.
std::string checkCoverOrder(const CoverRange& range);

// Landscapes of rows x cols cells can be measured: at least one cell, and few enough for the
// metrics engine's 32-bit cell numbers.
std::string checkMeasurable(std::int64_t rows, std::int64_t cols);

}  // namespace orvalis
