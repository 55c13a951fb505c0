#include "gui/MapView.h"

#include "core/run/RunControl.h"
#include "core/sampler/SampleLog.h"
#include "gui/EngineMessages.h"
#include "gui/Texts.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLocale>
#include <QPushButton>
#include <QFile>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QThread>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <unordered_map>

namespace {

std::string local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString fromLocal(const std::string& text)
{
    return QFile::decodeName(QByteArray::fromStdString(text));
}

// The ends of a real-valued overview's finite values; none when every cell is NaN.
std::optional<ValueRange> rangeOf(const std::vector<float>& reals)
{
    std::optional<ValueRange> range;
    for (float v : reals)
        if (std::isfinite(v)) {
            if (!range)
                range = ValueRange{v, v};
            range->low = std::min<double>(range->low, v);
            range->high = std::max<double>(range->high, v);
        }
    return range;
}

QImage valuePicture(const orvalis::MapOverview& o, const std::optional<ValueRange>& range)
{
    QImage image(o.width, o.height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    if (!range)
        return image;
    for (int r = 0; r < o.height; ++r) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(r));
        const float* values = o.reals.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(o.width);
        for (int c = 0; c < o.width; ++c)
            line[c] = valueColour(values[c], *range);
    }
    return image;
}

// Okabe and Ito's eight colours, then Tol's muted scheme, as the Grid tab draws classes.
constexpr QRgb Palette[] = {0xffe69f00, 0xff56b4e9, 0xff009e73, 0xfff0e442, 0xff0072b2, 0xffd55e00,
                            0xffcc79a7, 0xff000000, 0xff332288, 0xffddcc77, 0xff117733, 0xff882255,
                            0xff44aa99, 0xff999933, 0xffaa4499, 0xff88ccee, 0xffcc6677};

// The map's classes drawn: the map's own colours, else a palette of told-apart colours when it
// has few classes, else greys from light to dark in the order of the values. The legend's
// entries go to classes, largest first.
QImage pictureOf(const orvalis::MapOverview& o, QList<MapClassEntry>& classes)
{
    std::unordered_map<std::int32_t, qint64> counts;
    qint64 drawn = 0;
    for (std::int32_t v : o.values)
        if (v != o.noData) {
            ++counts[v];
            ++drawn;
        }
    std::vector<std::int32_t> values;
    values.reserve(counts.size());
    for (const auto& entry : counts)
        values.push_back(entry.first);
    std::sort(values.begin(), values.end());
    const bool palette = values.size() <= std::size(Palette);
    std::unordered_map<std::int32_t, QRgb> colourOf;
    const double low = values.empty() ? 0 : values.front(), high = values.empty() ? 0 : values.back();
    const double span = high > low ? high - low : 1.0;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const std::int32_t v = values[k];
        QRgb colour;
        if (v >= 0 && static_cast<std::size_t>(v) < o.colours.size()) {
            colour = o.colours[static_cast<std::size_t>(v)];
        } else if (o.colours.empty() && palette) {
            colour = Palette[k];
        } else {
            const int g = 235 - static_cast<int>(std::lround((static_cast<double>(v) - low) / span * 180.0));
            colour = qRgb(g, g, g);
        }
        colourOf[v] = colour;
        MapClassEntry entry;
        entry.value = v;
        entry.colour = colour;
        if (v >= 0 && static_cast<std::size_t>(v) < o.categories.size())
            entry.name = fromLocal(o.categories[static_cast<std::size_t>(v)]);
        entry.percent = drawn ? 100.0 * static_cast<double>(counts[v]) / static_cast<double>(drawn) : 0;
        classes.append(entry);
    }
    std::stable_sort(classes.begin(), classes.end(),
                     [](const MapClassEntry& a, const MapClassEntry& b) { return a.percent > b.percent; });
    QImage image(o.width, o.height, QImage::Format_ARGB32);
    for (int r = 0; r < o.height; ++r) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(r));
        std::int32_t last = 0;
        QRgb lastColour = qRgba(0, 0, 0, 0);
        bool known = false;
        for (int c = 0; c < o.width; ++c) {
            const std::int32_t v = o.at(c, r);
            // Runs of one class are the rule: one lookup a run.
            if (!known || v != last) {
                last = v;
                known = true;
                lastColour = o.noData && v == *o.noData ? qRgba(0, 0, 0, 0) : colourOf[v];
            }
            line[c] = lastColour;
        }
    }
    return image;
}

QString distanceText(double metres)
{
    if (metres >= 1000)
        return QStringLiteral("%1 km").arg(QLocale().toString(metres / 1000, 'g', 6));
    return QStringLiteral("%1 m").arg(QLocale().toString(metres, 'g', 6));
}

}  // namespace

