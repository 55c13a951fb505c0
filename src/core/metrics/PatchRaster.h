#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orvalis {

// Cells of one value side by side in a row: columns start .. end - 1.
struct CellRun {
    std::int32_t start;
    std::int32_t end;
    std::int32_t cls;    // dense class, -1 outside the landscape
    std::int32_t patch;  // -1 outside the landscape
};

// A landscape cut into runs and patches. Patches are numbered in the order their first cell
// is met row after row; a run lies in one patch, since its cells touch side to side.
struct PatchRaster {
    int rows = 0;
    int cols = 0;
    std::vector<int> values;                // dense class -> class value, ascending
    std::vector<CellRun> runs;              // row after row, left to right
    std::vector<std::int32_t> rowRuns;      // row r's runs are rowRuns[r] .. rowRuns[r + 1] - 1
    std::vector<std::int32_t> runOf;        // per cell, row after row: its run
    std::vector<std::int32_t> patchClass;   // per patch its dense class

    // Replaces the content with the cells of `lines` (each `cols` values), with 8 neighbours
    // or else 4 as the patch rule. Buffers are kept, so that cutting many small grids in turn
    // allocates once. values ends empty when no cell lies inside the landscape.
    void cut(std::span<const int* const> lines, int cols, const std::optional<int>& noData, bool eightNeighbours);

    // Frees the buffers.
    void release();

    const CellRun& runAt(int r, int c) const
    {
        return runs[static_cast<std::size_t>(runOf[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) +
                                                   static_cast<std::size_t>(c)])];
    }
    std::int32_t classAt(int r, int c) const { return runAt(r, c).cls; }

private:
    void classify(const std::optional<int>& noData);
    void label(bool eightNeighbours);

    std::vector<std::int32_t> scratch_;  // value table, then union-find parents
};

}  // namespace orvalis
