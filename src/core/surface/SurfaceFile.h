#pragma once

#include "core/map/GeoTransform.h"
#include "core/surface/SurfaceLayout.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class GDALDataset;

namespace orvalis {

// What a surface is, as its file says in its metadata: the whole surface, whichever part of it a
// file holds. Two parts belong together when their descriptions are equal.
struct SurfaceDescription {
    std::int64_t mapWidth = 0, mapHeight = 0;
    int window = 3;
    WindowShape shape = WindowShape::Square;
    int step = 1;
    std::string options;             // the metric options that change values, as words
    std::vector<std::string> bands;  // names, in order
    std::optional<GeoTransform> frame;  // the whole surface's
    std::string wkt;                 // the map's coordinate system as it was read; empty for none

    std::int64_t width() const { return (mapWidth + step - 1) / step; }
    std::int64_t height() const { return (mapHeight + step - 1) / step; }
    bool operator==(const SurfaceDescription&) const = default;
};

// A file of a --tile run: part tile of tiles, output rows firstRow .. firstRow + rows - 1.
struct SurfacePart {
    int tile = 1, tiles = 1;
    std::int64_t firstRow = 0, rows = 0;
};

// Output rows [first, last) of part tile of tiles: the tiles share the rows as evenly as they can.
SurfacePart surfacePart(std::int64_t height, int tile, int tiles);

// A surface GeoTIFF written as its rows come: Float32, one band per metric named after it, NaN as
// no-data, tiled and DEFLATE-compressed, in the map's coordinate system. Rows are kept until a row
// of tiles is whole, which is then compressed and written while the next one fills. The file stands
// under a hidden name beside its own until finish() renames it; abandoned, it is removed. The same
// rows give the same bytes, whether they come from one run or from parts.
class SurfaceWriter {
public:
    SurfaceWriter() = default;
    ~SurfaceWriter();
    SurfaceWriter(const SurfaceWriter&) = delete;
    SurfaceWriter& operator=(const SurfaceWriter&) = delete;

    // part: the rows of one tile, described as such; none for the whole surface. The tiles are
    // compressed by compressionThreads threads.
    bool create(const std::string& path, const SurfaceDescription& description, const std::optional<SurfacePart>& part,
                int compressionThreads, std::string* error);
    // The next rows in order: values[(row * bands + band) * width + column].
    bool append(const double* values, int rows, std::string* error);
    // Writes what is left, closes and takes the file's name; false with *error, leaving nothing.
    bool finish(std::string* error);
    // Closes and removes the unfinished file.
    void abandon();

    // Rows of a tile: 256, unless so many rows of the surface take too much memory.
    static int tileRows(std::int64_t width, std::int64_t height, std::size_t bands);

private:
    void writeLoop();
    bool flushTiles(std::vector<float>& tiles, int rows, std::int64_t tileRow, std::string& error);
    bool waitForWriter(std::string* error);

    std::string path_, temporary_;
    GDALDataset* dataset_ = nullptr;
    std::int64_t width_ = 0, height_ = 0;
    std::size_t bands_ = 0;
    int tileRows_ = 256;
    std::int64_t rowsIn_ = 0;   // rows appended so far
    std::vector<float> filling_, writing_;  // a row of tiles: [band][row][column]
    // The writer thread: one row of tiles at a time.
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool busy_ = false, quit_ = false;
    int writingRows_ = 0;
    std::int64_t writingTileRow_ = 0;
    std::string writeError_;
};

// Reads a surface file's description (and part, when it is one); false with *error for a file that is
// no surface of this program.
bool readSurfaceDescription(const std::string& path, SurfaceDescription& description, std::optional<SurfacePart>& part,
                            std::string* error);

}  // namespace orvalis
