#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace orvalis {

// One bit per cell of a map and a small index that counts the set cells of any rectangle at
// the same cost whatever its size: sums at the corners of Block x Block blocks, strip sums
// along block edges for every row and column, and popcounts of at most Block / 2 words near
// each corner. The index takes about half a bit per cell.
//
// Bit x % 64 of word x / 64 holds cell x of a row. Words are stored in tiles of 64 rows: the
// words of one column of words lie one after the other for 64 rows, so the words counted
// near a corner share a few cache lines, and consecutive words of a row are WordStep apart.
class BitLayer {
public:
    static constexpr std::int64_t Block = 128;
    static constexpr std::int64_t TileRows = 64;
    static constexpr std::size_t WordStep = TileRows;
    // Strip sums are 32-bit: a side of at most this many cells keeps them exact.
    static constexpr std::int64_t MaxSide = (std::int64_t{1} << 32) / Block - 1;

    // All bits clear; false, holding nothing, when the memory cannot be had or a side is out of range.
    bool allocate(std::int64_t width, std::int64_t height);
    void clear();
    bool empty() const { return !bits_; }
    std::int64_t width() const { return width_; }
    std::int64_t height() const { return height_; }
    // Bytes held, bits and index together.
    std::uint64_t bytes() const;

    // Word w of row y; the next word of the row is WordStep further.
    std::uint64_t* word(std::int64_t w, std::int64_t y)
    {
        return bits_.get() + (static_cast<std::size_t>(y / TileRows) * wordsAcross_ + static_cast<std::size_t>(w)) *
                                 WordStep + static_cast<std::size_t>(y % TileRows);
    }
    const std::uint64_t* word(std::int64_t w, std::int64_t y) const { return const_cast<BitLayer*>(this)->word(w, y); }
    bool bit(std::int64_t x, std::int64_t y) const { return (*word(x >> 6, y) >> (x & 63)) & 1u; }

    // Sets the bits of row y from x on that are set in the count bits of words (bit i % 64 of
    // word i / 64 for cell x + i; nothing set beyond count). Words that hold no set bit are not
    // touched, so pages of a sparse layer stay unmapped.
    void orBits(std::int64_t x, std::int64_t y, const std::uint64_t* words, std::int64_t count);

    // Builds the index of block row k, rows [k * Block, (k + 1) * Block), once their bits are
    // final; block rows in order from 0.
    void indexBlockRow(std::int64_t k);

    // False when no cell of the whole blocks around [x0, x1) x [y0, y1) is set, from the block
    // corners alone: a sparse layer (no-data along a map's edge) is then answered without counting.
    bool maybeAny(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) const;

    // Set cells in columns [x0, x1) and rows [y0, y1), which the block rows indexed so far cover.
    std::uint64_t count(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) const;

private:
    struct Free {
        void operator()(void* p) const { std::free(p); }
    };
    template <typename T>
    using Buffer = std::unique_ptr<T[], Free>;

    // A corner of a rectangle and the block corner nearest to it.
    struct Corner {
        std::int64_t x, y, ex, ey;
    };
    Corner corner(std::int64_t x, std::int64_t y) const;
    // Set cells in [0, x) x [0, y).
    std::uint64_t sum(const Corner& c) const;
    // Sum at a corner of which x, y or both lie on block edges.
    std::uint64_t onColumnEdge(std::int64_t x, std::int64_t y) const;
    std::uint64_t onRowEdge(std::int64_t x, std::int64_t y) const;
    // Set cells in columns [a, b) of rows [ya, yb).
    std::uint64_t ones(std::int64_t a, std::int64_t b, std::int64_t ya, std::int64_t yb) const;

    std::int64_t width_ = 0;
    std::int64_t height_ = 0;
    std::size_t wordsAcross_ = 0;  // words per row, one spare
    std::size_t edgesX_ = 0;       // block edges across: width / Block + 1
    Buffer<std::uint64_t> bits_;
    Buffer<std::uint64_t> corner_;       // [0, bx B) x [0, by B), per block corner
    Buffer<std::uint32_t> columnStrip_;  // [bx B, x) x [0, by B), per block row edge and column x
    Buffer<std::uint32_t> rowStrip_;     // [0, bx B) x [by B, y), per row y and block column edge
};

}  // namespace orvalis
