#include "core/neutral/MidpointSurface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace orvalis {

namespace {

// One displaced point: the neighbours truncated to int, their integer mean, the sum truncated.
inline double offsetMean4(double gauss, double delta, double a, double b, double c, double d)
{
    const int mean = (static_cast<int>(a) + static_cast<int>(b) + static_cast<int>(c) + static_cast<int>(d)) / 4;
    return static_cast<int>(gauss * delta + mean);
}

inline double offsetMean3(double gauss, double delta, double a, double b, double c)
{
    const int mean = (static_cast<int>(a) + static_cast<int>(b) + static_cast<int>(c)) / 3;
    return static_cast<int>(gauss * delta + mean);
}

// Deviates drawn by one stage whose squares have side D = N / m.
inline std::uint64_t stageDeviates(std::uint64_t m)
{
    return 3 * m * m + 2 * m;
}

// Positions the generator on deviate `index` of the build's sequence; only moves forward.
class DrawCursor {
public:
    explicit DrawCursor(GaussianSource& g) : g_(g) {}
    void moveTo(std::uint64_t index)
    {
        if (index > at_)
            g_.random.discard(static_cast<std::uint64_t>(g_.count) * (index - at_));
        at_ = index;
    }
    double next()
    {
        ++at_;
        return nextGaussian(g_);
    }

private:
    GaussianSource& g_;
    std::uint64_t at_ = 0;
};

}  // namespace

MidpointSurface::~MidpointSurface()
{
    releaseSurface();
}

void MidpointSurface::releaseSurface()
{
    if (grid_)
        releaseMatrix(grid_, 0, N_, 0, N_);
    grid_ = nullptr;
    allocated_ = false;
    window_.reset();
    rows_.clear();
}

bool MidpointSurface::checkArguments(int size, int maxLevel)
{
    error_.clear();
    if (maxLevel < 0 || maxLevel > 30)
        error_ = "subdivision stages outside 0..30";
    else if (size < 0)
        error_ = "negative window size";
    else if (size > (1 << maxLevel))
        error_ = "size greater than 2^level";
    if (!error_.empty())
        releaseSurface();
    return error_.empty();
}

bool MidpointSurface::generateSurface(double H, int size, int maxLevel, int seed)
{
    if (!checkArguments(size, maxLevel))
        return false;
    buildWindow(H, size, maxLevel, seed);
    normaliseWindow();
    return true;
}

bool MidpointSurface::generateReferenceSurface(double H, int size, int maxLevel, int seed)
{
    if (!checkArguments(size, maxLevel) || !buildReferenceGrid(H, size, maxLevel, seed))
        return false;
    normaliseReferenceWindow();
    return true;
}

std::vector<double> MidpointSurface::rawWindow(double H, int size, int maxLevel, int seed)
{
    MidpointSurface s;
    if (!s.checkArguments(size, maxLevel))
        return {};
    s.buildWindow(H, size, maxLevel, seed);
    const std::size_t n = static_cast<std::size_t>(size + 1) * static_cast<std::size_t>(size + 1);
    return std::vector<double>(s.window_.get(), s.window_.get() + n);
}

std::vector<double> MidpointSurface::referenceRawWindow(double H, int size, int maxLevel, int seed)
{
    MidpointSurface s;
    if (!s.checkArguments(size, maxLevel) || !s.buildReferenceGrid(H, size, maxLevel, seed))
        return {};
    const int off = (s.N_ - size) / 2;
    std::vector<double> out;
    out.reserve(static_cast<std::size_t>(size + 1) * static_cast<std::size_t>(size + 1));
    for (int row = off; row <= off + size; ++row)
        for (int col = off; col <= off + size; ++col)
            out.push_back(s.grid_[row][col]);
    return out;
}

void MidpointSurface::begin(double H, int size, int maxLevel, int seed)
{
    releaseSurface();
    H_ = H;
    size_ = size;
    maxLevel_ = maxLevel;
    seed_ = seed;
    N_ = 1 << maxLevel;
}

