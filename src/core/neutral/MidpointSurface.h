#pragma once

#include "core/neutral/NumericSupport.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace orvalis {

// Largest window side a surface can have with the run's 12 stages (grid 4097 x 4097).
constexpr int MaxSurfaceSize = 4096;
constexpr int SurfaceLevels = 12;

// A fractional Brownian surface made by two-dimensional midpoint displacement on a
// grid of 2^maxLevel + 1 points per side, of which a centred window of size + 1
// points per side is kept and rescaled to [0, 1].
class MidpointSurface {
public:
    MidpointSurface() = default;
    ~MidpointSurface();
    MidpointSurface(const MidpointSurface&) = delete;
    MidpointSurface& operator=(const MidpointSurface&) = delete;

    // Builds only the points the window depends on; the result is bit-identical to
    // generateReferenceSurface. False, with error() and no grid, for a size above
    // 2^maxLevel, a negative size or maxLevel outside 0..30.
    bool generateSurface(double H, int size, int maxLevel, int seed);
    // Builds the whole grid point by point in the order that defines the surface; also
    // false when the grid's memory cannot be had.
    bool generateReferenceSurface(double H, int size, int maxLevel, int seed);
    // Frees the grid; grid() is empty afterwards.
    void releaseSurface();

    int size() const { return size_; }
    // Rows 0..size of the normalised window, each with columns 0..size.
    double* const* grid() const { return rows_.data(); }
    double at(int row, int col) const { return rows_[static_cast<std::size_t>(row)][col]; }
    // Bytes of grid storage the last build held at its peak.
    std::size_t peakGridBytes() const { return peakGridBytes_; }

    // Why the last build gave no surface.
    const std::string& error() const { return error_; }

    // The window before normalisation, row-major, (size + 1)^2 values; empty for refused arguments.
    static std::vector<double> rawWindow(double H, int size, int maxLevel, int seed);
    static std::vector<double> referenceRawWindow(double H, int size, int maxLevel, int seed);

private:
    bool checkArguments(int size, int maxLevel);
    void begin(double H, int size, int maxLevel, int seed);
    void buildWindow(double H, int size, int maxLevel, int seed);
    bool buildReferenceGrid(double H, int size, int maxLevel, int seed);
    void normaliseReferenceWindow();
    void normaliseWindow();

    int size_ = 0;
    int seed_ = 0;
    int maxLevel_ = 0;
    int N_ = 0;
    double H_ = 0.0;
    double sigma_ = 10000.0;
    double delta_ = 10000.0;
    GaussianSource gauss_;

    double** grid_ = nullptr;  // the reference build's full grid, rows and columns 0..N
    bool allocated_ = false;
    std::unique_ptr<double[]> window_;  // the fast build's window, row-major
    std::vector<double*> rows_;
    std::size_t peakGridBytes_ = 0;
    std::string error_;
};

}  // namespace orvalis
