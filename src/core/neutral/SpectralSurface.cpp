#include "core/neutral/SpectralSurface.h"

#include "core/neutral/ModelSurfaces.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <new>
#include <numbers>

namespace orvalis {

namespace {

// FFTW's planner is not thread-safe; executing distinct plans is.
std::mutex& plannerMutex()
{
    static std::mutex m;
    return m;
}

// Noise shaped by amplitude(|k|^2), k in cycles per cell, on an R x C grid; the top-left rows x cols kept.
template <class Amplitude>
void synthesise(int rows, int cols, int R, int C, Amplitude amplitude, ReplicateRandom& random,
                Surface& out)
{
    const std::size_t half = static_cast<std::size_t>(C) / 2 + 1;
    const std::size_t complexCells = static_cast<std::size_t>(R) * half;
    fftw_complex* data = fftw_alloc_complex(complexCells);
    if (!data)
        throw std::bad_alloc();
    fftw_plan plan = nullptr;
    {
        // FFTW_ESTIMATE plans the same way every time, so every thread gets the same bits.
        std::lock_guard<std::mutex> lock(plannerMutex());
        plan = fftw_plan_dft_c2r_2d(R, C, data, reinterpret_cast<double*>(data), FFTW_ESTIMATE);
    }
    for (int i = 0; i < R; ++i) {
        const double ky = (i <= R / 2 ? i : i - R) / static_cast<double>(R);
        fftw_complex* line = data + static_cast<std::size_t>(i) * half;
        for (std::size_t j = 0; j < half; ++j) {
            const double kx = static_cast<double>(j) / C;
            const double k2 = kx * kx + ky * ky;
            double a = 0.0, b = 0.0;
            normalPair(random, a, b);
            const double scale = k2 > 0.0 ? amplitude(k2) : 0.0;
            line[j][0] = scale * a;
            line[j][1] = scale * b;
        }
    }
    fftw_execute(plan);
    const double* real = reinterpret_cast<const double*>(data);
    out.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    for (int r = 0; r < rows; ++r)
        std::copy_n(real + static_cast<std::size_t>(r) * 2 * half, cols, out.data() + static_cast<std::size_t>(r) * cols);
    {
        std::lock_guard<std::mutex> lock(plannerMutex());
        fftw_destroy_plan(plan);
    }
    fftw_free(data);
}

}  // namespace

int fastFftSize(int n)
{
    for (int m = std::max(n, 1);; ++m) {
        int rest = m;
        for (int p : {2, 3, 5, 7})
            while (rest % p == 0)
                rest /= p;
        if (rest == 1)
            return m;
    }
}

void normalPair(ReplicateRandom& random, double& a, double& b)
{
    const double u1 = 1.0 - uniform01(random);  // in (0, 1]: the logarithm stays finite
    const double u2 = uniform01(random);
    const double radius = std::sqrt(-2.0 * std::log(u1));
    a = radius * std::cos(2.0 * std::numbers::pi * u2);
    b = radius * std::sin(2.0 * std::numbers::pi * u2);
}

void fbmSurface(int rows, int cols, double h, ReplicateRandom& random, Surface& out)
{
    const double exponent = -(h + 1.0) / 2.0;
    synthesise(rows, cols, fastFftSize(rows), fastFftSize(cols), [exponent](double k2) { return std::pow(k2, exponent); },
               random, out);
}

void gaussianFieldSurface(int rows, int cols, double range, double smoothness, ReplicateRandom& random,
                          Surface& out)
{
    const auto extension = [range](int n) {
        return fastFftSize(n + static_cast<int>(std::min<double>(std::ceil(3.0 * range), n)));
    };
    const double c = 4.0 * std::numbers::pi * std::numbers::pi * range * range;
    const double exponent = -(smoothness + 1.0) / 2.0;
    synthesise(rows, cols, extension(rows), extension(cols),
               [c, exponent](double k2) { return std::pow(1.0 + c * k2, exponent); }, random, out);
}

}  // namespace orvalis
