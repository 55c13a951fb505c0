#include "gui/GridImage.h"

#include <algorithm>

QImage buildGridImage(const orvalis::LandscapeGrid& grid, int matrixValue)
{
    const std::size_t n = grid.size();
    if (n == 0)
        return QImage();
    const int side = static_cast<int>(std::min<std::size_t>(n, MaxGridImageSide));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QRgb white = qRgba(255, 255, 255, 255);
    const QRgb black = qRgba(0, 0, 0, 255);
    // Map each image position to a cell; the identity when the grid fits.
    auto cellOf = [n, side](int p) { return static_cast<std::size_t>(static_cast<unsigned long long>(p) * n / static_cast<unsigned>(side)); };
    for (int col = 0; col < side; ++col) {
        const std::vector<int>& line = grid[cellOf(col)];
        for (int row = 0; row < side; ++row) {
            std::size_t i = cellOf(row);
            if (i >= line.size())
                break;
            reinterpret_cast<QRgb*>(image.scanLine(row))[col] = line[i] == matrixValue ? white : black;
        }
    }
    return image;
}
