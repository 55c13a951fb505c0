#include "core/map/BandBlocks.h"

#include "core/map/GdalSupport.h"

#include <gdal_priv.h>

#include <algorithm>

namespace orvalis {

namespace {

// A block larger than this is read in bands of rows, so that no map's block is held whole.
constexpr std::int64_t LargestPiece = 16ll << 20;

}  // namespace

BandBlocks::BandBlocks(GDALRasterBand* band, GDALRasterBand* mask) : band_(band), mask_(mask)
{
    width_ = band->GetXSize();
    height_ = band->GetYSize();
    int bw = 0, bh = 0;
    band->GetBlockSize(&bw, &bh);
    blockWidth_ = std::max(bw, 1);
    blockHeight_ = std::max(bh, 1);
    cellBytes_ = GDALGetDataTypeSizeBytes(band->GetRasterDataType());
    whole_ = blockWidth_ * blockHeight_ * cellBytes_ <= LargestPiece;
    rowsAtOnce_ = whole_ ? blockHeight_ : std::clamp<std::int64_t>(LargestPiece / (blockWidth_ * cellBytes_), 1, blockHeight_);
    blocksX_ = (width_ + blockWidth_ - 1) / blockWidth_;
    blocksY_ = (height_ + blockHeight_ - 1) / blockHeight_;
}

BandBlocks::Next BandBlocks::next(BandPiece& piece, void* values, unsigned char* mask, std::string* error)
{
    if (by_ >= blocksY_)
        return Next::End;
    auto failed = [&](const char* what) {
        if (error)
            *error = GdalErrorScope::message(what);
        by_ = blocksY_;
        return Next::Failed;
    };
    const std::int64_t x0 = bx_ * blockWidth_, y0 = by_ * blockHeight_;
    const std::int64_t w = std::min(blockWidth_, width_ - x0), h = std::min(blockHeight_, height_ - y0);
    const std::int64_t rows = std::min(rowsAtOnce_, h - row_);
    const auto ix = static_cast<int>(x0), iy = static_cast<int>(y0 + row_), iw = static_cast<int>(w),
               ih = static_cast<int>(rows);
    if (whole_) {
        if (band_->ReadBlock(static_cast<int>(bx_), static_cast<int>(by_), values) != CE_None)
            return failed("a block of the map could not be read");
    } else if (band_->RasterIO(GF_Read, ix, iy, iw, ih, values, iw, ih, band_->GetRasterDataType(), 0, 0, nullptr) !=
               CE_None) {
        return failed("a block of the map could not be read");
    }
    if (mask_ && mask_->RasterIO(GF_Read, ix, iy, iw, ih, mask, iw, ih, GDT_Byte, 0, 0, nullptr) != CE_None)
        return failed("the mask of the map could not be read");
    piece.x0 = x0;
    piece.y0 = y0 + row_;
    piece.width = w;
    piece.height = rows;
    piece.values = values;
    piece.stride = whole_ ? blockWidth_ : w;
    piece.mask = mask_ ? mask : nullptr;
    // A row is finished once the last block across has been read over it.
    piece.rowsFinished = bx_ + 1 == blocksX_ ? y0 + row_ + rows : y0;
    piece.fraction = (static_cast<double>(by_ * blocksX_ + bx_) + static_cast<double>(row_ + rows) / h) /
                     static_cast<double>(blocksX_ * blocksY_);
    row_ += rows;
    if (row_ == h) {
        row_ = 0;
        if (++bx_ == blocksX_) {
            bx_ = 0;
            ++by_;
        }
    }
    return Next::Piece;
}

}  // namespace orvalis
