#pragma once

#include "core/io/LandscapeFile.h"

#include <QImage>

// The largest side of the image built for the view; larger grids are sampled.
constexpr int MaxGridImageSide = 4096;

// One pixel per cell of an n x n view of the grid (n = number of lines): line j
// is column j, position i is row i; cells equal to matrixValue are white, others
// black, and positions beyond a line's end are left transparent.
QImage buildGridImage(const orvalis::LandscapeGrid& grid, int matrixValue);
