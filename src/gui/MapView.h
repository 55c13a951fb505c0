#pragma once

#include "core/map/GeoTransform.h"
#include "core/map/MapOverview.h"
#include "gui/PictureSource.h"

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <optional>

namespace orvalis {
class RunControl;
}

// A window of a sampling run, placed on the map.
struct MapWindowMark {
    QString path;   // the window's file, relative names taken from the log's folder
    double cover = 0;
    int x = 0;      // the log's centre column and row
    int y = 0;
    qint64 row = 0;  // the centre's row counted from the north, as drawn
    std::optional<double> mapX;
    std::optional<double> mapY;
    QRectF cells;   // the cells it covers, north-up, in map cells from the north-west corner
};

// A field site, in the map's coordinates.
struct MapSiteMark {
    QString id;
    double x = 0;
    double y = 0;
};

// Sites measured on a map, each drawn as a point with the outline of its largest buffer.
struct MapSites {
    QString mapPath;
    orvalis::GeoTransform frame{0, 1, 0, 0, 0, -1};  // the map's, unrotated
    double radius = 0;                                // map units
    bool square = false;
    QList<MapSiteMark> sites;

    // Where a point in map coordinates lies in map cells from the north-west corner.
    QPointF cellOf(double x, double y) const { return {(x - frame[0]) / frame[1], (y - frame[3]) / frame[5]}; }
    // The buffer's bounding box about a site, in map cells.
    QRectF bufferCells(const MapSiteMark& site) const;
};

// The values a real-valued map spans, its ramp's ends.
struct ValueRange {
    double low = 0;
    double high = 0;
};

// One class of a map's legend: its colour and name, and its share of the cells drawn.
struct MapClassEntry {
    qint64 value = 0;
    QRgb colour = 0;
    QString name;  // the map's own name for it, NLCD's, or empty
    double percent = 0;
};

// What the view draws: the map's overview as a picture and the log's windows over it.
struct MapScene {
    QString mapPath;
    QString logPath;
    int band = 1;  // the map's band drawn, from 1
    orvalis::MapOverview overview;
    QImage picture;  // one pixel per overview pixel
    // A real-valued map's range, drawn on the value ramp; unset for classes, or when no cell has data.
    std::optional<ValueRange> values;
    // The classes drawn, largest first, for the legend; empty for a real-valued map.
    QList<MapClassEntry> classes;
    QList<MapWindowMark> windows;
    QString error;         // the map could not be read
    bool stopped = false;  // the user stopped the read: no error to report
    QStringList problems;  // the log's bad lines, a window side that could not be learnt
};

// Reads the map's overview and the log's windows (the side from the first window file that
// reads); slow on a large map, so the view calls it off the window's thread.
// control, when given, hears the read's progress and can stop it.
MapScene loadMapScene(const QString& mapPath, const QString& logPath, int maxSide, int band = 1,
                      orvalis::RunControl* control = nullptr);

// How much wider than high a cell of the map is on the ground: 1 for a TGA or square cells, the
// cosine of the latitude at the map's centre for square cells in degrees.
double groundAspect(const orvalis::MapOverview& overview);

// The colour window outlines take on this map: of a few strong colours, the one farthest from
// every class that covers a noticeable share of it.
QColor outlineColour(const QList<MapClassEntry>& classes);

// The colour of a cover level on the outlines' ramp (viridis: sequential, colour-blind safe).
QColor coverColour(double cover);
// A real-valued map's cell on the same ramp, low to high; transparent for NaN.
QRgb valueColour(float value, const ValueRange& range);

// A map drawn north-up with cells of their true shape, letterboxed: classes in their colours with
// a legend, a real-valued map on a value ramp. The windows of a sampling run are outlined over it
// in a colour that stands out from the map's, measured sites marked with their largest buffer; the
// cell under the pointer is read out with its map coordinates, and a projected map gets a scale
// bar. The wheel zooms, dragging pans, 0 fits; hovering names a window or a site and clicking a
// window emits its file. A read under way can be stopped.
class MapView : public QWidget, public PictureSource {
    Q_OBJECT

public:
    static constexpr int OverviewSide = 2048;

