#pragma once

#include "core/map/LandCoverMap.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

// What a class chooser learns of a map: its size, its bands and the classes of one band.
struct MapClasses {
    QString path;
    int band = 1;
    bool ok = false;
    QString error;      // why the map cannot be used, when not ok
    int bandCount = 0;  // 0 when GDAL opens nothing there
    qint64 width = 0;
    qint64 height = 0;
    orvalis::ClassCounts counts;
};

// Reads one band of a map and counts its classes.
MapClasses countMapClasses(const QString& path, int band, const std::function<bool(double fraction)>& keepGoing);

// Counts a map's classes on a thread of its own, so that a large map never freezes the window.
// Starting another count, stop() or the counter's end stop the one under way, whose result
// is then dropped.
class MapClassCounter : public QObject {
    Q_OBJECT

public:
    // More distinct values than this is no classification a person picks classes from.
    static constexpr std::size_t MaxClasses = 1000;

    explicit MapClassCounter(QObject* parent = nullptr);
    ~MapClassCounter() override;

    void start(const QString& path, int band);
    void stop();
    bool busy() const { return busy_; }

signals:
    void progressed(int percent);
    void counted(const MapClasses& map);

private:
    QList<QPointer<QThread>> threads_;
    std::shared_ptr<std::atomic<bool>> stopFlag_;
    quint64 job_ = 0;
    bool busy_ = false;
};