bool MidpointSurface::buildReferenceGrid(double H, int size, int maxLevel, int seed)
{
    begin(H, size, maxLevel, seed);
    const int N = N_;
    grid_ = imatrix(0, N, 0, N);
    if (!grid_) {
        error_ = "allocation failure in imatrix()";
        return false;
    }
    allocated_ = true;
    peakGridBytes_ = static_cast<std::size_t>(N + 1) * static_cast<std::size_t>(N + 1) * sizeof(double) +
                     static_cast<std::size_t>(N + 1) * sizeof(double*);
    sigma_ = 10000.0;
    delta_ = 10000.0;
    for (int x = 0; x <= N; ++x)
        for (int y = 0; y <= N; ++y)
            grid_[x][y] = 0.0;
    seedGaussian(gauss_, seed);
    double** g = grid_;
    g[0][0] = delta_ * nextGaussian(gauss_);
    g[0][N] = delta_ * nextGaussian(gauss_);
    g[N][0] = delta_ * nextGaussian(gauss_);
    g[N][N] = delta_ * nextGaussian(gauss_);
    int D = N;
    int d = N / 2;
    for (int stage = 1; stage <= maxLevel; ++stage) {
        delta_ = delta_ * std::pow(0.5, 0.5 * H);
        for (int x = d; x <= N - d; x += D)
            for (int y = d; y <= N - d; y += D)
                g[x][y] = offsetMean4(nextGaussian(gauss_), delta_, g[x + d][y + d], g[x + d][y - d], g[x - d][y + d], g[x - d][y - d]);
        delta_ = delta_ * std::pow(0.5, 0.5 * H);
        for (int x = d; x <= N - d; x += D) {
            g[x][0] = offsetMean3(nextGaussian(gauss_), delta_, g[x + d][0], g[x - d][0], g[x][d]);
            g[x][N] = offsetMean3(nextGaussian(gauss_), delta_, g[x + d][N], g[x - d][N], g[x][N - d]);
            g[0][x] = offsetMean3(nextGaussian(gauss_), delta_, g[0][x + d], g[0][x - d], g[d][x]);
            g[N][x] = offsetMean3(nextGaussian(gauss_), delta_, g[N][x + d], g[N][x - d], g[N - d][x]);
        }
        for (int x = d; x <= N - d; x += D)
            for (int y = D; y <= N - D; y += D)
                g[x][y] = offsetMean4(nextGaussian(gauss_), delta_, g[x][y + d], g[x][y - d], g[x + d][y], g[x - d][y]);
        for (int x = D; x <= N - D; x += D)
            for (int y = d; y <= N - d; y += D)
                g[x][y] = offsetMean4(nextGaussian(gauss_), delta_, g[x][y + d], g[x][y - d], g[x + d][y], g[x - d][y]);
        D /= 2;
        d /= 2;
    }
    return true;
}

void MidpointSurface::normaliseReferenceWindow()
{
    const int off = (N_ - size_) / 2;
    double lo = grid_[off][off];
    double hi = lo;
    for (int row = off; row <= off + size_; ++row)
        for (int col = off; col <= off + size_; ++col) {
            const double v = grid_[row][col];
            if (v < lo)
                lo = v;
            if (v > hi)
                hi = v;
        }
    // A flat window has no range to rescale; it becomes all 0.0 rather than NaN.
    const double range = hi - lo;
    for (int col = off; col <= off + size_; ++col)
        for (int row = off; row <= off + size_; ++row)
            grid_[row - off][col - off] = range > 0.0 ? (grid_[row][col] - lo) / range : 0.0;
    rows_.assign(grid_, grid_ + size_ + 1);
}

