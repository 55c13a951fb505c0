#include "gui/EngineMessages.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <utility>
#include <vector>

namespace {

// The engines' sentences, as they write them, each value a %N; lupdate reads them here.
// Earlier patterns win: a narrower sentence comes before one that would take it in.
constexpr const char* Patterns[] = {
    // Stops and refusals of the runs.
    QT_TRANSLATE_NOOP("orvalis::messages", "no folder was chosen for the window files"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the window must be at least 2 pixels wide"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the cover step must be at least 1"),
    QT_TRANSLATE_NOOP("orvalis::messages", "a window of %1 pixels does not fit inside the image of %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "every cover level got its replicates"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the search spent all its tries"),
    QT_TRANSLATE_NOOP("orvalis::messages", "cancelled"),
    QT_TRANSLATE_NOOP("orvalis::messages",
                      "no window centre is left outside the minimum distance of the accepted ones"),
    QT_TRANSLATE_NOOP("orvalis::messages", "no window centre is left: every possible centre lies within the minimum "
                                           "distance of an accepted window"),
    QT_TRANSLATE_NOOP("orvalis::messages", "sample.txt could not be created"),
    QT_TRANSLATE_NOOP("orvalis::messages", "sample.txt could not be written"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the batch list could not be written"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the metrics table could not be written"),
    QT_TRANSLATE_NOOP("orvalis::messages", "a window file could not be written"),
    QT_TRANSLATE_NOOP("orvalis::messages", "no image loaded"),
    QT_TRANSLATE_NOOP("orvalis::messages", "bad parameters"),
    QT_TRANSLATE_NOOP("orvalis::messages", "another run writes into the same folder"),
    QT_TRANSLATE_NOOP("orvalis::messages",
                      "habitat classes are for land-cover maps: in a TGA image the dark pixels are habitat"),
    QT_TRANSLATE_NOOP("orvalis::messages", "windows cut from a TGA image are written as text grids (txt) only"),
    QT_TRANSLATE_NOOP("orvalis::messages",
                      "a TGA image has no classes to keep: its windows hold the cover and matrix values"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the cover minimum %1 is above the maximum %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "landscapes of %1 cells hold nothing to measure"),
    QT_TRANSLATE_NOOP("orvalis::messages", "landscapes of %1 cells are too large to measure (at most %2 cells)"),
    QT_TRANSLATE_NOOP("orvalis::messages", "invalid random series: the cover step must be at least 1 and sizes and "
                                           "replicates must not be negative"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the H range needs finite values and a step above 0"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the H range asks for more than 100000 H values"),
    QT_TRANSLATE_NOOP("orvalis::messages", "cover percentages must lie between 0 and 100"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the size must be between 1 and %1 cells (got %2)"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the number of replicates must be at least 1"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the number of jobs cannot be negative"),
    QT_TRANSLATE_NOOP("orvalis::messages",
                      "H values %1 and %2 would share the file names of H %3; use a step of at least 0.01"),
    QT_TRANSLATE_NOOP("orvalis::messages", "no neutral model named"),
    QT_TRANSLATE_NOOP("orvalis::messages", "no neutral models named"),
    QT_TRANSLATE_NOOP("orvalis::messages", "cover levels must lie between 0 and 100 (got %1)"),
    QT_TRANSLATE_NOOP("orvalis::messages", "a cover level is named twice: its files would overwrite each other"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the cover and matrix values must differ"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the mask is not of %1 cells"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the cell size must be above 0"),
    QT_TRANSLATE_NOOP("orvalis::messages", "name at least one cover level"),
    QT_TRANSLATE_NOOP("orvalis::messages", "'%1': levels are MIN:MAX:STEP with 0 <= MIN <= MAX <= 100 and STEP 1..100"),
    QT_TRANSLATE_NOOP("orvalis::messages", "'%1' is not a cover level, a whole percentage 0..100"),
    QT_TRANSLATE_NOOP("orvalis::messages", "'%1' is not a number"),
    QT_TRANSLATE_NOOP("orvalis::messages",
                      "%1 x %2 landscapes of %3 need about %4 GB with %5 job; %6 GB of memory are free"),
    QT_TRANSLATE_NOOP("orvalis::messages",
                      "%1 x %2 landscapes of %3 need about %4 GB with %5 jobs; %6 GB of memory are free"),
    QT_TRANSLATE_NOOP("orvalis::messages", "no windows to compare"),
    QT_TRANSLATE_NOOP("orvalis::messages", "neighbours must be 4 or 8"),
    QT_TRANSLATE_NOOP("orvalis::messages", "two windows are named like %1: their kept landscapes would share names"),
    QT_TRANSLATE_NOOP("orvalis::messages", "none of the windows can be read (the first: %1)"),
    QT_TRANSLATE_NOOP("orvalis::messages", "no metric to compute"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the cell size must be a positive number"),
    QT_TRANSLATE_NOOP("orvalis::messages", "a surface holds class and landscape metrics, one value per window: patch "
                                           "metrics have none"),
    // Models and their parameters.
    QT_TRANSLATE_NOOP("orvalis::messages", "%1=%2 is outside %3"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1=%2: '%3' is not a number"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1=%2: '%3' is not a whole number"),
    QT_TRANSLATE_NOOP("orvalis::messages", "cannot read the source grid %1: %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the source grid %1 is not of %2 cells"),
    QT_TRANSLATE_NOOP("orvalis::messages",
                      "the source grid %1 holds no source cell (a value other than 0 and no-data)"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1: %2; its parameters: %3"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1 %2, default %3"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1 %2, drawn when absent"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1 %2, required"),
    QT_TRANSLATE_NOOP("orvalis::messages", "LIST, each %1"),
    QT_TRANSLATE_NOOP("orvalis::messages", "FILE"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1=%2 is not one of %3"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1 needs a file name"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1 takes no parameters ('%2')"),
    QT_TRANSLATE_NOOP("orvalis::messages", "an empty parameter"),
    QT_TRANSLATE_NOOP("orvalis::messages", "unknown parameter '%1'"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1 is required, in %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "min=%1 is above max=%2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "proportions and subdivisions must have as many levels (%1 and %2)"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the subdivisions make %1 blocks a side; at most 4096"),
    QT_TRANSLATE_NOOP("orvalis::messages", "periods x lacunarity^(octaves - 1) is above 1024"),
    QT_TRANSLATE_NOOP("orvalis::messages", "unknown neutral model '%1' (models: %2)"),
    QT_TRANSLATE_NOOP("orvalis::messages", "a landscape needs at least one row and one column"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1 x %2 cells is above the %3 cells a landscape may hold"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1 makes landscapes of at most %2 cells a side"),
    // Folders and files.
    QT_TRANSLATE_NOOP("orvalis::messages", "the folder %1 cannot be used: %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the folder %1 takes no new files: %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1 is not a folder"),
    QT_TRANSLATE_NOOP("orvalis::messages",
                      "the %1 holds a line break or another control character, which would break its lists"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the file name %1 is longer than the %2 bytes the file system allows"),
    QT_TRANSLATE_NOOP("orvalis::messages", "cannot open the folder %1: %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "cannot lock the folder %1: %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "cannot create %1: %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "cannot create %1"),
    QT_TRANSLATE_NOOP("orvalis::messages", "cannot write %1: %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "cannot write %1"),
    QT_TRANSLATE_NOOP("orvalis::messages", "could not write %1: %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "could not write %1"),
    QT_TRANSLATE_NOOP("orvalis::messages", "could not make %1: %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "could not measure %1: %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "could not build the surface of H %1 number %2: %3"),
    QT_TRANSLATE_NOOP("orvalis::messages", "cannot make %1: %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "cannot remove %1 of the earlier comparison: %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "not a regular file"),
    QT_TRANSLATE_NOOP("orvalis::messages", "no such file"),
    QT_TRANSLATE_NOOP("orvalis::messages", "file too large (%1 bytes)"),
    QT_TRANSLATE_NOOP("orvalis::messages", "it holds binary data, not a landscape grid"),
    QT_TRANSLATE_NOOP("orvalis::messages", "read error: %1"),
    QT_TRANSLATE_NOOP("orvalis::messages", "read error"),
    QT_TRANSLATE_NOOP("orvalis::messages", "write failed: %1"),
    QT_TRANSLATE_NOOP("orvalis::messages", "out of memory"),
    QT_TRANSLATE_NOOP("orvalis::messages", "not a TGA image: the header is cut short"),
    QT_TRANSLATE_NOOP("orvalis::messages", "not an uncompressed 24- or 32-bit TGA image"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the TGA image is cut short"),
    // Land-cover maps, rasters and logs.
    QT_TRANSLATE_NOOP("orvalis::messages", "%1 cannot be opened as a map: %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "no raster format knows it"),
    QT_TRANSLATE_NOOP("orvalis::messages", "band %1 does not exist: %2 has %3"),
    QT_TRANSLATE_NOOP("orvalis::messages", "no map is open"),
    QT_TRANSLATE_NOOP("orvalis::messages", "reading %1 failed: %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "reading %1 was stopped"),
    QT_TRANSLATE_NOOP("orvalis::messages", "counting the classes of %1 was stopped"),
    QT_TRANSLATE_NOOP("orvalis::messages", "counting the classes of %1 failed: %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the window lies outside the map"),
    QT_TRANSLATE_NOOP("orvalis::messages", "its cells are rotated or not square"),
    QT_TRANSLATE_NOOP("orvalis::messages", "it has no coordinate system"),
    QT_TRANSLATE_NOOP("orvalis::messages", "its coordinates are degrees"),
    QT_TRANSLATE_NOOP("orvalis::messages", "GDAL cannot read it as a raster"),
    QT_TRANSLATE_NOOP("orvalis::messages", "it holds no band"),
    QT_TRANSLATE_NOOP("orvalis::messages", "its cells could not be read"),
    QT_TRANSLATE_NOOP("orvalis::messages", "a text grid knows no cell size"),
    QT_TRANSLATE_NOOP("orvalis::messages", "its frame gives no cell size"),
    QT_TRANSLATE_NOOP("orvalis::messages",
                      "a land-cover map needs its habitat classes (for example 41-43 for NLCD forest)"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the map is too large to sample"),
    QT_TRANSLATE_NOOP("orvalis::messages", "every cell of the map is no-data: there is nothing to sample"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the map's coordinate system is geographic (degrees): cell sizes and areas "
                                           "of its windows are not metric"),
    QT_TRANSLATE_NOOP("orvalis::messages", "habitat class %1 does not occur in the map"),
    QT_TRANSLATE_NOOP("orvalis::messages", "windows cannot be written: %1"),
    QT_TRANSLATE_NOOP("orvalis::messages", "not a file: %1"),
    QT_TRANSLATE_NOOP("orvalis::messages", "cannot open %1"),
    QT_TRANSLATE_NOOP("orvalis::messages", "cannot read %1"),
    QT_TRANSLATE_NOOP("orvalis::messages", "line %1: %2"),
    QT_TRANSLATE_NOOP("orvalis::messages", "not NAME COVER X Y [MAPX MAPY]: %1"),
    QT_TRANSLATE_NOOP("orvalis::messages", "binary data, not a landscape grid"),
    QT_TRANSLATE_NOOP("orvalis::messages", "no values"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the file holds no grid"),
    // Settings in config.txt.
    QT_TRANSLATE_NOOP("orvalis::messages", "%1 is missing"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1 is longer than %2 bytes"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1 holds control characters: the file is not text in UTF-8 or Latin-1"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1 is not a whole number"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1 is outside the range of whole numbers the program can hold"),
    QT_TRANSLATE_NOOP("orvalis::messages", "%1 holds a line break or NUL character"),
    QT_TRANSLATE_NOOP("orvalis::messages", "line %1 (%2)"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the sample name"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the sample post-string"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the cover value"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the matrix value"),
    QT_TRANSLATE_NOOP("orvalis::messages", "sample name"),
    QT_TRANSLATE_NOOP("orvalis::messages", "sample post-string"),
    QT_TRANSLATE_NOOP("orvalis::messages", "cover value"),
    QT_TRANSLATE_NOOP("orvalis::messages", "matrix value"),
    QT_TRANSLATE_NOOP("orvalis::messages", "post-string"),
    // Habitat classes.
    QT_TRANSLATE_NOOP("orvalis::messages",
                      "classes are whole numbers separated by commas, a range written FIRST-LAST (e.g. 11, 41-43, 90; "
                      "negative classes keep their minus sign: -5--3 is -5 to -3, -5-3 is -5 to 3)"),
    QT_TRANSLATE_NOOP("orvalis::messages",
                      "%1: classes are whole numbers separated by commas, a range written FIRST-LAST (e.g. 11, 41-43, "
                      "90; negative classes keep their minus sign: -5--3 is -5 to -3, -5-3 is -5 to 3)."),
    QT_TRANSLATE_NOOP("orvalis::messages", "no habitat class given"),
    QT_TRANSLATE_NOOP("orvalis::messages", "item %1 is empty"),
    QT_TRANSLATE_NOOP("orvalis::messages", "the range %1 runs backwards"),
    QT_TRANSLATE_NOOP("orvalis::messages", "more than %1 classes"),
};

struct Pattern {
    const char* source;
    QRegularExpression match;
    std::vector<int> order;  // the placeholder each captured value fills
};

const std::vector<Pattern>& patterns()
{
    static const std::vector<Pattern> all = [] {
        static const QRegularExpression placeholder(QStringLiteral("%([1-9])"));
        std::vector<Pattern> out;
        for (const char* source : Patterns) {
            const QString text = QString::fromUtf8(source);
            QString expression = QStringLiteral("^");
            std::vector<int> order;
            qsizetype at = 0;
            for (auto it = placeholder.globalMatch(text); it.hasNext();) {
                const QRegularExpressionMatch m = it.next();
                expression += QRegularExpression::escape(text.mid(at, m.capturedStart() - at));
                expression += QStringLiteral("(.+?)");
                order.push_back(m.captured(1).toInt());
                at = m.capturedEnd();
            }
            expression += QRegularExpression::escape(text.mid(at)) + QStringLiteral("$");
            QRegularExpression whole(expression, QRegularExpression::DotMatchesEverythingOption);
            whole.optimize();
            out.push_back({source, std::move(whole), std::move(order)});
        }
        return out;
    }();
    return all;
}

}  // namespace

QString engineMessage(const QString& text)
{
    for (const Pattern& p : patterns()) {
        const QRegularExpressionMatch m = p.match.match(text);
        if (!m.hasMatch())
            continue;
        QString out = QCoreApplication::translate("orvalis::messages", p.source);
        // Values are put in by hand: one that holds "%1" itself must not be read as a placeholder.
        for (std::size_t i = 0; i < p.order.size(); ++i) {
            const QString mark = QLatin1Char('%') + QString::number(p.order[i]);
            out.replace(mark, QStringLiteral("\x01%1\x01").arg(i));
        }
        for (std::size_t i = 0; i < p.order.size(); ++i)
            out.replace(QStringLiteral("\x01%1\x01").arg(i), engineMessage(m.captured(static_cast<int>(i) + 1)));
        return out;
    }
    // A list of sentences ("a; b") is translated sentence by sentence.
    const QStringList parts = text.split(QStringLiteral("; "));
    if (parts.size() < 2)
        return text;
    QStringList translated;
    for (const QString& part : parts)
        translated << engineMessage(part);
    return translated.join(QStringLiteral("; "));
}

QString engineMessage(const std::string& text)
{
    return engineMessage(QString::fromLocal8Bit(text.c_str()));
}
