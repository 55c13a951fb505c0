#pragma once

#include "core/random/RandomSource.h"
#include "support/TempDir.h"

#include <string>
#include <vector>

namespace orvalis::test {

// A comparison folder written by hand: each window gets pland, ed and spanning rows for classes
// 0 and 1 from every model's replicates, and landscape ed; real values are given per window.
struct HandWindow {
    std::string file;   // as the tables name it, quoted when it must be
    double cover;       // %
    double realEd;
};

inline std::string csvName(const std::string& file)
{
    if (file.find_first_of(",\"") == std::string::npos)
        return file;
    std::string q = "\"";
    for (char c : file)
        q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

// An ed value for a replicate, spread with the draw so that quantiles differ from the mean.
inline double drawnEd(RandomSource& random, double cover)
{
    return cover * 2 + random.next() % 1000 / 10.0;
}

inline void writeCompareFolder(const std::filesystem::path& dir, const std::vector<HandWindow>& windows,
                               const std::vector<std::string>& models, int replicates, bool spanning)
{
    std::string w = "file,rows,cols,habitat,cover\r\n";
    std::string c = "file,model,level,class,metric,real,n,na,mean,sd,q2.5,q97.5,percentile,z\n";
    std::string n = "file,model,replicate,level,class,id,metric,value\n";
    RandomSource random(7);
    for (const HandWindow& win : windows) {
        const std::string name = csvName(win.file);
        w += name + ",100,100," + std::to_string(static_cast<int>(win.cover * 100)) + "," + std::to_string(win.cover) + "\r\n";
        for (const std::string& model : models) {
            c += name + "," + model + ",class,1,ed," + std::to_string(win.realEd) + ",1,0,1,0,1,1,50,0\n";
            c += name + "," + model + ",landscape,,ed,NA,1,0,1,0,1,1,50,0\n";
            for (int r = 1; r <= replicates; ++r) {
                const std::string row = name + "," + model + "," + std::to_string(r) + ",";
                n += row + "class,1,,pland," + std::to_string(win.cover) + "\n";
                n += row + "class,0,,pland," + std::to_string(100 - win.cover) + "\n";
                n += row + "class,1,,ed," + std::to_string(drawnEd(random, win.cover)) + "\n";
                n += row + "class,1,,enn_mn,NA\n";
                n += row + "landscape,,,ed," + std::to_string(drawnEd(random, win.cover)) + "\n";
                if (spanning) {
                    // Habitat spans from 45 % in every second replicate, the matrix always.
                    const bool spans = win.cover >= 45 && r % 2 == 0;
                    n += row + "class,1,,spanning," + (spans ? "1" : "0") + "\n";
                    n += row + "class,0,,spanning,1\n";
                }
            }
        }
    }
    writeFile((dir / "windows.csv").string(), w);
    writeFile((dir / "compare.csv").string(), c);
    writeFile((dir / "neutral-metrics.csv").string(), n);
}

}  // namespace orvalis::test
