#pragma once

#include "core/io/LandscapeFile.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace orvalis {

// A landscape file read for measuring, where a wrong number must never pass for a right
// one: every field a whole number in 32 bits followed by one blank, every line as long as
// the first, at least one line, at most maxCells cells. On a refusal grid is empty and the
// error names the line ("line 7: 'x1' is not a whole number"). A raised stop ends the reading
// between two lines, as a refusal.
LandscapeReadResult readGridStrictly(const std::string& path, LandscapeGrid& grid,
                                     std::uint64_t maxCells = 100'000'000, const std::atomic<bool>* stop = nullptr);

}  // namespace orvalis