void MidpointSurface::buildWindow(double H, int size, int maxLevel, int seed)
{
    begin(H, size, maxLevel, seed);
    const long long N = N_;
    const long long a = (N - size) / 2;
    const long long b = a + size;

    seedGaussian(gauss_, seed);
    DrawCursor cursor(gauss_);

    // The corners: a 2 x 2 lattice of spacing N.
    std::unique_ptr<double[]> prev(new double[4]);
    long long prevLo = 0, prevStep = N, prevWidth = 2;
    prev[0] = 10000.0 * cursor.next();
    prev[1] = 10000.0 * cursor.next();
    prev[2] = 10000.0 * cursor.next();
    prev[3] = 10000.0 * cursor.next();
    std::size_t peak = 4 * sizeof(double);

    // Region of each stage, from the window outwards: a point needs parents within
    // its half-step d, and bounds on the coarser lattice keep centres inside.
    std::vector<long long> regionLo(static_cast<std::size_t>(maxLevel) + 1), regionHi(regionLo.size());
    {
        long long tLo = a, tHi = b;
        for (int stage = maxLevel; stage >= 1; --stage) {
            const long long d = N >> stage, D = 2 * d;
            tLo = (std::max(0LL, tLo - d) / D) * D;
            tHi = ((std::min(N, tHi + d) + D - 1) / D) * D;
            regionLo[static_cast<std::size_t>(stage)] = tLo;
            regionHi[static_cast<std::size_t>(stage)] = tHi;
        }
    }

    const double shrink = std::pow(0.5, 0.5 * H);
    double delta = 10000.0;
    std::uint64_t stageBase = 4;
    long long D = N;
    for (int stage = 1; stage <= maxLevel; ++stage, D /= 2) {
        const long long d = D / 2;
        const long long m = N / D;
        const double deltaCentre = delta * shrink;
        delta = deltaCentre * shrink;
        const double deltaEdge = delta;

        const long long lo = regionLo[static_cast<std::size_t>(stage)];
        const long long hi = regionHi[static_cast<std::size_t>(stage)];
        const long long w = (hi - lo) / d + 1;
        std::unique_ptr<double[]> cur(new double[static_cast<std::size_t>(w * w)]);
        peak = std::max(peak, static_cast<std::size_t>(w * w + prevWidth * prevWidth) * sizeof(double));
        const int shift = maxLevel - stage;  // d = 2^shift
        double* base = cur.get();
        auto at = [base, lo, w, shift](long long x, long long y) -> double& {
            return base[((x - lo) >> shift) * w + ((y - lo) >> shift)];
        };

        for (long long x = lo; x <= hi; x += D)
            for (long long y = lo; y <= hi; y += D)
                at(x, y) = prev[((x - prevLo) / prevStep) * prevWidth + (y - prevLo) / prevStep];

        const long long i0 = lo / D, i1 = hi / D - 1;  // odd lattice lines lo + d .. hi - d
        const std::uint64_t centreBase = stageBase;
        for (long long i = i0; i <= i1; ++i) {
            const long long x = d + i * D;
            cursor.moveTo(centreBase + static_cast<std::uint64_t>(i * m + i0));
            for (long long j = i0; j <= i1; ++j) {
                const long long y = d + j * D;
                at(x, y) = offsetMean4(cursor.next(), deltaCentre, at(x + d, y + d), at(x + d, y - d), at(x - d, y + d),
                                       at(x - d, y - d));
            }
        }

        const std::uint64_t edgeBase = centreBase + static_cast<std::uint64_t>(m * m);
        if (lo == 0 || hi == N) {
            for (long long i = i0; i <= i1; ++i) {
                const long long x = d + i * D;
                const std::uint64_t e = edgeBase + static_cast<std::uint64_t>(4 * i);
                if (lo == 0) {
                    cursor.moveTo(e + 0);
                    at(x, 0) = offsetMean3(cursor.next(), deltaEdge, at(x + d, 0), at(x - d, 0), at(x, d));
                }
                if (hi == N) {
                    cursor.moveTo(e + 1);
                    at(x, N) = offsetMean3(cursor.next(), deltaEdge, at(x + d, N), at(x - d, N), at(x, N - d));
                }
                if (lo == 0) {
                    cursor.moveTo(e + 2);
                    at(0, x) = offsetMean3(cursor.next(), deltaEdge, at(0, x + d), at(0, x - d), at(d, x));
                }
                if (hi == N) {
                    cursor.moveTo(e + 3);
                    at(N, x) = offsetMean3(cursor.next(), deltaEdge, at(N, x + d), at(N, x - d), at(N - d, x));
                }
            }
        }

        // Even lines strictly inside the region; points on its border lines are not needed.
        const long long k0 = lo / D + 1, k1 = hi / D - 1;
        const std::uint64_t pass1Base = edgeBase + static_cast<std::uint64_t>(4 * m);
        if (k0 <= k1) {
            for (long long i = i0; i <= i1; ++i) {
                const long long x = d + i * D;
                cursor.moveTo(pass1Base + static_cast<std::uint64_t>(i * (m - 1) + (k0 - 1)));
                for (long long k = k0; k <= k1; ++k) {
                    const long long y = k * D;
                    at(x, y) = offsetMean4(cursor.next(), deltaEdge, at(x, y + d), at(x, y - d), at(x + d, y), at(x - d, y));
                }
            }
        }
        const std::uint64_t pass2Base = pass1Base + static_cast<std::uint64_t>(m * (m - 1));
        for (long long k = k0; k <= k1; ++k) {
            const long long x = k * D;
            cursor.moveTo(pass2Base + static_cast<std::uint64_t>((k - 1) * m + i0));
            for (long long j = i0; j <= i1; ++j) {
                const long long y = d + j * D;
                at(x, y) = offsetMean4(cursor.next(), deltaEdge, at(x, y + d), at(x, y - d), at(x + d, y), at(x - d, y));
            }
        }

        stageBase += stageDeviates(static_cast<std::uint64_t>(m));
        prev = std::move(cur);
        prevLo = lo;
        prevStep = d;
        prevWidth = w;
    }

    // Crop in place: every source element lies at or after its destination.
    const long long side = size + 1;
    double* data = prev.get();
    for (long long row = 0; row < side; ++row) {
        const double* src = data + ((a + row - prevLo) / prevStep) * prevWidth + (a - prevLo) / prevStep;
        std::memmove(data + row * side, src, static_cast<std::size_t>(side) * sizeof(double));
    }
    window_ = std::move(prev);
    peakGridBytes_ = peak;
    delta_ = delta;
}

void MidpointSurface::normaliseWindow()
{
    const std::size_t side = static_cast<std::size_t>(size_) + 1;
    const std::size_t n = side * side;
    double* v = window_.get();
    double lo = v[0], hi = v[0];
    for (std::size_t i = 1; i < n; ++i) {
        if (v[i] < lo)
            lo = v[i];
        if (v[i] > hi)
            hi = v[i];
    }
    // A flat window has no range to rescale; it becomes all 0.0 rather than NaN.
    const double range = hi - lo;
    for (std::size_t i = 0; i < n; ++i)
        v[i] = range > 0.0 ? (v[i] - lo) / range : 0.0;
    rows_.resize(side);
    for (std::size_t r = 0; r < side; ++r)
        rows_[r] = v + r * side;
}

}  // namespace orvalis