    explicit MapView(QWidget* parent = nullptr);
    ~MapView() override;

    // Reads the map's band (and the log, when given) on a thread of its own; loaded() follows.
    // A map of several bands, such as a surface of several metrics, gets a choice of its bands.
    void showMap(const QString& mapPath, const QString& logPath = {}, int band = 1);
    class QComboBox* bandChoice() const { return bandChoice_; }
    bool loading() const { return loading_; }
    // Stops the read under way; the view then says it was stopped.
    void stopLoading();
    // What the view says of the map cell under a widget point: its row and column, value and
    // map coordinates; empty off the map.
    QString pointerText(QPointF at) const;
    // Length in pixels and label of the scale bar for this many pixels at most, at pixelsPerCell
    // (0: as shown); none for a map without a projected frame.
    std::optional<std::pair<double, QString>> scaleBar(double maxPixels, double pixelsPerCell = 0) const;
    // Widget pixels per map cell across and down.
    QSizeF cellPixels() const { return {scale_ * aspect_, scale_}; }
    const MapScene& scene() const { return scene_; }

    // Draws sites over the map they were measured on; a map shown later without them clears them.
    void setSites(const MapSites& sites);
    const MapSites& sites() const { return sites_; }
    // The site drawn nearest a widget point, within a few pixels (-1: none).
    int siteAt(QPointF at) const;
    int hoveredSite() const { return hovered_; }

    // Marks the window drawn with a stronger outline (-1: none).
    void setSelectedWindow(int index);
    int selectedWindow() const { return selected_; }

    void fit();
    void zoomBy(double factor, QPointF at);
    void panBy(QPointF offset);
    // Where a point in map cells is in the widget, and the window under a widget point (-1: none).
    QPointF widgetPoint(QPointF cell) const;
    int windowAt(QPointF at) const;

    QSize pictureSize(bool fullResolution) const override;
    void paintPicture(QPainter& painter, bool fullResolution) const override;

signals:
    void loaded();
    void windowClicked(const QString& path);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void take(MapScene scene);
    void placeBandChoice();
    // scaled: the picture already at the device's scale, drawn unscaled at the map's corner.
    void paintScene(QPainter& painter, const QTransform& cellsToDevice, const QRectF& area,
                    const QImage* scaled = nullptr) const;
    void paintSites(QPainter& painter, const QTransform& cellsToDevice, const QRectF& area) const;
    // Each legend stands on the one before it, from the area's bottom-left corner; its top goes back.
    double paintWindowsLegend(QPainter& painter, const QRectF& area, double bottom) const;
    // In the area's top-right corner, below top.
    void paintClassLegend(QPainter& painter, const QRectF& area, double top) const;
    void paintScaleBar(QPainter& painter, const QRectF& area, double pixelsPerCell) const;
    void paintPointer(QPainter& painter) const;
    double paintValueLegend(QPainter& painter, const QRectF& area, double bottom) const;
    double paintSitesLegend(QPainter& painter, const QRectF& area, double bottom) const;
    // A white box of the legend's size above bottom, its title drawn; the bar's place goes back.
    QRectF legendBox(QPainter& painter, const QRectF& area, double bottom, const QString& title) const;
    QTransform cellsToWidget() const;

    MapScene scene_;
    QImage scaled_;  // the picture at the scale last painted, while it stays small
    bool loading_ = false;
    quint64 job_ = 0;
    std::shared_ptr<orvalis::RunControl> control_;  // of the read under way
    class QPushButton* stop_ = nullptr;
    int percent_ = 0;  // of the read under way
    QColor outline_;
    double aspect_ = 1;  // cell width over height on screen
    std::optional<QPointF> pointer_;
    QList<class QThread*> threads_;
    int selected_ = -1;
    MapSites sites_;
    class QComboBox* bandChoice_ = nullptr;
    int hovered_ = -1;
    double scale_ = 1;        // widget pixels per map cell
    QPointF origin_;          // widget point of the map's north-west corner
    bool fitted_ = true;      // follows the widget's size until the user zooms or pans
    QPointF pressedAt_;
    QPointF dragFrom_;
    bool dragging_ = false;
};
