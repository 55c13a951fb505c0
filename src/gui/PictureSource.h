#pragma once

#include <QPainter>
#include <QSize>

// A view that File → Export Picture can draw: as shown on screen, or at full resolution
// (one pixel per cell for a grid, the map's overview for a map).
class PictureSource {
public:
    virtual ~PictureSource() = default;
    // The size of the picture in pixels; empty when there is nothing to draw.
    virtual QSize pictureSize(bool fullResolution) const = 0;
    // Paints the picture into a device of pictureSize(fullResolution): an image or an SVG generator.
    virtual void paintPicture(QPainter& painter, bool fullResolution) const = 0;
};
