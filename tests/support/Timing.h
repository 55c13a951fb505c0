#pragma once

#include <chrono>

namespace orvalis::test {

// Bound for "stays quick" checks, which guard against hangs and quadratic work, not
// speed: sanitizer and debug builds run many times slower.
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
constexpr double QuickSeconds = 20.0;
#else
constexpr double QuickSeconds = 1.0;
#endif

template <typename F>
double secondsFor(F f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace orvalis::test
