#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis {

// Lines of class values as read from a landscape file; lines keep their own lengths.
using LandscapeGrid = std::vector<std::vector<int>>;

// One field of a landscape line as the toolkit's string-to-integer conversion
// reads it (each byte a Latin-1 character): white space around the number is
// ignored, a sign is accepted, anything else or a value outside 32 bits is 0.
int parseLandscapeField(std::string_view field);

// Text of a landscape file to a grid: lines split at every single blank, the
// last field of each line dropped, lines of fewer than two fields skipped.
LandscapeGrid parseLandscape(std::string_view text);

struct LandscapeReadResult {
    bool ok = false;
    std::string error;  // why the file gave no grid
};

// Files larger than this are refused by the reader rather than read into memory.
constexpr std::uint64_t DefaultLandscapeReadLimit = 1ull << 30;

// Reads a landscape file a block at a time, never holding its whole text, and hands each
// grid line to onLine in file order (onSize first learns the file's size). Refuses what is
// not a plain file, a file above maxBytes and binary data, with the reason.
LandscapeReadResult readLandscapeLines(const std::string& path, std::uint64_t maxBytes,
                                       const std::function<void(const std::vector<int>&)>& onLine,
                                       const std::function<void(std::uint64_t)>& onSize = {});

// Replaces grid with the content of the file; on any failure grid is left empty.
LandscapeReadResult readLandscapeFile(const std::string& path, LandscapeGrid& grid,
                                      std::uint64_t maxBytes = DefaultLandscapeReadLimit);

}  // namespace orvalis
