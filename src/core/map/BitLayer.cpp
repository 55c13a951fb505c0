#include "core/map/BitLayer.h"

#include <algorithm>
#include <array>
#include <bit>
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

// Set bits in columns [a, b) of rows [ya, yb), rows stride words apart.
ORVALIS_POPCOUNT_CLONES
std::uint64_t onesIn(const std::uint64_t* bits, std::size_t stride, std::int64_t a, std::int64_t b, std::int64_t ya,
                     std::int64_t yb)
{
    if (a >= b || ya >= yb)
        return 0;
    const std::int64_t wa = a >> 6, wb = (b - 1) >> 6;
    const std::uint64_t first = ~std::uint64_t{0} << (a & 63);
    const std::uint64_t last = ~std::uint64_t{0} >> (63 - ((b - 1) & 63));
    std::uint64_t n = 0;
    for (std::int64_t y = ya; y < yb; ++y) {
        const std::uint64_t* row = bits + static_cast<std::size_t>(y) * stride;
        if (wa == wb) {
            n += static_cast<std::uint64_t>(std::popcount(row[wa] & first & last));
            continue;
        }
        n += static_cast<std::uint64_t>(std::popcount(row[wa] & first) + std::popcount(row[wb] & last));
        for (std::int64_t w = wa + 1; w < wb; ++w)
            n += static_cast<std::uint64_t>(std::popcount(row[w]));
    }
    return n;
}

// Row strips of rows (y0, y1): each row adds its cells left of every block edge to the row below.
ORVALIS_POPCOUNT_CLONES
void buildRowStrips(const std::uint64_t* bits, std::size_t stride, std::int64_t y0, std::int64_t y1,
                    std::size_t edges, std::uint32_t* strips)
{
    for (std::int64_t y = y0 + 1; y < y1; ++y) {
        const std::uint64_t* row = bits + static_cast<std::size_t>(y - 1) * stride;
        const std::uint32_t* above = strips + static_cast<std::size_t>(y - 1) * edges;
        std::uint32_t* strip = strips + static_cast<std::size_t>(y) * edges;
        std::uint32_t left = 0;
        strip[0] = above[0];
        for (std::size_t bx = 1; bx < edges; ++bx) {
            left += static_cast<std::uint32_t>(std::popcount(row[2 * bx - 2]) + std::popcount(row[2 * bx - 1]));
            strip[bx] = above[bx] + left;
        }
    }
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

// Set cells of each column in Block rows from first on (rows stride words apart), for words * 64
// columns. The rows are added bit-sliced, 64 columns at a time, with carry-save adders that fold
// eight rows into one carry word (Harley and Seal's popcount, kept per column).
void columnCounts(const std::uint64_t* first, std::size_t stride, std::size_t words, std::uint8_t* counts)
{
    for (std::size_t w = 0; w < words; ++w) {
        const std::uint64_t* p = first + w;
        std::uint64_t ones = 0, twos = 0, fours = 0;
        std::uint64_t eights[5] = {};  // bit-sliced count of the groups of eight, at most Block / 8
        for (int g = 0; g < BitLayer::Block / 8; ++g, p += 8 * stride) {
            std::uint64_t twosA, twosB, foursA, foursB, carry;
            addThree(twosA, ones, ones, p[0], p[stride]);
            addThree(twosB, ones, ones, p[2 * stride], p[3 * stride]);
            addThree(foursA, twos, twos, twosA, twosB);
            addThree(twosA, ones, ones, p[4 * stride], p[5 * stride]);
            addThree(twosB, ones, ones, p[6 * stride], p[7 * stride]);
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
            std::memcpy(counts + w * 64 + 8 * byte, &eight, 8);
        }
    }
}

}  // namespace