MapScene loadMapScene(const QString& mapPath, const QString& logPath, int maxSide, int band, orvalis::RunControl* control)
{
    MapScene scene;
    scene.mapPath = mapPath;
    scene.logPath = logPath;
    scene.band = band;
    std::string why;
    if (!orvalis::readMapOverview(local(mapPath), maxSide, scene.overview, &why, band, 0, control)) {
        scene.stopped = control && control->isCanceled();
        scene.error = scene.stopped ? MapView::tr("Reading the map was stopped.") : texts::mapNotRead(mapPath, engineMessage(why));
        return scene;
    }
    if (scene.overview.real) {
        scene.values = rangeOf(scene.overview.reals);
        scene.picture = valuePicture(scene.overview, scene.values);
    } else {
        scene.picture = pictureOf(scene.overview, scene.classes);
        if (scene.overview.tga)
            for (MapClassEntry& c : scene.classes)
                c.name = c.value == 1 ? MapView::tr("habitat (dark pixels)") : MapView::tr("matrix (light pixels)");
    }
    if (logPath.isEmpty())
        return scene;
    const orvalis::SampleLog log = orvalis::readSampleLog(local(logPath));
    if (!log.ok) {
        scene.problems << engineMessage(log.error);
        return scene;
    }
    for (const std::string& bad : log.badLines)
        scene.problems << engineMessage(bad);
    // Every window of a run has the same side: the first file that reads tells it.
    std::optional<int> side;
    std::string sideWhy;
    for (const orvalis::SampleLogEntry& e : log.windows) {
        if ((side = orvalis::windowFileSide(orvalis::loggedFilePath(local(logPath), e.name), &sideWhy)))
            break;
    }
    if (!side && !log.windows.empty())
        scene.problems << texts::windowSideUnknown(engineMessage(sideWhy));
    for (const orvalis::SampleLogEntry& e : log.windows) {
        MapWindowMark mark;
        mark.path = fromLocal(orvalis::loggedFilePath(local(logPath), e.name));
        mark.cover = e.cover;
        mark.x = e.x;
        mark.y = e.y;
        mark.mapX = e.mapX;
        mark.mapY = e.mapY;
        const orvalis::LoggedWindow w =
            orvalis::loggedWindow(e.x, e.y, side.value_or(0), scene.overview.mapHeight, scene.overview.firstRowSouth);
        mark.row = w.centre.row;
        mark.cells = QRectF(static_cast<double>(w.northWest.column), static_cast<double>(w.northWest.row), w.side, w.side);
        // Without a side the centre is still marked.
        if (!side)
            mark.cells = QRectF(static_cast<double>(w.centre.column), static_cast<double>(w.centre.row), 1, 1);
        scene.windows.append(mark);
    }
    return scene;
}

QColor coverColour(double cover)
{
    static constexpr QRgb Stops[] = {0x440154, 0x3b528b, 0x21918c, 0x5ec962, 0xfde725};
    const double t = std::clamp(cover, 0.0, 1.0) * 4.0;
    const int k = std::min(3, static_cast<int>(t));
    const double f = t - k;
    const QColor a(Stops[k]), b(Stops[k + 1]);
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * f),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * f),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * f));
}

QRgb valueColour(float value, const ValueRange& range)
{
    // The ramp looked up rather than blended per cell: an overview has millions of them.
    static const std::vector<QRgb> ramp = [] {
        std::vector<QRgb> colours(1024);
        for (std::size_t k = 0; k < colours.size(); ++k)
            colours[k] = coverColour(static_cast<double>(k) / static_cast<double>(colours.size() - 1)).rgb();
        return colours;
    }();
    if (std::isnan(value))
        return qRgba(0, 0, 0, 0);
    const double span = range.high - range.low;
    const double t = span > 0 ? (static_cast<double>(value) - range.low) / span : 0.0;
    return ramp[static_cast<std::size_t>(std::lround(std::clamp(t, 0.0, 1.0) * static_cast<double>(ramp.size() - 1)))];
}

double groundAspect(const orvalis::MapOverview& o)
{
    if (!o.frame)
        return 1;
    const orvalis::GeoTransform& t = *o.frame;
    if (!orvalis::unrotated(t) || t[1] == 0 || t[5] == 0)
        return 1;
    double aspect = std::fabs(t[1] / t[5]);
    if (o.geographic) {
        // A degree of longitude shrinks with the cosine of the latitude.
        const double latitude = t[3] + t[5] * static_cast<double>(o.mapHeight) / 2;
        aspect *= std::max(0.01, std::cos(std::clamp(latitude, -90.0, 90.0) * M_PI / 180));
    }
    return std::clamp(aspect, 0.01, 100.0);
}

