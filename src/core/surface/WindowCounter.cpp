#include "core/surface/WindowCounter.h"

#include <algorithm>

namespace orvalis {

namespace {

// Part of a window row: its cells, the sides between each cell and the next one to the right
// (across), or the cell below (down).
enum class Span : unsigned char { Cells, Across, Down };

}  // namespace

WindowCounter::WindowCounter(const SurfaceGrid& grid, const CountLayout& layout, std::int64_t first, std::int64_t last,
                             CountMethod method, bool outerEdge)
    : grid_(grid), layout_(layout), first_(first), last_(last), method_(method), wantOuterEdge_(outerEdge),
      h_(grid.halo()), n_(grid.step), extents_(windowExtents(grid.window, grid.shape)),
      window_(static_cast<std::size_t>(layout.size()), 0)
{
    if (method_ == CountMethod::Strips) {
        x0_ = first * n_ - h_;
        stripColumns_ = (last - 1) * n_ + h_ - x0_ + 1;
        const std::size_t size = static_cast<std::size_t>(stripColumns_) * static_cast<std::size_t>(layout.size());
        a_.assign(size, 0);
        side_.assign(size, 0);
    }
}

std::int64_t WindowCounter::stripBytes(const SurfaceGrid& grid, const CountLayout& layout, std::int64_t columns)
{
    const std::int64_t stripColumns = (columns - 1) * grid.step + grid.window;
    return stripColumns * layout.size() * 2 * static_cast<std::int64_t>(sizeof(std::uint16_t));
}

template <int Sign, class T>
inline void WindowCounter::cell(T* v, int a) const
{
    if (a < 0)
        return;
    // Strips count in 16 bits, wrapping on the way: only their final values are read.
    v[layout_.cells(a)] = static_cast<T>(v[layout_.cells(a)] + Sign);
    v[layout_.data()] = static_cast<T>(v[layout_.data()] + Sign);
}

template <int Sign, class T>
inline void WindowCounter::side(T* v, int a, int b) const
{
    if ((a | b) < 0)
        return;
    if (a == b) {
        v[layout_.like(a)] = static_cast<T>(v[layout_.like(a)] + Sign);
        return;
    }
    v[layout_.edge(a)] = static_cast<T>(v[layout_.edge(a)] + Sign);
    v[layout_.edge(b)] = static_cast<T>(v[layout_.edge(b)] + Sign);
    if (layout_.pairs()) {
        const int p = a < b ? layout_.pair(a, b) : layout_.pair(b, a);
        v[p] = static_cast<T>(v[p] + Sign);
    }
}

void WindowCounter::startRow(const ClassRows& rows, std::int64_t i, bool continuing)
{
    rows_ = &rows;
    centreRow_ = i * n_;
    column_ = -1;
    if (method_ != CountMethod::Strips) {
        // The ring's rows stay put along an output row: looked up once.
        lines_.resize(static_cast<std::size_t>(grid_.window) + 1);
        for (int dr = -h_; dr <= h_ + 1; ++dr)
            lines_[static_cast<std::size_t>(dr + h_)] = rows.row(centreRow_ + dr);
        return;
    }
    if (continuing && 2 * n_ < grid_.window)
        moveStrips();
    else
        buildStrips();
}

// Adds (or takes away) map rows from .. to of every strip: their cells, and the sides between each
// cell and the one to its right.
void WindowCounter::stripRows(std::int64_t from, std::int64_t to, bool add)
{
    const std::size_t F = static_cast<std::size_t>(layout_.size());
    const std::int64_t columns = stripColumns_;
    auto run = [&]<int Sign>() {
        for (std::int64_t y = from; y <= to; ++y) {
            const int* r = rows_->row(y) + x0_;
            for (std::int64_t c = 0; c < columns; ++c) {
                cell<Sign>(a_.data() + static_cast<std::size_t>(c) * F, r[c]);
                if (c + 1 < columns)
                    side<Sign>(side_.data() + static_cast<std::size_t>(c) * F, r[c], r[c + 1]);
            }
        }
    };
    if (add)
        run.template operator()<1>();
    else
        run.template operator()<-1>();
}

void WindowCounter::buildStrips()
{
    std::fill(a_.begin(), a_.end(), 0);
    std::fill(side_.begin(), side_.end(), 0);
    stripRows(centreRow_ - h_, centreRow_ + h_, true);
    const std::size_t F = static_cast<std::size_t>(layout_.size());
    for (std::int64_t y = centreRow_ - h_; y < centreRow_ + h_; ++y) {
        const int* r0 = rows_->row(y) + x0_;
        const int* r1 = rows_->row(y + 1) + x0_;
        for (std::int64_t c = 0; c < stripColumns_; ++c)
            side<1>(a_.data() + static_cast<std::size_t>(c) * F, r0[c], r1[c]);
    }
}

// From the previous output row's strips: its top step rows out, step new rows in at the bottom.
void WindowCounter::moveStrips()
{
    const std::int64_t top = centreRow_ - h_, bottom = centreRow_ + h_;
    stripRows(top - n_, top - 1, false);
    stripRows(bottom - n_ + 1, bottom, true);
    const std::size_t F = static_cast<std::size_t>(layout_.size());
    auto down = [&]<int Sign>(std::int64_t from, std::int64_t to) {
        for (std::int64_t y = from; y <= to; ++y) {
            const int* r0 = rows_->row(y) + x0_;
            const int* r1 = rows_->row(y + 1) + x0_;
            for (std::int64_t c = 0; c < stripColumns_; ++c)
                side<Sign>(a_.data() + static_cast<std::size_t>(c) * F, r0[c], r1[c]);
        }
    };
    down.template operator()<-1>(top - n_, top - 1);
    down.template operator()<1>(bottom - n_, bottom - 1);
}

std::int64_t WindowCounter::dataIn(const int* row, std::int64_t from, std::int64_t to) const
{
    std::int64_t n = 0;
    for (std::int64_t x = from; x <= to; ++x)
        n += row[x] >= 0;
    return n;
}

void WindowCounter::stripsWindow()
{
    const std::size_t F = static_cast<std::size_t>(layout_.size());
    const int S = grid_.window;
    const std::int64_t l = (column_ - first_) * n_;
    std::int32_t* w = window_.data();
    if (column_ == first_ || 2 * n_ >= S) {
        std::fill(window_.begin(), window_.end(), 0);
        for (std::int64_t c = l; c < l + S; ++c) {
            const std::uint16_t* a = a_.data() + static_cast<std::size_t>(c) * F;
            for (std::size_t f = 0; f < F; ++f)
                w[f] += a[f];
        }
        for (std::int64_t c = l; c < l + S - 1; ++c) {
            const std::uint16_t* s = side_.data() + static_cast<std::size_t>(c) * F;
            for (std::size_t f = 0; f < F; ++f)
                w[f] += s[f];
        }
        return;
    }
    // The window moved step columns: the strips it left out, those it reached in.
    for (int t = 0; t < n_; ++t) {
        const std::int64_t out = l - n_ + t, in = l + S - n_ + t;
        const std::uint16_t* ao = a_.data() + static_cast<std::size_t>(out) * F;
        const std::uint16_t* ai = a_.data() + static_cast<std::size_t>(in) * F;
        const std::uint16_t* so = side_.data() + static_cast<std::size_t>(out) * F;
        const std::uint16_t* si = side_.data() + static_cast<std::size_t>(in - 1) * F;
        for (std::size_t f = 0; f < F; ++f)
            w[f] += (static_cast<std::int32_t>(ai[f]) - ao[f]) + (static_cast<std::int32_t>(si[f]) - so[f]);
    }
}

void WindowCounter::extentsWindow()
{
    const std::int64_t x = column_ * n_;
    std::int32_t* w = window_.data();
    auto span = [&]<int Sign>(Span kind, const int* r0, const int* r1, std::int64_t from, std::int64_t to) {
        for (std::int64_t c = from; c <= to; ++c)
            switch (kind) {
            case Span::Cells: cell<Sign>(w, r0[c]); break;
            case Span::Across: side<Sign>(w, r0[c], r0[c + 1]); break;
            case Span::Down: side<Sign>(w, r0[c], r1[c]); break;
            }
    };
    // A part of a row, now from .. to, moved step columns to the right: as a whole when it moves
    // past itself, else by its ends.
    auto move = [&](Span kind, const int* r0, const int* r1, std::int64_t from, std::int64_t to) {
        if (n_ > to - from + 1) {
            span.template operator()<-1>(kind, r0, r1, from - n_, to - n_);
            span.template operator()<1>(kind, r0, r1, from, to);
        } else {
            span.template operator()<-1>(kind, r0, r1, from - n_, from - 1);
            span.template operator()<1>(kind, r0, r1, to - n_ + 1, to);
        }
    };
    const bool fresh = column_ == first_;
    if (fresh)
        std::fill(window_.begin(), window_.end(), 0);
    for (int dr = -h_; dr <= h_; ++dr) {
        const int* r0 = lines_[static_cast<std::size_t>(dr + h_)];
        const int* r1 = lines_[static_cast<std::size_t>(dr + h_ + 1)];
        const int e = extents_[static_cast<std::size_t>(dr + h_)];
        const int m = dr < h_ ? std::min(e, extents_[static_cast<std::size_t>(dr + h_ + 1)]) : -1;
        if (fresh) {
            span.template operator()<1>(Span::Cells, r0, r1, x - e, x + e);
            span.template operator()<1>(Span::Across, r0, r1, x - e, x + e - 1);
            if (m >= 0)
                span.template operator()<1>(Span::Down, r0, r1, x - m, x + m);
        } else {
            move(Span::Cells, r0, r1, x - e, x + e);
            move(Span::Across, r0, r1, x - e, x + e - 1);
            if (m >= 0)
                move(Span::Down, r0, r1, x - m, x + m);
        }
    }
}

void WindowCounter::countOuterEdge()
{
    const std::int64_t x = column_ * n_;
    const std::int64_t top = centreRow_ - h_, bottom = centreRow_ + h_;
    if (grid_.shape == WindowShape::Circle) {
        outerEdge_ = (rows_->row(top)[x] >= 0) + (rows_->row(bottom)[x] >= 0) + (rows_->row(centreRow_)[x - h_] >= 0) +
                     (rows_->row(centreRow_)[x + h_] >= 0);
        return;
    }
    std::int64_t n = dataIn(rows_->row(top), x - h_, x + h_) + dataIn(rows_->row(bottom), x - h_, x + h_);
    if (method_ == CountMethod::Strips) {
        const std::size_t F = static_cast<std::size_t>(layout_.size());
        const std::int64_t l = (column_ - first_) * n_;
        n += a_[static_cast<std::size_t>(l) * F + static_cast<std::size_t>(layout_.data())];
        n += a_[static_cast<std::size_t>(l + grid_.window - 1) * F + static_cast<std::size_t>(layout_.data())];
    } else {
        for (std::int64_t y = top; y <= bottom; ++y)
            n += (rows_->row(y)[x - h_] >= 0) + (rows_->row(y)[x + h_] >= 0);
    }
    outerEdge_ = n;
}

const std::int32_t* WindowCounter::next()
{
    column_ = column_ < 0 ? first_ : column_ + 1;
    if (method_ == CountMethod::Strips)
        stripsWindow();
    else
        extentsWindow();
    if (wantOuterEdge_)
        countOuterEdge();
    return window_.data();
}

}  // namespace orvalis
