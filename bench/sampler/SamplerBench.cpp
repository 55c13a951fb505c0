// The sampling run on an 8192 x 8192 image (window 500, 10 replicates, cover 1..100)
// with the summed-area table and bucketed distance test, against the straightforward
// per-pixel count and scan of every centre. Both runs must write byte-identical files.
// Usage: bench_sampler [IMAGE_SIDE [WINDOW_SIZE [fast]]]; "fast" skips the straightforward run.
#include "core/random/RandomSource.h"
#include "core/sampler/WindowSampler.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

namespace {

double seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

// Habitat grows more likely from left to right, so window covers span almost every level.
void fillGradient(orvalis::TgaImage& image, int side)
{
    const std::size_t n = static_cast<std::size_t>(side) * static_cast<std::size_t>(side);
    image.data = static_cast<unsigned char*>(std::malloc(n * 3));
    std::uint32_t h = 12345;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            h = h * 1664525u + 1013904223u;
            const bool habitat = (h >> 8) % static_cast<std::uint32_t>(side) < static_cast<std::uint32_t>(x);
            unsigned char* px = image.data + (static_cast<std::size_t>(y) * side + x) * 3;
            px[0] = px[1] = px[2] = habitat ? 0 : 255;
        }
    }
    image.width = image.height = side;
    image.bitsPerPixel = 24;
    image.bytesPerPixel = 3;
    image.pixelCount = static_cast<std::uint32_t>(n);
    image.loaded = 1;
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Timed {
    orvalis::SampleResult outcome;
    std::vector<std::string> names;
    double total = 0;
};

Timed run(orvalis::WindowSampler& sampler, bool straightforward, const fs::path& dir, int size)
{
    fs::create_directories(dir);
    sampler.setStraightforward(straightforward);
    sampler.configure(128, size / 2, 0, 1);
    orvalis::SampleParameters p;
    p.folder = dir.string();
    p.prefix = "B_";
    p.replicates = 10;
    p.cover = {1, 100, 1};
    p.minDistance = 10;
    p.logPath = (dir / "sample.txt").string();
    Timed t;
    orvalis::RandomSource random(1);
    orvalis::RunControl control;
    const auto a = Clock::now();
    t.outcome = sampler.sampleWindows(p, random, control);
    t.names = t.outcome.files;
    t.total = seconds(a, Clock::now());
    return t;
}

}  // namespace

int main(int argc, char** argv)
{
    const int side = argc > 1 ? std::atoi(argv[1]) : 8192;
    const int size = argc > 2 ? std::atoi(argv[2]) : 500;
    // Both runs write the same files; in memory, disk writeback throttling stays out of both times.
    std::error_code shm;
    const fs::path base = fs::is_directory("/dev/shm", shm) ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path root = base / ("orvalis-bench-sampler-" + std::to_string(getpid()));

    orvalis::WindowSampler sampler;
    fillGradient(sampler.image, side);
    std::printf("image %d x %d, window %d, 10 replicates, cover 1..100, minimum distance 10\n", side, side, size);
    std::printf("window files written under %s\n", root.string().c_str());

    const Timed fast = run(sampler, false, root / "fast", size);
    std::printf("summed-area table: %8.3f s  (%d windows, %lld tries, %s)\n", fast.total, fast.outcome.written(),
                static_cast<long long>(fast.outcome.tries), orvalis::sampleStopText(fast.outcome.stop));

    // The same windows written again to fresh files, to show how much of the fast run is output.
    fs::create_directories(root / "rewrite");
    const auto w0 = Clock::now();
    {
        std::ifstream log(root / "fast" / "sample.txt");
        std::string name, cover;
        int x = 0, y = 0;
        while (log >> name >> cover >> x >> y)
            sampler.writeWindow(x, y, size / 2, (root / "rewrite" / fs::path(name).filename()).string());
    }
    const double writing = seconds(w0, Clock::now());
    std::printf("  writing the same %d windows alone: %.3f s\n", fast.outcome.written(), writing);

    if (argc > 3 && std::string(argv[3]) == "fast") {
        std::error_code ec;
        fs::remove_all(root, ec);
        return 0;
    }
    const Timed plain = run(sampler, true, root / "plain", size);
    std::printf("straightforward:   %8.3f s  (%d windows, %lld tries)\n", plain.total, plain.outcome.written(),
                static_cast<long long>(plain.outcome.tries));

    bool same = fast.outcome.written() == plain.outcome.written() && fast.names.size() == plain.names.size();
    for (std::size_t i = 0; same && i < fast.names.size(); ++i) {
        const fs::path a = fast.names[i], b = plain.names[i];
        same = a.filename() == b.filename() && slurp(a.string()) == slurp(b.string());
    }
    std::string logFast = slurp((root / "fast" / "sample.txt").string());
    std::string logPlain = slurp((root / "plain" / "sample.txt").string());
    for (std::string* log : {&logFast, &logPlain}) {
        std::string cleaned;
        std::size_t at = 0;
        while (at < log->size()) {
            std::size_t end = log->find('\n', at);
            std::string line = log->substr(at, end - at);
            line = line.substr(line.rfind('/') + 1);  // folder differs between the two runs
            cleaned += line + "\n";
            at = end == std::string::npos ? log->size() : end + 1;
        }
        *log = cleaned;
    }
    same = same && logFast == logPlain;
    std::printf("outputs identical: %s\n", same ? "yes" : "NO");
    std::printf("ratio straightforward / summed-area, whole run: %.1f\n", plain.total / fast.total);

    // The cover of candidate windows alone, at the centres the search draws.
    std::vector<std::pair<int, int>> centres;
    orvalis::RandomSource draws(1);
    const int h = size / 2;
    while (centres.size() < 2000) {
        const int x = static_cast<int>(draws.next() / 32767.0 * side), y = static_cast<int>(draws.next() / 32767.0 * side);
        if (x >= h && x < side - h && y >= h && y < side - h)
            centres.emplace_back(x, y);
    }
    long long check[2] = {0, 0};
    double coverTime[2] = {0, 0};
    for (int straightforward = 0; straightforward < 2; ++straightforward) {
        sampler.setStraightforward(straightforward != 0);
        sampler.windowCover(centres[0].first, centres[0].second);  // builds the table outside the timing
        const auto a = Clock::now();
        for (const auto& [x, y] : centres)
            check[straightforward] += sampler.windowCover(x, y);
        coverTime[straightforward] = seconds(a, Clock::now());
    }
    std::printf("cover of %zu candidate windows: %.6f s against %.3f s, ratio %.0f%s\n", centres.size(), coverTime[0],
                coverTime[1], coverTime[1] / std::max(coverTime[0], 1e-9), check[0] == check[1] ? "" : " (COUNTS DIFFER)");
    same = same && check[0] == check[1];
    std::error_code ec;
    fs::remove_all(root, ec);
    return same ? 0 : 1;
}