QColor outlineColour(const QList<MapClassEntry>& classes)
{
    static constexpr QRgb Candidates[] = {0xffff00ff, 0xff00ffff, 0xffffff00, 0xffff2a2a, 0xffff8c00};
    // Red-mean weighted distance: close to how far apart people see two colours, and cheap.
    const auto distance = [](QRgb a, QRgb b) {
        const double rm = (qRed(a) + qRed(b)) / 2.0;
        const double dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
        return std::sqrt((2 + rm / 256) * dr * dr + 4 * dg * dg + (2 + (255 - rm) / 256) * db * db);
    };
    QRgb best = Candidates[0];
    double bestScore = -1;
    for (QRgb candidate : Candidates) {
        double score = std::numeric_limits<double>::max();
        for (const MapClassEntry& c : classes)
            if (c.percent >= 1 && qAlpha(c.colour) > 0)
                score = std::min(score, distance(candidate, c.colour));
        if (score > bestScore) {
            bestScore = score;
            best = candidate;
        }
    }
    return QColor::fromRgb(best);
}

QRectF MapSites::bufferCells(const MapSiteMark& site) const
{
    const QPointF centre = cellOf(site.x, site.y);
    const double rx = radius / std::fabs(frame[1]), ry = radius / std::fabs(frame[5]);
    return {centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry};
}

MapView::MapView(QWidget* parent) : QWidget(parent)
{
    bandChoice_ = new QComboBox(this);
    bandChoice_->setObjectName(QStringLiteral("mapBand"));
    bandChoice_->setToolTip(texts::mapBandChoice());
    bandChoice_->hide();
    connect(bandChoice_, &QComboBox::activated, this, [this](int index) {
        if (index + 1 != scene_.band)
            showMap(scene_.mapPath, scene_.logPath, index + 1);
    });
    stop_ = new QPushButton(tr("Stop reading"), this);
    stop_->setObjectName(QStringLiteral("mapStopReading"));
    stop_->hide();
    connect(stop_, &QPushButton::clicked, this, &MapView::stopLoading);
    setMouseTracking(true);
    setFocusPolicy(Qt::WheelFocus);
    setMinimumSize(200, 150);
}

MapView::~MapView()
{
    // A read under way stops at its next piece; its result has nowhere to go.
    ++job_;
    if (control_)
        control_->cancel();
    for (QThread* thread : std::as_const(threads_)) {
        thread->wait();
        delete thread;
    }
}

void MapView::showMap(const QString& mapPath, const QString& logPath, int band)
{
    const quint64 job = ++job_;
    if (control_)
        control_->cancel();
    loading_ = true;
    percent_ = 0;
    auto result = std::make_shared<MapScene>();
    QPointer<MapView> self(this);
    // Told from the reading thread; the percentage crosses to this one only when it changes.
    auto lastPercent = std::make_shared<std::atomic<int>>(0);
    control_ = std::make_shared<orvalis::RunControl>([self, job, lastPercent](const orvalis::ProgressEvent& e) {
        const int percent = e.total > 0 ? static_cast<int>(100 * e.done / e.total) : 0;
        if (lastPercent->exchange(percent) != percent)
            QMetaObject::invokeMethod(QCoreApplication::instance(), [self, job, percent] {
                if (self && self->job_ == job) {
                    self->percent_ = percent;
                    self->update();
                }
            }, Qt::QueuedConnection);
        return true;
    });
    stop_->show();
    placeBandChoice();
    QThread* thread = QThread::create([result, mapPath, logPath, band, control = control_] {
        *result = loadMapScene(mapPath, logPath, OverviewSide, band, control.get());
    });
    threads_.append(thread);
    connect(thread, &QThread::finished, this, [this, thread, result, job] {
        threads_.removeOne(thread);
        thread->deleteLater();
        if (job == job_)
            take(std::move(*result));
    });
    thread->start();
    update();
}

void MapView::take(MapScene scene)
{
    // Another band of the map on view keeps the zoom and place the user chose.
    const bool sameMap = !fitted_ && scene.error.isEmpty() && scene.mapPath == scene_.mapPath &&
                         scene.overview.mapWidth == scene_.overview.mapWidth &&
                         scene.overview.mapHeight == scene_.overview.mapHeight;
    scene_ = std::move(scene);
    scaled_ = QImage();
    loading_ = false;
    control_.reset();
    stop_->hide();
    selected_ = -1;
    aspect_ = groundAspect(scene_.overview);
    outline_ = outlineColour(scene_.classes);
    if (scene_.values) {
        // A value ramp: the outline stays apart from the ramp's colours.
        QList<MapClassEntry> ramp;
        for (int k = 0; k <= 8; ++k)
            ramp.append({k, coverColour(k / 8.0).rgb(), {}, 100});
        outline_ = outlineColour(ramp);
    }
    // Sites stay only over the map they were measured on.
    if (!sites_.mapPath.isEmpty() && QFileInfo(sites_.mapPath) != QFileInfo(scene_.mapPath))
        setSites({});
    const std::vector<std::string>& bands = scene_.overview.bandNames;
    {
        const QSignalBlocker quiet(bandChoice_);
        bandChoice_->clear();
        for (std::size_t b = 0; b < bands.size(); ++b)
            bandChoice_->addItem(texts::mapBandName(static_cast<int>(b) + 1, fromLocal(bands[b])));
        bandChoice_->setCurrentIndex(scene_.band - 1);
    }
    bandChoice_->setVisible(bands.size() > 1);
    placeBandChoice();
    if (sameMap)
        update();
    else
        fit();
    emit loaded();
}

