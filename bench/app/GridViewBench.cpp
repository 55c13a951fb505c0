// Selecting and repainting a 4096 x 4096 landscape in the main window's GridView,
// against drawing one rectangle per cell as a plain painter loop would; then the
// repaint of each step of zooming in and out and panning, worst and median.
#include "gui/GridView.h"
#include "gui/MainWindow.h"
#include "core/io/LandscapeWriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int n = 4096;
    orvalis::LandscapeGrid grid(n, std::vector<int>(n));
    unsigned state = 1;
    for (auto& line : grid)
        for (int& v : line) {
            state = state * 214013u + 2531011u;
            v = (state >> 16) & 1;
        }
    char dirTemplate[] = "/tmp/orvalis-view-XXXXXX";
    QString dir = mkdtemp(dirTemplate);
    QString path = dir + "/grid.txt";
    orvalis::writeLandscapeFile(path.toStdString(), grid);

    MainWindow window;
    window.resize(1200, 900);
    window.show();
    auto* list = window.findChild<QListWidget*>("fileListView");
    auto* view = window.findChild<GridView*>("frameView");
    list->addItem(path);

    QElapsedTimer t;
    t.start();
    list->setCurrentRow(0);  // reads the file and builds the cell image
    window.grab();           // first paint scales it to the view
    qint64 selectMs = t.elapsed();

    const int repeats = 20;
    t.restart();
    // grab() runs the window's whole paint, the view's included, into a pixmap.
    for (int i = 0; i < repeats; ++i)
        window.grab();
    double repaintMs = double(t.nsecsElapsed()) / 1e6 / repeats;

    // Baseline: one filled rectangle per cell, the way a per-cell paint loop draws.
    QImage target(view->size(), QImage::Format_ARGB32_Premultiplied);
    const orvalis::LandscapeGrid shown = window.grid();
    t.restart();
    {
        QPainter p(&target);
        double cw = double(target.width()) / n, ch = double(target.height()) / n;
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                QColor c = shown[j][i] == 0 ? Qt::white : Qt::black;
                p.setBrush(c);
                p.setPen(c);
                p.drawRect(int(j * cw), int(i * ch), int(cw), int(ch));
            }
    }
    double baselineMs = double(t.nsecsElapsed()) / 1e6;

    std::printf("grid %d x %d, view %d x %d\n", n, n, view->width(), view->height());
    std::printf("select (read + first paint): %.1f ms\n", double(selectMs));
    std::printf("repaint: %.2f ms (goal < 50 ms)   per-cell baseline: %.1f ms   ratio %.0f\n", repaintMs, baselineMs,
                baselineMs / repaintMs);

    // One repaint a step, as the wheel or a drag asks for it: the view's whole paint, into an image
    // of its size (the offscreen platform paints nothing on screen to time).
    QImage canvas(view->size(), QImage::Format_ARGB32_Premultiplied);
    auto timeSteps = [view, &canvas](const char* what, int steps, const std::function<void(int)>& step) {
        std::vector<double> ms;
        QElapsedTimer clock;
        for (int i = 0; i < steps; ++i) {
            step(i);
            clock.start();
            view->render(&canvas);
            ms.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
        std::sort(ms.begin(), ms.end());
        std::printf("%-28s %3d steps  worst %6.2f ms  median %6.2f ms (goal <= 16 ms)\n", what, steps, ms.back(),
                    ms[ms.size() / 2]);
    };
    const QPointF anchor(view->width() * 0.37, view->height() * 0.61);
    view->fitToView();
    timeSteps("zoom in (wheel, 1.25x)", 40, [&](int) { view->zoomBy(1.25, anchor); });
    std::printf("  reached %.1f pixels a cell\n", view->cellPixels());
    timeSteps("pan at full zoom", 40, [&](int i) { view->panBy(QPointF(i % 2 ? 37 : -29, 23)); });
    timeSteps("zoom out (wheel, 1/1.25x)", 40, [&](int) { view->zoomBy(1 / 1.25, anchor); });
    view->zoomBy(4, anchor);
    timeSteps("pan at 4x", 40, [&](int i) { view->panBy(QPointF(i % 2 ? 53 : -41, -17)); });
    view->fitToView();
    for (int i = 0; i < 14; ++i)
        view->zoomBy(1.25, anchor);
    timeSteps("pan at 23x", 40, [&](int i) { view->panBy(QPointF(i % 2 ? 53 : -41, -17)); });

    QFile::remove(path);
    rmdir(dir.toLocal8Bit().constData());
    return 0;
}
