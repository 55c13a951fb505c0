#pragma once

#include "core/run/StopFlag.h"

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

enum MapBorder : unsigned char { TopBorder = 1, BottomBorder = 2, LeftBorder = 4, RightBorder = 8 };

// What a patch is made of, counted as it is cut.
struct PatchShape {
    std::int64_t cells = 0;
    std::int64_t like = 0;        // sides shared by two of its cells
    std::int64_t sumR = 0;        // of its cells' rows and columns
    std::int64_t sumC = 0;
    unsigned char borders = 0;    // the MapBorders its cells lie on
    std::int32_t top = 0;         // its bounding rows and columns
    std::int32_t bottom = 0;
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::int32_t leftTop = 0;     // the first row of its cells in its left column
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
    std::vector<PatchShape> shapes;         // per patch
    // Sides between a cell of class a and one of class b > a, at a * classes + b; empty when the
    // classes are too many for a table of every pair (more than 64, and their square above the cells).
    std::vector<std::int64_t> classContacts;

    // Replaces the content with the cells of `lines` (each `cols` values), with 8 neighbours
    // or else 4 as the patch rule; without label only into runs and classes. Buffers are kept,
    // so that cutting many small grids in turn allocates once. values ends empty when no cell
    // lies inside the landscape. A raised stop ends both at the next row (StopFlag::Stopped).
    void cut(std::span<const int* const> lines, int cols, const std::optional<int>& noData, bool eightNeighbours,
             bool label = true, StopFlag stop = {});
    // Labels the patches of a raster cut without.
    void labelPatches(bool eightNeighbours, StopFlag stop = {}) { label(eightNeighbours, stop); }

    // Frees the buffers.
    void release();

    const CellRun& runAt(int r, int c) const
    {
        return runs[static_cast<std::size_t>(runOf[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) +
                                                   static_cast<std::size_t>(c)])];
    }
    std::int32_t classAt(int r, int c) const { return runAt(r, c).cls; }

private:
    void numberRuns(const int* v, std::int32_t first, std::int32_t* cell);
    void classify(const std::optional<int>& noData);
    void label(bool eightNeighbours, StopFlag stop);

    std::vector<std::int32_t> scratch_;  // value table, then union-find parents
    std::vector<std::int32_t> likeUp_;   // per run: sides it shares with its own class in the row above
    std::vector<std::uint64_t> changes_; // a bit a cell of the line being cut: a run starts there
};

}  // namespace orvalis
