#pragma once

#include <memory>
#include <utility>
#include <vector>

namespace orvalis {

// An allocator whose new elements are left unset rather than zeroed: the grids below are written
// whole by whatever makes them, which then also first touches their pages, on its own threads.
// Elements given a value (resize(n, v), assign) get it as usual.
template <class T>
struct LeftUnset : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = LeftUnset<U>;
    };
    LeftUnset() = default;
    template <class U>
    LeftUnset(const LeftUnset<U>&) noexcept
    {
    }
    template <class U, class... Args>
    void construct(U* at, Args&&... args)
    {
        if constexpr (sizeof...(Args) == 0)
            ::new (static_cast<void*>(at)) U;
        else
            ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};

// A surface, row after row: the model's values; only their order counts when it is classified.
using Surface = std::vector<double, LeftUnset<double>>;

// A landscape's cells, row after row.
using LandscapeCells = std::vector<int, LeftUnset<int>>;

}  // namespace orvalis