void MapView::stopLoading()
{
    if (control_)
        control_->cancel();
}

void MapView::setSites(const MapSites& sites)
{
    sites_ = sites;
    hovered_ = -1;
    update();
}

int MapView::siteAt(QPointF at) const
{
    const QTransform toWidget = cellsToWidget();
    int found = -1;
    double nearest = 8 * 8;
    for (int k = 0; k < sites_.sites.size(); ++k) {
        const QPointF d = toWidget.map(sites_.cellOf(sites_.sites[k].x, sites_.sites[k].y)) - at;
        const double distance = QPointF::dotProduct(d, d);
        if (distance <= nearest) {
            nearest = distance;
            found = k;
        }
    }
    return found;
}

void MapView::setSelectedWindow(int index)
{
    selected_ = index;
    update();
}

void MapView::fit()
{
    fitted_ = true;
    const double w = static_cast<double>(scene_.overview.mapWidth), h = static_cast<double>(scene_.overview.mapHeight);
    if (w <= 0 || h <= 0) {
        update();
        return;
    }
    // A view not laid out yet still gets a scale the transforms can invert.
    scale_ = std::max(1e-9, std::min(width() / (w * aspect_), height() / h));
    origin_ = QPointF((width() - w * aspect_ * scale_) / 2, (height() - h * scale_) / 2);
    update();
}

void MapView::zoomBy(double factor, QPointF at)
{
    if (scene_.overview.mapWidth <= 0)
        return;
    // Between the whole map in a corner of the view and one cell filling it.
    const double fitScale = std::min(width() / (static_cast<double>(scene_.overview.mapWidth) * aspect_),
                                     height() / static_cast<double>(scene_.overview.mapHeight));
    const double next = std::clamp(scale_ * factor, fitScale / 4, std::max(fitScale, double(std::max(width(), height()))));
    origin_ = at - (at - origin_) * (next / scale_);
    scale_ = next;
    fitted_ = false;
    update();
}

void MapView::panBy(QPointF offset)
{
    origin_ += offset;
    fitted_ = false;
    update();
}

QTransform MapView::cellsToWidget() const
{
    return QTransform(scale_ * aspect_, 0, 0, scale_, origin_.x(), origin_.y());
}

QPointF MapView::widgetPoint(QPointF cell) const
{
    return cellsToWidget().map(cell);
}

int MapView::windowAt(QPointF at) const
{
    const QPointF cell = cellsToWidget().inverted().map(at);
    // Small windows keep a few pixels to aim at; the smallest under the pointer wins.
    const double slackX = 3 / (scale_ * aspect_), slackY = 3 / scale_;
    int found = -1;
    for (int k = 0; k < scene_.windows.size(); ++k) {
        const QRectF r = scene_.windows[k].cells.adjusted(-slackX, -slackY, slackX, slackY);
        if (r.contains(cell) && (found < 0 || scene_.windows[k].cells.width() <= scene_.windows[found].cells.width()))
            found = k;
    }
    return found;
}

QSize MapView::pictureSize(bool fullResolution) const
{
    if (scene_.picture.isNull())
        return {};
    return fullResolution ? scene_.picture.size() : size();
}

void MapView::paintPicture(QPainter& painter, bool fullResolution) const
{
    if (scene_.picture.isNull())
        return;
    if (!fullResolution) {
        painter.fillRect(QRect(QPoint(0, 0), size()), palette().window());
        paintScene(painter, cellsToWidget(), QRectF(QPointF(0, 0), size()));
        return;
    }
    const QTransform toPixels = QTransform::fromScale(1 / scene_.overview.cellsPerPixelX(), 1 / scene_.overview.cellsPerPixelY());
    paintScene(painter, toPixels, QRectF(QPointF(0, 0), scene_.picture.size()));
}

