#include "core/surface/ClassRows.h"

#include <algorithm>

namespace orvalis {

ClassRows::ClassRows(std::int64_t width, std::int64_t height, int pad, int capacity)
    : width_(width), height_(height), pad_(pad), capacity_(capacity),
      stride_(static_cast<std::size_t>(width + 2 * pad)),
      ring_(stride_ * static_cast<std::size_t>(capacity), Outside), outside_(stride_, Outside)
{
}

bool ClassRows::hold(std::int64_t first, std::int64_t last, const ClassRowReader& read, std::string* error)
{
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, height_);
    if (first >= last)
        return true;
    // Rows already held stay; a jump past them starts the ring afresh.
    std::int64_t from = first;
    if (first >= heldFirst_ && first <= heldLast_)
        from = heldLast_;
    else
        heldFirst_ = heldLast_ = first;
    if (from >= last)
        return true;
    const int rows = static_cast<int>(last - from);
    block_.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(width_));
    if (!read(from, rows, block_.data(), error))
        return false;
    for (int r = 0; r < rows; ++r) {
        int* dst = ring_.data() + static_cast<std::size_t>((from + r) % capacity_) * stride_ + static_cast<std::size_t>(pad_);
        const int* src = block_.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(width_);
        for (std::int64_t x = 0; x < width_; ++x)
            dst[x] = src[x] < 0 ? Outside : src[x];
    }
    heldLast_ = last;
    heldFirst_ = std::max(heldFirst_, last - capacity_);
    return true;
}

}  // namespace orvalis
