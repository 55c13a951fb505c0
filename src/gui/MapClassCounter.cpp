#include "gui/MapClassCounter.h"

#include "gui/EngineMessages.h"

#include <QFile>
#include <QThread>

#include <cmath>

MapClasses countMapClasses(const QString& path, int band, const std::function<bool(double)>& keepGoing)
{
    MapClasses out;
    out.path = path;
    out.band = band;
    const std::string file = QFile::encodeName(path).toStdString();
    orvalis::LandCoverMap map;
    std::string why;
    if (!map.open(file, band, &why)) {
        out.error = engineMessage(why);
        out.bandCount = orvalis::rasterBandCount(file);
        return out;
    }
    out.bandCount = map.bandCount();
    out.width = map.width();
    out.height = map.height();
    out.ok = map.classCounts(out.counts, MapClassCounter::MaxClasses, keepGoing, &why);
    if (!out.ok)
        out.error = engineMessage(why);
    return out;
}

MapClassCounter::MapClassCounter(QObject* parent) : QObject(parent) {}

MapClassCounter::~MapClassCounter()
{
    stop();
    // The threads call back into this object until they end; the ended ones are not left to an
    // event loop that may not run again.
    for (const QPointer<QThread>& thread : threads_)
        if (thread) {
            thread->wait();
            delete thread.data();
        }
}

void MapClassCounter::start(const QString& path, int band)
{
    stop();
    busy_ = true;
    const quint64 job = ++job_;
    auto stopFlag = std::make_shared<std::atomic<bool>>(false);
    stopFlag_ = stopFlag;
    QThread* thread = QThread::create([this, path, band, job, stopFlag] {
        int shown = -1;
        const MapClasses result = countMapClasses(path, band, [&](double fraction) {
            const int percent = static_cast<int>(std::floor(fraction * 100.0));
            if (percent != shown) {
                shown = percent;
                QMetaObject::invokeMethod(
                    this, [this, job, percent] {
                        if (job == job_)
                            emit progressed(percent);
                    },
                    Qt::QueuedConnection);
            }
            return !stopFlag->load(std::memory_order_relaxed);
        });
        QMetaObject::invokeMethod(
            this, [this, job, result] {
                if (job != job_)
                    return;
                busy_ = false;
                emit counted(result);
            },
            Qt::QueuedConnection);
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    threads_.removeAll(QPointer<QThread>());
    threads_.append(thread);
    thread->start();
}

void MapClassCounter::stop()
{
    if (stopFlag_)
        stopFlag_->store(true, std::memory_order_relaxed);
    stopFlag_.reset();
    ++job_;
    busy_ = false;
}
