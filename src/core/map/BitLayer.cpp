#include "core/map/BitLayer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace orvalis {

namespace {

template <typename T>
T* zeroed(std::uint64_t count)
{
    if (count > SIZE_MAX / sizeof(T))
        return nullptr;
    return static_cast<T*>(std::calloc(static_cast<std::size_t>(count), sizeof(T)));
}

// The hot popcount loops in two builds, picked once when the program loads: with the processor's
// popcount instruction where it has one, and the portable sequence elsewhere.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define ORVALIS_POPCOUNT_CLONES __attribute__((target_clones("popcnt", "default")))
#else
#define ORVALIS_POPCOUNT_CLONES
#endif

// Set bits of count consecutive words under mask.
ORVALIS_POPCOUNT_CLONES
std::uint64_t onesUnder(const std::uint64_t* words, std::int64_t count, std::uint64_t mask)
{
    std::uint64_t n = 0;
    for (std::int64_t i = 0; i < count; ++i)
        n += static_cast<std::uint64_t>(std::popcount(words[i] & mask));
    return n;
}

// Adds to left[i] the set bits of words[i] and more[i], for count rows.
ORVALIS_POPCOUNT_CLONES
void addOnes(const std::uint64_t* words, const std::uint64_t* more, std::int64_t count, std::uint32_t* left)
{
    for (std::int64_t i = 0; i < count; ++i)
        left[i] += static_cast<std::uint32_t>(std::popcount(words[i]) + std::popcount(more[i]));
}

// The block edge nearest to v within [0, limit], so that at most Block / 2 cells lie between.
std::int64_t nearestEdge(std::int64_t v, std::int64_t limit)
{
    const std::int64_t edge = (v + BitLayer::Block / 2) / BitLayer::Block * BitLayer::Block;
    return edge <= limit ? edge : v / BitLayer::Block * BitLayer::Block;
}

// Full adder on 64 columns at once: the carry and sum bits of a + b + c.
inline void addThree(std::uint64_t& carry, std::uint64_t& sum, std::uint64_t a, std::uint64_t b, std::uint64_t c)
{
    const std::uint64_t u = a ^ b;
    carry = (a & b) | (u & c);
    sum = u ^ c;
}

// Bytes whose low bits are the 8 bits of their index: spreads 8 column bits over 8 counters.
constexpr std::array<std::uint64_t, 256> spreadBits = [] {
    std::array<std::uint64_t, 256> t{};
    for (unsigned v = 0; v < 256; ++v)
        for (unsigned i = 0; i < 8; ++i)
            t[v] |= static_cast<std::uint64_t>((v >> i) & 1u) << (8 * i);
    return t;
}();

// Set cells of each of 64 columns in Block consecutive words. The words are added
// bit-sliced, 64 columns at a time, with carry-save adders that fold eight rows into one
// carry word (Harley and Seal's popcount, kept per column).
void columnCounts(const std::uint64_t* p, std::uint8_t* counts)
{
    std::uint64_t ones = 0, twos = 0, fours = 0;
    std::uint64_t eights[5] = {};  // bit-sliced count of the groups of eight, at most Block / 8
    for (int g = 0; g < BitLayer::Block / 8; ++g, p += 8) {
        std::uint64_t twosA, twosB, foursA, foursB, carry;
        addThree(twosA, ones, ones, p[0], p[1]);
        addThree(twosB, ones, ones, p[2], p[3]);
        addThree(foursA, twos, twos, twosA, twosB);
        addThree(twosA, ones, ones, p[4], p[5]);
        addThree(twosB, ones, ones, p[6], p[7]);
        addThree(foursB, twos, twos, twosA, twosB);
        addThree(carry, fours, fours, foursA, foursB);
        for (int q = 0; q < 5 && carry; ++q) {
            const std::uint64_t next = eights[q] & carry;
            eights[q] ^= carry;
            carry = next;
        }
    }
    const std::uint64_t planes[8] = {ones, twos, fours, eights[0], eights[1], eights[2], eights[3], eights[4]};
    for (int byte = 0; byte < 8; ++byte) {
        std::uint64_t eight = 0;  // the counts of 8 columns, a byte each
        for (int q = 0; q < 8; ++q)
            eight |= spreadBits[(planes[q] >> (8 * byte)) & 0xFF] << q;
        static_assert(std::endian::native == std::endian::little, "counters are stored byte by byte");
        std::memcpy(counts + 8 * byte, &eight, 8);
    }
}

}  // namespace

