// The map view of a large map: opening it (the overview read on the worker thread, then the first
// paint) and panning it frame by frame from its overview, with a log of windows outlined.
// Goals: open < 2 s on a 40000 x 40000 map; pans at 60 frames a second (worst frame <= 16.7 ms).
// Usage: bench_map_view [SIDE [FILE]]; SIDE defaults to 40000. A FILE that exists is read as it is
// and kept (one with overviews of its own opens faster); without FILE the map is made in /dev/shm
// (or the temporary folder) and removed. Runs on the offscreen platform unless QT_QPA_PLATFORM is set.
#include "BenchSupport.h"
#include "gui/MapView.h"
#include "map/BenchMap.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

using orvalis::bench::cpuSeconds;
namespace fs = std::filesystem;

namespace {

// A log of windows spread over the map, with one window file to give their side.
std::string writeLog(const fs::path& folder, int side, int windows, int windowSide)
{
    fs::create_directories(folder / "windows");
    {
        std::ofstream grid(folder / "windows" / "w_000.txt");
        for (int line = 0; line < windowSide; ++line) {
            for (int k = 0; k < windowSide; ++k)
                grid << ((line + k) % 2) << ' ';
            grid << '\n';
        }
    }
    std::ofstream log(folder / "sample.txt");
    for (int k = 0; k < windows; ++k) {
        const std::uint64_t n = benchmap::mix(static_cast<std::uint64_t>(k));
        const int x = windowSide + static_cast<int>(n % static_cast<std::uint64_t>(side - 2 * windowSide));
        const int y = windowSide + static_cast<int>((n >> 32) % static_cast<std::uint64_t>(side - 2 * windowSide));
        log << "windows/w_" << (k == 0 ? "000" : std::to_string(k + 1000)) << ".txt " << (k % 100) / 100.0 << ' ' << x
            << ' ' << y << '\n';
    }
    return (folder / "sample.txt").string();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Frame times (ms) of `frames` pans of (dx, dy) pixels, each painted before the next.
std::vector<double> pan(MapView& view, int frames, QPointF step)
{
    std::vector<double> times;
    QElapsedTimer t;
    for (int k = 0; k < frames; ++k) {
        t.start();
        view.panBy(k % 60 < 30 ? step : -step);
        view.repaint();
        times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    return times;
}

}  // namespace

int main(int argc, char** argv)
{
    const int side = argc > 1 ? std::atoi(argv[1]) : 40000;
    if (side < 1000) {
        std::fprintf(stderr, "usage: bench_map_view [SIDE [FILE]], SIDE at least 1000\n");
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    GDALAllRegister();
    const bool keep = argc > 2;
    std::error_code ec;
    const fs::path scratch = (fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path()) /
                             ("orvalis-bench-map-view-" + std::to_string(getpid()));
    fs::create_directories(scratch);
    const std::string path = keep ? std::string(argv[2]) : (scratch / "map.tif").string();
    if (!fs::exists(path)) {
        std::printf("making a %d x %d map in %s ...\n", side, side, path.c_str());
        std::fflush(stdout);
        QElapsedTimer made;
        made.start();
        GDALSetCacheMax64(256ll << 20);
        if (!benchmap::makeMap(path, side)) {
            std::fprintf(stderr, "the map could not be made\n");
            return 1;
        }
        std::printf("  made in %.1f s\n", made.elapsed() / 1000.0);
    }
    const std::string log = writeLog(scratch, side, 400, 100);

    MapView view;
    view.resize(1000, 700);
    view.show();
    app.processEvents();
    QElapsedTimer open;
    const double cpu0 = cpuSeconds();
    open.start();
    QEventLoop wait;
    QObject::connect(&view, &MapView::loaded, &wait, &QEventLoop::quit);
    view.showMap(QString::fromStdString(path), QString::fromStdString(log));
    wait.exec();
    const double read = open.elapsed() / 1000.0;
    view.repaint();
    const double opened = open.elapsed() / 1000.0;
    const double openCpu = cpuSeconds() - cpu0;
    const MapScene& scene = view.scene();
    if (!scene.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(scene.error));
        return 1;
    }
    std::printf("map %lld x %lld cells, overview %d x %d, %lld windows\n",
                static_cast<long long>(scene.overview.mapWidth), static_cast<long long>(scene.overview.mapHeight),
                scene.overview.width, scene.overview.height, static_cast<long long>(scene.windows.size()));
    std::printf("open (overview read + first paint): %.3f s (read %.3f s; goal < 2 s), processor %.3f s\n", opened, read,
                openCpu);

    pan(view, 20, {3, 2});  // warm-up
    struct Series {
        const char* name;
        double zoom;
    } series[] = {{"whole map", 1}, {"zoomed 4x", 4}, {"zoomed 64x", 64}};
    for (const Series& s : series) {
        view.fit();
        view.zoomBy(s.zoom, QPointF(500, 350));
        const std::vector<double> times = pan(view, 240, {4, 3});
        std::printf("pan, %-11s 240 frames: median %.2f ms, worst %.2f ms (goal <= 16.7 ms)\n", s.name, median(times),
                    *std::max_element(times.begin(), times.end()));
    }
    fs::remove_all(scratch, ec);  // a FILE given is kept: it lies elsewhere
    return 0;
}