void MapView::paintScene(QPainter& painter, const QTransform& cellsToDevice, const QRectF& area, const QImage* scaled) const
{
    const QRectF mapCells(0, 0, static_cast<double>(scene_.overview.mapWidth), static_cast<double>(scene_.overview.mapHeight));
    if (scaled) {
        painter.drawImage(cellsToDevice.map(QPointF(0, 0)).toPoint(), *scaled);
    } else {
        painter.save();
        painter.setTransform(cellsToDevice, true);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(mapCells, scene_.picture);
        painter.restore();
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int k = 0; k < scene_.windows.size(); ++k) {
        QRectF r = cellsToDevice.mapRect(scene_.windows[k].cells);
        // A window a pixel wide on a large map stays a visible square.
        if (r.width() < 5)
            r = QRectF(r.center() - QPointF(2.5, 2.5), QSizeF(5, 5));
        if (!r.intersects(area))
            continue;
        const bool chosen = k == selected_;
        // The outline's own colour on a halo of the opposite lightness reads on any class colours.
        const QColor halo = qGray(outline_.rgb()) > 100 ? QColor(0, 0, 0, 200) : QColor(255, 255, 255, 220);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(halo, chosen ? 7 : 4.5));
        painter.drawRect(r);
        painter.setPen(QPen(outline_, chosen ? 4 : 2));
        painter.drawRect(r);
    }
    painter.restore();
    paintSites(painter, cellsToDevice, area);
    double bottom = area.bottom() - 8;
    if (!sites_.sites.isEmpty())
        bottom = paintSitesLegend(painter, area, bottom) - 6;
    if (!scene_.windows.isEmpty())
        bottom = paintWindowsLegend(painter, area, bottom) - 6;
    if (scene_.values)
        bottom = paintValueLegend(painter, area, bottom) - 6;
    if (!scene_.classes.isEmpty())
        paintClassLegend(painter, area, area.top() + 8 + (bandChoice_->isVisible() ? bandChoice_->height() + 6 : 0));
    paintScaleBar(painter, area, cellsToDevice.m22());
}