bool BitLayer::allocate(std::int64_t width, std::int64_t height)
{
    clear();
    if (width < 0 || height < 0 || width > MaxSide || height > MaxSide)
        return false;
    const auto w = static_cast<std::uint64_t>(width), h = static_cast<std::uint64_t>(height);
    const std::uint64_t across = w / 64 + 1;
    // Whole block rows of words, so that an index block row lies in whole tiles.
    const std::uint64_t rows = (h + Block - 1) / Block * Block;
    const std::uint64_t edgesX = w / Block + 1, edgesY = h / Block + 1;
    bits_.reset(zeroed<std::uint64_t>(std::max<std::uint64_t>(across * rows, 1)));
    corner_.reset(zeroed<std::uint64_t>(edgesX * edgesY));
    columnStrip_.reset(zeroed<std::uint32_t>((w + 1) * edgesY));
    rowStrip_.reset(zeroed<std::uint32_t>((h + 1) * edgesX));
    if (!bits_ || !corner_ || !columnStrip_ || !rowStrip_) {
        clear();
        return false;
    }
    width_ = width;
    height_ = height;
    wordsAcross_ = static_cast<std::size_t>(across);
    edgesX_ = static_cast<std::size_t>(edgesX);
    return true;
}

void BitLayer::clear()
{
    bits_.reset();
    corner_.reset();
    columnStrip_.reset();
    rowStrip_.reset();
    width_ = height_ = 0;
    wordsAcross_ = edgesX_ = 0;
}

std::uint64_t BitLayer::bytes() const
{
    if (empty())
        return 0;
    const auto w = static_cast<std::uint64_t>(width_), h = static_cast<std::uint64_t>(height_);
    const std::uint64_t edgesY = h / Block + 1, rows = (h + Block - 1) / Block * Block;
    return wordsAcross_ * rows * 8 + edgesX_ * edgesY * 8 + (w + 1) * edgesY * 4 + (h + 1) * edgesX_ * 4;
}

void BitLayer::orBits(std::int64_t x, std::int64_t y, const std::uint64_t* words, std::int64_t count)
{
    std::uint64_t* out = word(x >> 6, y);
    const std::int64_t n = (count + 63) >> 6;
    const int shift = static_cast<int>(x & 63);
    for (std::int64_t i = 0; i < n; ++i) {
        if (!words[i])
            continue;
        out[i * WordStep] |= words[i] << shift;
        // Bits past the row's last cell are never set, so the high bits stay inside the row.
        if (shift != 0)
            if (const std::uint64_t high = words[i] >> (64 - shift))
                out[(i + 1) * WordStep] |= high;
    }
}

void BitLayer::indexBlockRow(std::int64_t k)
{
    const std::int64_t r0 = k * Block, r1 = std::min(r0 + Block, height_);
    const std::size_t words = static_cast<std::size_t>((width_ + 63) / 64);

    // Row strips: rows (r0, r1] of the block row, the row at r0 + Block being the next block
    // row's first, whose strips start from nothing.
    const std::int64_t last = std::min(r1, r0 + Block - 1);
    std::uint32_t left[Block] = {};  // cells of each row left of the edge at hand
    for (std::size_t bx = 1; bx < edgesX_; ++bx) {
        for (std::int64_t t = r0; t < r1; t += TileRows)
            addOnes(word(2 * bx - 2, t), word(2 * bx - 1, t), std::min(TileRows, r1 - t), left + (t - r0));
        std::uint32_t above = 0;
        for (std::int64_t y = r0 + 1; y <= last; ++y) {
            above += left[y - 1 - r0];
            rowStrip_[static_cast<std::size_t>(y) * edgesX_ + bx] = above;
        }
    }
    if (r1 - r0 < Block)
        return;

    // Column strips and corners from the column counts of the block row.
    std::vector<std::uint8_t> counts(words * 64 + 64);
    for (std::size_t w = 0; w < words; ++w) {
        std::uint64_t rows[Block];
        std::memcpy(rows, word(static_cast<std::int64_t>(w), r0), TileRows * 8);
        std::memcpy(rows + TileRows, word(static_cast<std::int64_t>(w), r0 + TileRows), TileRows * 8);
        columnCounts(rows, counts.data() + w * 64);
    }
    const auto w1 = static_cast<std::size_t>(width_) + 1;
    const std::uint32_t* above = columnStrip_.get() + static_cast<std::size_t>(k) * w1;
    std::uint32_t* strip = columnStrip_.get() + static_cast<std::size_t>(k + 1) * w1;
    const std::uint64_t* cornerAbove = corner_.get() + static_cast<std::size_t>(k) * edgesX_;
    std::uint64_t* corner = corner_.get() + static_cast<std::size_t>(k + 1) * edgesX_;
    std::uint64_t total = 0;     // the block row's cells left of x
    std::uint32_t inBlock = 0;   // the same from x's block edge
    for (std::size_t x = 0; x <= static_cast<std::size_t>(width_); ++x) {
        if (x % Block == 0) {
            corner[x / Block] = cornerAbove[x / Block] + total;
            inBlock = 0;
        }
        strip[x] = above[x] + inBlock;
        total += counts[x];
        inBlock += counts[x];
    }
}

