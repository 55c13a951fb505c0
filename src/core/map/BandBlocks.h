#pragma once

#include <cstdint>
#include <string>

class GDALRasterBand;

namespace orvalis {

// A piece of a band as read: rows of values in the band's own type, and the mask beside them.
struct BandPiece {
    std::int64_t x0 = 0;
    std::int64_t y0 = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    const void* values = nullptr;
    std::int64_t stride = 0;               // cells from one row of values to the next
    const unsigned char* mask = nullptr;   // width per row, 0 where masked out; nullptr: no mask read
    std::int64_t rowsFinished = 0;         // rows from the top that no later piece touches
    double fraction = 0;                   // of the band read once this piece is done
};

// Reads a band once, in its own type and GDAL's block order, each block read whole (a block
// too large to hold is read in bands of rows), with a mask, when given, read over the same cells.
class BandBlocks {
public:
    BandBlocks(GDALRasterBand* band, GDALRasterBand* mask);

    // Room one piece needs for its values and for its mask.
    std::size_t valueBytes() const { return static_cast<std::size_t>(blockWidth_ * rowsAtOnce_ * cellBytes_); }
    std::size_t maskBytes() const { return mask_ ? static_cast<std::size_t>(blockWidth_ * rowsAtOnce_) : 0; }

    enum class Next { Piece, End, Failed };
    // Reads the next piece into values and mask (room for valueBytes() and maskBytes()); Failed
    // comes with GDAL's message in error.
    Next next(BandPiece& piece, void* values, unsigned char* mask, std::string* error);

private:
    GDALRasterBand* band_;
    GDALRasterBand* mask_;
    std::int64_t width_ = 0, height_ = 0;
    std::int64_t blockWidth_ = 1, blockHeight_ = 1;
    std::int64_t cellBytes_ = 1;
    bool whole_ = true;          // blocks read whole, with ReadBlock
    std::int64_t rowsAtOnce_ = 1;
    std::int64_t blocksX_ = 0, blocksY_ = 0;
    std::int64_t bx_ = 0, by_ = 0, row_ = 0;  // the next piece: its block and first row in it
};

}  // namespace orvalis