void MapView::paintSites(QPainter& painter, const QTransform& cellsToDevice, const QRectF& area) const
{
    if (sites_.sites.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(font());
    const QFontMetricsF metrics(font());
    // Black on a white halo reads on any class colours and on the whole ramp.
    const auto outline = [&](const QRectF& r, bool strong) {
        painter.setBrush(Qt::NoBrush);
        for (const auto& [colour, width] : {std::pair{QColor(Qt::white), strong ? 6.0 : 4.0},
                                            std::pair{QColor(Qt::black), strong ? 3.0 : 1.6}}) {
            painter.setPen(QPen(colour, width));
            if (sites_.square)
                painter.drawRect(r);
            else
                painter.drawEllipse(r);
        }
    };
    for (int k = 0; k < sites_.sites.size(); ++k) {
        const QRectF buffer = cellsToDevice.mapRect(sites_.bufferCells(sites_.sites[k]));
        if (buffer.intersects(area))
            outline(buffer, k == hovered_);
    }
    for (int k = 0; k < sites_.sites.size(); ++k) {
        const MapSiteMark& site = sites_.sites[k];
        const QPointF at = cellsToDevice.map(sites_.cellOf(site.x, site.y));
        const double r = k == hovered_ ? 5.5 : 4;
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(Qt::black);
        painter.drawEllipse(at, r, r);
        if (k != hovered_)
            continue;
        const QRectF label(at + QPointF(r + 4, -metrics.height() - 2), metrics.size(0, site.id) + QSizeF(8, 2));
        painter.setPen(QColor(0, 0, 0, 120));
        painter.setBrush(QColor(255, 255, 255, 235));
        painter.drawRoundedRect(label, 3, 3);
        painter.setPen(Qt::black);
        painter.drawText(label, Qt::AlignCenter, site.id);
    }
    painter.restore();
}

double MapView::paintSitesLegend(QPainter& painter, const QRectF& area, double bottom) const
{
    const QFontMetrics metrics(font());
    const int pad = 6, swatch = 14;
    const QString text = texts::mapSitesLegend(static_cast<int>(sites_.sites.size()), sites_.radius);
    const QRectF box(area.left() + 8, bottom - metrics.height() - 2 * pad, swatch + metrics.horizontalAdvance(text) + 3 * pad,
                     metrics.height() + 2 * pad);
    painter.save();
    painter.setPen(QColor(0, 0, 0, 90));
    painter.setBrush(QColor(255, 255, 255, 225));
    painter.drawRect(box);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF mark(box.left() + pad, box.center().y() - swatch / 2.0, swatch, swatch);
    painter.setPen(QPen(Qt::black, 1.6));
    painter.setBrush(Qt::NoBrush);
    if (sites_.square)
        painter.drawRect(mark);
    else
        painter.drawEllipse(mark);
    painter.setBrush(Qt::black);
    painter.drawEllipse(mark.center(), 2.5, 2.5);
    painter.setFont(font());
    painter.drawText(QRectF(mark.right() + pad, box.top(), box.right() - mark.right() - pad, box.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.restore();
    return box.top();
}

QRectF MapView::legendBox(QPainter& painter, const QRectF& area, double bottom, const QString& title) const
{
    const QFontMetrics metrics(font());
    const int barWidth = 150, barHeight = 10, pad = 6;
    const double height = barHeight + metrics.height() * 2 + 3 * pad;
    const double width = std::max(barWidth, metrics.horizontalAdvance(title)) + 2 * pad;
    const QRectF box(area.left() + 8, bottom - height, width, height);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(0, 0, 0, 90));
    painter.setBrush(QColor(255, 255, 255, 225));
    painter.drawRect(box);
    painter.setPen(Qt::black);
    painter.setFont(font());
    const QRectF titleRect(box.left() + pad, box.top() + pad / 2, width - 2 * pad, metrics.height());
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, title);
    return {box.left() + pad, titleRect.bottom() + pad / 2, static_cast<double>(barWidth), static_cast<double>(barHeight)};
}

namespace {

// The ramp under a legend's title, with three labels under it.
void paintRamp(QPainter& painter, const QRectF& bar, const QFontMetrics& metrics, const std::array<QString, 3>& labels)
{
    QLinearGradient ramp(bar.topLeft(), bar.topRight());
    for (int k = 0; k <= 8; ++k)
        ramp.setColorAt(k / 8.0, coverColour(k / 8.0));
    painter.fillRect(bar, ramp);
    const QRectF under(bar.left(), bar.bottom() + 2, bar.width(), metrics.height());
    painter.drawText(under, Qt::AlignLeft | Qt::AlignVCenter, labels[0]);
    painter.drawText(under, Qt::AlignHCenter | Qt::AlignVCenter, labels[1]);
    painter.drawText(under, Qt::AlignRight | Qt::AlignVCenter, labels[2]);
}

}  // namespace

double MapView::paintWindowsLegend(QPainter& painter, const QRectF& area, double bottom) const
{
    const QFontMetrics metrics(font());
    const int pad = 6, swatch = 14;
    const QString text = scene_.windows.size() == 1 ? tr("1 sampled window")
                                                    : tr("%1 sampled windows").arg(scene_.windows.size());
    const QRectF box(area.left() + 8, bottom - metrics.height() - 2 * pad, swatch + metrics.horizontalAdvance(text) + 3 * pad,
                     metrics.height() + 2 * pad);
    painter.save();
    painter.setPen(QColor(0, 0, 0, 90));
    painter.setBrush(QColor(255, 255, 255, 225));
    painter.drawRect(box);
    const QRectF mark(box.left() + pad, box.center().y() - swatch / 2.0, swatch, swatch);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(qGray(outline_.rgb()) > 100 ? QColor(0, 0, 0, 200) : QColor(255, 255, 255, 220), 4.5));
    painter.drawRect(mark);
    painter.setPen(QPen(outline_, 2));
    painter.drawRect(mark);
    painter.setPen(Qt::black);
    painter.setFont(font());
    painter.drawText(QRectF(mark.right() + pad, box.top(), box.right() - mark.right() - pad, box.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.restore();
    return box.top();
}

void MapView::paintClassLegend(QPainter& painter, const QRectF& area, double top) const
{
    const QFontMetrics metrics(font());
    const int pad = 6, swatch = 12, line = metrics.height() + 1;
    // As many classes as fit in half the view's height; the rest are counted.
    const int room = std::max(2, static_cast<int>((area.height() / 2 - 2 * pad - metrics.height()) / line));
    const qsizetype classes = scene_.classes.size();
    const qsizetype shown = classes > room ? room - 1 : classes;
    QStringList lines;
    for (qsizetype k = 0; k < shown; ++k) {
        const MapClassEntry& c = scene_.classes[k];
        const QString share = QLocale().toString(c.percent, 'f', c.percent < 0.1 ? 2 : 1);
        lines << (c.name.isEmpty() ? tr("%1 (%2%)").arg(c.value).arg(share)
                                   : tr("%1 %2 (%3%)").arg(c.value).arg(c.name, share));
    }
    if (shown < classes)
        lines << tr("… and %1 more").arg(classes - shown);
    const QString title = scene_.overview.nlcd ? tr("NLCD land cover") : tr("Classes");
    int width = metrics.horizontalAdvance(title);
    for (const QString& text : lines)
        width = std::max(width, swatch + pad + metrics.horizontalAdvance(text));
    const double height = 2 * pad + metrics.height() + static_cast<double>(lines.size()) * line;
    const QRectF box(area.right() - 8 - width - 2 * pad, top, width + 2 * pad, height);
    painter.save();
    painter.setPen(QColor(0, 0, 0, 90));
    painter.setBrush(QColor(255, 255, 255, 225));
    painter.drawRect(box);
    painter.setFont(font());
    painter.setPen(Qt::black);
    painter.drawText(QRectF(box.left() + pad, box.top() + pad, width, metrics.height()), Qt::AlignLeft | Qt::AlignVCenter, title);
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const double y = box.top() + pad + metrics.height() + static_cast<double>(k) * line;
        if (k < shown) {
            painter.setPen(QColor(0, 0, 0, 120));
            painter.setBrush(QColor::fromRgba(scene_.classes[k].colour));
            painter.drawRect(QRectF(box.left() + pad, y + (line - swatch) / 2.0, swatch, swatch));
        }
        painter.setPen(Qt::black);
        painter.drawText(QRectF(box.left() + pad + swatch + pad, y, width, line), Qt::AlignLeft | Qt::AlignVCenter, lines[k]);
    }
    painter.restore();
}

std::optional<std::pair<double, QString>> MapView::scaleBar(double maxPixels, double pixelsPerCell) const
{
    const auto& o = scene_.overview;
    const double perCell = pixelsPerCell > 0 ? pixelsPerCell : scale_;
    // A frame without a coordinate system has units nobody knows.
    if (!o.frame || !o.projected || !orvalis::unrotated(*o.frame) || (*o.frame)[5] == 0 || perCell <= 0)
        return std::nullopt;
    const double metresPerPixel = std::fabs((*o.frame)[5]) * o.metresPerUnit / perCell;
    const double most = maxPixels * metresPerPixel;
    // The longest 1, 2 or 5 times a power of ten that fits.
    double length = std::pow(10.0, std::floor(std::log10(most)));
    for (double step : {5.0, 2.0})
        if (length * step <= most) {
            length *= step;
            break;
        }
    return std::pair{length / metresPerPixel, distanceText(length)};
}

void MapView::paintScaleBar(QPainter& painter, const QRectF& area, double pixelsPerCell) const
{
    const auto bar = scaleBar(std::min(160.0, area.width() / 3), pixelsPerCell);
    if (!bar)
        return;
    const QFontMetrics metrics(font());
    const double w = bar->first;
    const QRectF box(area.right() - w - 28, area.bottom() - metrics.height() - 28, w + 20, metrics.height() + 20);
    painter.save();
    painter.setPen(QColor(0, 0, 0, 90));
    painter.setBrush(QColor(255, 255, 255, 225));
    painter.drawRect(box);
    const double y = box.bottom() - 8;
    const double x0 = box.left() + 10;
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(QPointF(x0, y), QPointF(x0 + w, y));
    painter.drawLine(QPointF(x0, y - 5), QPointF(x0, y));
    painter.drawLine(QPointF(x0 + w, y - 5), QPointF(x0 + w, y));
    painter.setFont(font());
    painter.drawText(QRectF(box.left(), box.top() + 2, box.width(), metrics.height()), Qt::AlignCenter, bar->second);
    painter.restore();
}

QString MapView::pointerText(QPointF at) const
{
    const auto& o = scene_.overview;
    if (scene_.picture.isNull() || o.mapWidth <= 0)
        return {};
    const QPointF cell = cellsToWidget().inverted().map(at);
    const double column = std::floor(cell.x()), row = std::floor(cell.y());
    if (column < 0 || row < 0 || column >= static_cast<double>(o.mapWidth) || row >= static_cast<double>(o.mapHeight))
        return {};
    // The value drawn there: the cell's own while the overview keeps every cell.
    const int px = std::min(o.width - 1, static_cast<int>(column / o.cellsPerPixelX()));
    const int py = std::min(o.height - 1, static_cast<int>(row / o.cellsPerPixelY()));
    QString value;
    if (o.real) {
        const float v = o.reals[static_cast<std::size_t>(py) * static_cast<std::size_t>(o.width) + static_cast<std::size_t>(px)];
        value = std::isnan(v) ? tr("no data") : QLocale().toString(static_cast<double>(v), 'g', 6);
    } else {
        const std::int32_t v = o.at(px, py);
        value = o.noData && v == *o.noData ? tr("no data (%1)").arg(v) : QString::number(v);
        for (const MapClassEntry& c : scene_.classes)
            if (c.value == v && !c.name.isEmpty())
                value = tr("%1 %2").arg(v).arg(c.name);
    }
    QString text = tr("row %1, column %2: %3").arg(static_cast<qint64>(row) + 1).arg(static_cast<qint64>(column) + 1).arg(value);
    if (o.frame) {
        const orvalis::MapPoint p = orvalis::mapPoint(*o.frame, cell.x(), cell.y());
        const int decimals = o.geographic ? 6 : 2;
        text += o.geographic ? tr("\nlongitude %1, latitude %2") : tr("\nx %1, y %2");
        text = text.arg(QLocale().toString(p.x, 'f', decimals), QLocale().toString(p.y, 'f', decimals));
    }
    return text;
}

void MapView::paintPointer(QPainter& painter) const
{
    if (!pointer_ || dragging_)
        return;
    const QString text = pointerText(*pointer_);
    if (text.isEmpty())
        return;
    const QFontMetrics metrics(font());
    const QRect bounds = metrics.boundingRect(QRect(0, 0, 1000, 200), Qt::AlignLeft, text);
    // Bottom right, above the scale bar: clear of the class legend and the window legends.
    const double bottom = height() - 8 - (scaleBar(std::min(160.0, width() / 3.0)) ? metrics.height() + 28 : 0);
    const QRectF box(width() - 8 - bounds.width() - 12, bottom - bounds.height() - 8, bounds.width() + 12, bounds.height() + 8);
    painter.save();
    painter.setPen(QColor(0, 0, 0, 90));
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRect(box);
    painter.setPen(Qt::black);
    painter.setFont(font());
    painter.drawText(box.adjusted(6, 4, -6, -4), Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.restore();
}

double MapView::paintValueLegend(QPainter& painter, const QRectF& area, double bottom) const
{
    painter.save();
    const std::vector<std::string>& bands = scene_.overview.bandNames;
    const QString band = bands.size() > 1 ? fromLocal(bands[static_cast<std::size_t>(scene_.band - 1)]) : QString();
    const QRectF bar = legendBox(painter, area, bottom, texts::mapValueLegendTitle(QFileInfo(scene_.mapPath).fileName(), band));
    const ValueRange& v = *scene_.values;
    paintRamp(painter, bar, QFontMetrics(font()),
              {texts::mapValue(v.low), v.high > v.low ? texts::mapValue((v.low + v.high) / 2) : QString(), texts::mapValue(v.high)});
    painter.restore();
    return bar.top() - QFontMetrics(font()).height() - 6;
}

void MapView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!scene_.picture.isNull()) {
        // Panning repeats one scale: the picture is scaled once for it and then only copied.
        const QSize shown(static_cast<int>(std::lround(static_cast<double>(scene_.overview.mapWidth) * scale_ * aspect_)),
                          static_cast<int>(std::lround(static_cast<double>(scene_.overview.mapHeight) * scale_)));
        const bool cache = static_cast<qint64>(shown.width()) * shown.height() <= 4LL << 20;
        if (cache && scaled_.size() != shown)
            scaled_ = scene_.picture.scaled(shown, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (!cache)
            scaled_ = QImage();
        paintScene(painter, cellsToWidget(), QRectF(rect()), cache ? &scaled_ : nullptr);
        paintPointer(painter);
    }
    QString note;
    if (loading_)
        note = percent_ > 0 ? tr("%1 %2%").arg(texts::readingMap()).arg(percent_) : texts::readingMap();
    else if (!scene_.error.isEmpty())
        note = scene_.error;
    else if (scene_.picture.isNull())
        note = texts::noMapYet();
    if (!note.isEmpty()) {
        painter.setPen(palette().windowText().color());
        painter.drawText(rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap, note);
    }
}

void MapView::placeBandChoice()
{
    bandChoice_->adjustSize();
    bandChoice_->move(width() - bandChoice_->width() - 8, 8);
    stop_->adjustSize();
    stop_->move((width() - stop_->width()) / 2, height() / 2 + 24);
}

void MapView::resizeEvent(QResizeEvent*)
{
    placeBandChoice();
    if (fitted_)
        fit();
}

bool MapView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const int site = siteAt(help->pos()); site >= 0) {
            const MapSiteMark& m = sites_.sites[site];
            QToolTip::showText(help->globalPos(), texts::mapSiteTip(m.id, m.x, m.y, sites_.radius), this);
            return true;
        }
        const int k = windowAt(help->pos());
        if (k < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const MapWindowMark& w = scene_.windows[k];
        // Rows counted from the north, as the map is drawn, whichever way the image stores them.
        QToolTip::showText(help->globalPos(),
                           texts::mapWindowTip(w.path, w.cover, w.x, static_cast<int>(w.row), w.mapX, w.mapY), this);
        return true;
    }
    return QWidget::event(event);
}

void MapView::wheelEvent(QWheelEvent* event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0)
        zoomBy(std::pow(1.25, steps), event->position());
    event->accept();
}

void MapView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    pressedAt_ = dragFrom_ = event->position();
    dragging_ = false;
}

void MapView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        pointer_ = event->position();
        update();
        if (const int site = siteAt(event->position()); site != hovered_) {
            hovered_ = site;
            update();
        }
        return;
    }
    if (!dragging_ && (event->position() - pressedAt_).manhattanLength() < 4)
        return;
    dragging_ = true;
    setCursor(Qt::ClosedHandCursor);
    panBy(event->position() - dragFrom_);
    dragFrom_ = event->position();
}

void MapView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    unsetCursor();
    if (dragging_) {
        dragging_ = false;
        return;
    }
    const int k = windowAt(event->position());
    if (k < 0)
        return;
    setSelectedWindow(k);
    emit windowClicked(scene_.windows[k].path);
}

void MapView::leaveEvent(QEvent* event)
{
    pointer_.reset();
    update();
    if (hovered_ >= 0) {
        hovered_ = -1;
        update();
    }
    QWidget::leaveEvent(event);
}

void MapView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_0) {
        fit();
        return;
    }
    QWidget::keyPressEvent(event);
}
