#pragma once

#include "core/map/MapOverview.h"
#include "gui/PictureSource.h"

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>

// A window of a sampling run, placed on the map.
struct MapWindowMark {
    QString path;   // the window's file, relative names taken from the log's folder
    double cover = 0;
    int x = 0;      // the log's centre column and row
    int y = 0;
    std::optional<double> mapX;
    std::optional<double> mapY;
    QRectF cells;   // the cells it covers, north-up, in map cells from the north-west corner
};

// What the view draws: the map's overview as a picture and the log's windows over it.
struct MapScene {
    QString mapPath;
    QString logPath;
    orvalis::MapOverview overview;
    QImage picture;  // one pixel per overview pixel
    QList<MapWindowMark> windows;
    QString error;         // the map could not be read
    QStringList problems;  // the log's bad lines, a window side that could not be learnt
};

// Reads the map's overview and the log's windows (the side from the first window file that
// reads); slow on a large map, so the view calls it off the window's thread.
MapScene loadMapScene(const QString& mapPath, const QString& logPath, int maxSide);

// The colour of a cover level on the outlines' ramp (viridis: sequential, colour-blind safe).
QColor coverColour(double cover);

// A map drawn north-up with square cells, letterboxed, the windows of a sampling run outlined
// over it in the colour of their cover. The wheel zooms, dragging pans, 0 fits; hovering names
// a window and clicking it emits its file.
class MapView : public QWidget, public PictureSource {
    Q_OBJECT

public:
    static constexpr int OverviewSide = 2048;

    explicit MapView(QWidget* parent = nullptr);
    ~MapView() override;

    // Reads the map (and the log, when given) on a thread of its own; loaded() follows.
    void showMap(const QString& mapPath, const QString& logPath = {});
    bool loading() const { return loading_; }
    const MapScene& scene() const { return scene_; }

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
    void keyPressEvent(QKeyEvent* event) override;

private:
    void take(MapScene scene);
    // scaled: the picture already at the device's scale, drawn unscaled at the map's corner.
    void paintScene(QPainter& painter, const QTransform& cellsToDevice, const QRectF& area,
                    const QImage* scaled = nullptr) const;
    void paintLegend(QPainter& painter, const QRectF& area) const;
    QTransform cellsToWidget() const;

    MapScene scene_;
    QImage scaled_;  // the picture at the scale last painted, while it stays small
    bool loading_ = false;
    quint64 job_ = 0;
    QList<class QThread*> threads_;
    int selected_ = -1;
    double scale_ = 1;        // widget pixels per map cell
    QPointF origin_;          // widget point of the map's north-west corner
    bool fitted_ = true;      // follows the widget's size until the user zooms or pans
    QPointF pressedAt_;
    QPointF dragFrom_;
    bool dragging_ = false;
};