bool BitLayer::allocate(std::int64_t width, std::int64_t height)
{
    clear();
    if (width < 0 || height < 0 || width > MaxSide || height > MaxSide)
        return false;
    const auto w = static_cast<std::uint64_t>(width), h = static_cast<std::uint64_t>(height);
    const std::uint64_t stride = w / 64 + 1;
    const std::uint64_t edgesX = w / Block + 1, edgesY = h / Block + 1;
    if (h != 0 && stride > UINT64_MAX / h)
        return false;
    bits_.reset(zeroed<std::uint64_t>(std::max<std::uint64_t>(stride * h, 1)));
    corner_.reset(zeroed<std::uint64_t>(edgesX * edgesY));
    columnStrip_.reset(zeroed<std::uint32_t>((w + 1) * edgesY));
    rowStrip_.reset(zeroed<std::uint32_t>((h + 1) * edgesX));
    if (!bits_ || !corner_ || !columnStrip_ || !rowStrip_) {
        clear();
        return false;
    }
    width_ = width;
    height_ = height;
    stride_ = static_cast<std::size_t>(stride);
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
    stride_ = edgesX_ = 0;
}

std::uint64_t BitLayer::bytes() const
{
    if (empty())
        return 0;
    const auto w = static_cast<std::uint64_t>(width_), h = static_cast<std::uint64_t>(height_);
    const std::uint64_t edgesY = h / Block + 1;
    return stride_ * h * 8 + edgesX_ * edgesY * 8 + (w + 1) * edgesY * 4 + (h + 1) * edgesX_ * 4;
}

void BitLayer::orBits(std::int64_t x, std::int64_t y, const std::uint64_t* words, std::int64_t count)
{
    std::uint64_t* out = row(y) + (x >> 6);
    const std::int64_t n = (count + 63) >> 6;
    const int shift = static_cast<int>(x & 63);
    if (shift == 0) {
        for (std::int64_t i = 0; i < n; ++i)
            if (words[i])
                out[i] |= words[i];
        return;
    }
    for (std::int64_t i = 0; i < n; ++i) {
        if (!words[i])
            continue;
        out[i] |= words[i] << shift;
        // Bits past the row's last cell are never set, so the high part stays inside the row.
        if (const std::uint64_t high = words[i] >> (64 - shift))
            out[i + 1] |= high;
    }
}

void BitLayer::indexBlockRow(std::int64_t k)
{
    const std::int64_t r0 = k * Block, r1 = std::min(r0 + Block, height_);
    const std::size_t words = static_cast<std::size_t>((width_ + 63) / 64);
    // Row (r0 + Block) starts the next block row, whose strips start from nothing.
    buildRowStrips(bits_.get(), stride_, r0, std::min(r1 + 1, r0 + Block), edgesX_, rowStrip_.get());
    if (r1 - r0 < Block)
        return;
    std::vector<std::uint8_t> counts(words * 64);
    columnCounts(row(r0), stride_, words, counts.data());
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
        if (x == static_cast<std::size_t>(width_))
            break;
        const std::uint32_t n = counts[x];
        total += n;
        inBlock += n;
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

std::uint64_t BitLayer::sum(std::int64_t x, std::int64_t y) const
{
    // From the nearest block corner (ex, ey): the sums along its two edges are in the tables,
    // and the few cells between the corner and (x, y) are counted, added or taken off.
    const std::int64_t ex = nearestEdge(x, width_), ey = nearestEdge(y, height_);
    const std::uint64_t byEdges = onColumnEdge(ex, y) + onRowEdge(x, ey) -
                                  corner_[static_cast<std::size_t>(ey / Block) * edgesX_ + static_cast<std::size_t>(ex / Block)];
    const std::int64_t xa = std::min(x, ex), xb = std::max(x, ex);
    const std::int64_t ya = std::min(y, ey), yb = std::max(y, ey);
    const std::uint64_t between = onesIn(bits_.get(), stride_, xa, xb, ya, yb);
    return (x >= ex) == (y >= ey) ? byEdges + between : byEdges - between;
}

}  // namespace orvalis
