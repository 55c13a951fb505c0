#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace orvalis {

// One bit per cell of a map (bit x % 64 of word x / 64 of row y) and a small index that
// counts the set cells of any rectangle at the same cost whatever its size: sums at the
// corners of Block x Block blocks, strip sums along block edges for every row and column,
// and at most Block / 2 one-word popcounts near each corner. The index takes about half a
// bit per cell.
class BitLayer {
public:
    static constexpr std::int64_t Block = 128;
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

    std::uint64_t* row(std::int64_t y) { return bits_.get() + static_cast<std::size_t>(y) * stride_; }
    const std::uint64_t* row(std::int64_t y) const { return bits_.get() + static_cast<std::size_t>(y) * stride_; }
    bool bit(std::int64_t x, std::int64_t y) const { return (row(y)[x >> 6] >> (x & 63)) & 1u; }

    // Sets the bits of row y from x on that are set in the count bits of words (bit i % 64 of
    // word i / 64 for cell x + i; nothing set beyond count). Words that hold no set bit are not
    // touched, so pages of a sparse layer stay unmapped.
    void orBits(std::int64_t x, std::int64_t y, const std::uint64_t* words, std::int64_t count);

    // Builds the index of block row k, rows [k * Block, (k + 1) * Block), once their bits are
    // final; block rows in order from 0.
    void indexBlockRow(std::int64_t k);

    // Set cells in columns [x0, x1) and rows [y0, y1), which the block rows indexed so far cover.
    std::uint64_t count(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) const
    {
        // Unsigned wrap-around cancels out: the result is a true count.
        return sum(x1, y1) - sum(x0, y1) - sum(x1, y0) + sum(x0, y0);
    }

private:
    struct Free {
        void operator()(void* p) const { std::free(p); }
    };
    template <typename T>
    using Buffer = std::unique_ptr<T[], Free>;

    // Set cells in [0, x) x [0, y).
    std::uint64_t sum(std::int64_t x, std::int64_t y) const;
    // Sum at a corner of which x, y or both lie on block edges.
    std::uint64_t onColumnEdge(std::int64_t x, std::int64_t y) const;
    std::uint64_t onRowEdge(std::int64_t x, std::int64_t y) const;

    std::int64_t width_ = 0;
    std::int64_t height_ = 0;
    std::size_t stride_ = 0;   // words per row, one spare
    std::size_t edgesX_ = 0;   // block edges across: width / Block + 1
    Buffer<std::uint64_t> bits_;
    Buffer<std::uint64_t> corner_;       // [0, bx B) x [0, by B), per block corner
    Buffer<std::uint32_t> columnStrip_;  // [bx B, x) x [0, by B), per block row edge and column x
    Buffer<std::uint32_t> rowStrip_;     // [0, bx B) x [by B, y), per row y and block column edge
};

}  // namespace orvalis
