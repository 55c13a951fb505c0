#pragma once

#include "core/io/TgaImage.h"

#include <cstddef>

namespace orvalis {

// The bit-level and SIMD work behind window files: the habitat mask of an image as one bit
// per pixel, and the habitat flags of a band of window columns gathered from it or from the
// pixels. Everything here gives byte-for-byte what a pixel-by-pixel loop gives.

// Window files are gathered in square tiles of this many flags a side.
constexpr std::size_t FlagTile = 16;

inline std::size_t roundUpToTile(std::size_t n)
{
    return (n + FlagTile - 1) / FlagTile * FlagTile;
}

// Habitat bits of a row of count pixels (bit i % 8 of byte i / 8): a pixel is habitat when
// its blue byte is at most threshold. flags is room for roundUpToTile(count) bytes.
void habitatRowBits(const unsigned char* pixels, std::size_t bpp, std::size_t count, int threshold,
                    unsigned char* flags, unsigned char* bits);

// Flags (0xFF habitat, 0 matrix) of cols window columns from firstColumn, side rows from
// firstRow, one run of paddedSide flags per column. Rows of bits are stride bytes apart
// and hold at least eight spare bytes at their end.
void columnsFromBits(const unsigned char* bits, std::size_t stride, std::size_t firstColumn, std::size_t firstRow,
                     std::size_t cols, std::size_t side, unsigned char* columns, std::size_t paddedSide);

// The same flags gathered from the pixels themselves, through strip, room for FlagTile rows
// of roundUpToTile(cols) flags.
void columnsFromPixels(const TgaImage& image, int threshold, std::size_t firstColumn, std::size_t firstRow,
                       std::size_t cols, std::size_t side, unsigned char* strip, unsigned char* columns,
                       std::size_t paddedSide);

}  // namespace orvalis