std::uint64_t BitLayer::onColumnEdge(std::int64_t x, std::int64_t y) const
{
    const auto bx = static_cast<std::size_t>(x / Block), by = static_cast<std::size_t>(y / Block);
    return corner_[by * edgesX_ + bx] + rowStrip_[static_cast<std::size_t>(y) * edgesX_ + bx];
}

std::uint64_t BitLayer::onRowEdge(std::int64_t x, std::int64_t y) const
{
    const auto bx = static_cast<std::size_t>(x / Block), by = static_cast<std::size_t>(y / Block);
    return corner_[by * edgesX_ + bx] +
           columnStrip_[by * (static_cast<std::size_t>(width_) + 1) + static_cast<std::size_t>(x)];
}

std::uint64_t BitLayer::ones(std::int64_t a, std::int64_t b, std::int64_t ya, std::int64_t yb) const
{
    std::uint64_t n = 0;
    for (std::int64_t w = a >> 6; a < b && w <= (b - 1) >> 6; ++w) {
        const std::uint64_t first = w == a >> 6 ? ~std::uint64_t{0} << (a & 63) : ~std::uint64_t{0};
        const std::uint64_t last = w == (b - 1) >> 6 ? ~std::uint64_t{0} >> (63 - ((b - 1) & 63)) : ~std::uint64_t{0};
        // A column of words is contiguous within a tile.
        for (std::int64_t y = ya; y < yb;) {
            const std::int64_t run = std::min(yb, (y / TileRows + 1) * TileRows) - y;
            n += onesUnder(word(w, y), run, first & last);
            y += run;
        }
    }
    return n;
}

BitLayer::Corner BitLayer::corner(std::int64_t x, std::int64_t y) const
{
    const Corner c{x, y, nearestEdge(x, width_), nearestEdge(y, height_)};
    // The lookups of the four corners miss the cache alike: asked for at once, they overlap.
    __builtin_prefetch(&rowStrip_[static_cast<std::size_t>(y) * edgesX_ + static_cast<std::size_t>(c.ex / Block)]);
    __builtin_prefetch(&columnStrip_[static_cast<std::size_t>(c.ey / Block) * (static_cast<std::size_t>(width_) + 1) +
                                     static_cast<std::size_t>(x)]);
    const std::uint64_t* first = word(std::min(x, c.ex) >> 6, std::min(y, c.ey));
    for (std::int64_t line = 0; line < std::abs(y - c.ey); line += 8)
        __builtin_prefetch(first + line);
    return c;
}

std::uint64_t BitLayer::sum(const Corner& c) const
{
    // From the nearest block corner (ex, ey): the sums along its two edges are in the tables,
    // and the few cells between the corner and (x, y) are counted, added or taken off.
    const std::uint64_t byEdges =
        onColumnEdge(c.ex, c.y) + onRowEdge(c.x, c.ey) -
        corner_[static_cast<std::size_t>(c.ey / Block) * edgesX_ + static_cast<std::size_t>(c.ex / Block)];
    const std::uint64_t between =
        ones(std::min(c.x, c.ex), std::max(c.x, c.ex), std::min(c.y, c.ey), std::max(c.y, c.ey));
    return (c.x >= c.ex) == (c.y >= c.ey) ? byEdges + between : byEdges - between;
}

bool BitLayer::maybeAny(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) const
{
    const std::size_t bx0 = static_cast<std::size_t>(x0 / Block), by0 = static_cast<std::size_t>(y0 / Block);
    const std::size_t bx1 = static_cast<std::size_t>((x1 + Block - 1) / Block);
    const std::size_t by1 = static_cast<std::size_t>((y1 + Block - 1) / Block);
    // The blocks at the right and bottom edges may be cut short: no corner closes them.
    if (bx1 >= edgesX_ || static_cast<std::int64_t>(by1) > height_ / Block)
        return true;
    return corner_[by1 * edgesX_ + bx1] - corner_[by0 * edgesX_ + bx1] - corner_[by1 * edgesX_ + bx0] +
               corner_[by0 * edgesX_ + bx0] !=
           0;
}

std::uint64_t BitLayer::count(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) const
{
    const Corner c[4] = {corner(x1, y1), corner(x0, y1), corner(x1, y0), corner(x0, y0)};
    // Unsigned wrap-around cancels out: the result is a true count.
    return sum(c[0]) - sum(c[1]) - sum(c[2]) + sum(c[3]);
}

}  // namespace orvalis
