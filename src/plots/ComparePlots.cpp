#include "plots/ComparePlots.h"

#include "plots/CompareCharts.h"
#include "plots/ChartTables.h"

#include <QApplication>
#include <QChart>
#include <QFile>
#include <QSaveFile>

#include <memory>
#include <set>

namespace orvalis {

namespace {

QString qtPath(const std::filesystem::path& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

QtMessageHandler passOn = nullptr;

// The offscreen platform complains of every chart view shown, and Qt of a session without a
// runtime folder; the user of the command line has nothing to do about either.
void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.contains(QLatin1String("propagateSizeHints")) || text.contains(QLatin1String("XDG_RUNTIME_DIR")))
        return;
    if (passOn)
        passOn(type, context, text);
}

// The command line has no application object: one without a display is made for the drawing.
std::unique_ptr<QApplication> headlessApplication()
{
    if (QCoreApplication::instance())
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!passOn)
        passOn = qInstallMessageHandler(quietOffscreen);
    static int argc = 1;
    static char name[] = "orvalis-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

}  // namespace

PlotsResult drawComparePlots(const std::filesystem::path& folder, const std::function<bool()>& keepGoing)
{
    PlotsResult result;
    const std::unique_ptr<QApplication> app = headlessApplication();
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        result.ok = false;
        result.message = "pictures need a widget application";
        return result;
    }
    ChartTables tables;
    if (!loadChartTables(folder, tables, &result.message)) {
        result.ok = false;
        return result;
    }
    const std::filesystem::path plots = folder / "plots";
    std::error_code ec;
    std::filesystem::create_directories(plots, ec);
    if (ec) {
        result.ok = false;
        result.message = "cannot create " + plots.string() + ": " + ec.message();
        return result;
    }
    const auto draw = [&](QChart* chart, const std::string& name) {
        if (keepGoing && !keepGoing()) {
            delete chart;
            result.interrupted = true;
            return false;
        }
        const std::filesystem::path png = plots / (name + ".png");
        const std::filesystem::path svg = plots / (name + ".svg");
        QString error;
        if (!writeChartPictures(chart, {qtPath(png), qtPath(svg)}, &error)) {
            result.ok = false;
            result.message = error.toStdString();
            return false;
        }
        result.files.push_back(png.string());
        result.files.push_back(svg.string());
        return true;
    };
    std::string constantList;
    for (const ChartKey& key : tables.keys) {
        if (const std::optional<double> value = constantValue(tables, key)) {
            result.constant.push_back(key.name() + " " + QString::number(*value, 'g', 10).toStdString());
            constantList += result.constant.back() + "\n";
            continue;
        }
        if (!draw(makeCompareChart(tables, key), key.name()))
            return result;
    }
    if (QChart* chart = makePercolationChart(tables); chart && !draw(chart, "percolation"))
        return result;
    const std::filesystem::path listed = plots / "constant-metrics.txt";
    if (constantList.empty()) {
        std::filesystem::remove(listed, ec);
    } else {
        QSaveFile list(qtPath(listed));
        if (!list.open(QIODevice::WriteOnly) || list.write(constantList.data(), static_cast<qint64>(constantList.size())) < 0 ||
            !list.commit()) {
            result.ok = false;
            result.message = "cannot write " + listed.string();
            return result;
        }
    }
    // An earlier drawing's pictures of metrics this one has not would pass for its own.
    const std::set<std::filesystem::path> drawn(result.files.begin(), result.files.end());
    for (const auto& e : std::filesystem::directory_iterator(plots, ec)) {
        const std::string ext = e.path().extension().string();
        if ((ext == ".png" || ext == ".svg") && !drawn.contains(e.path()))
            std::filesystem::remove(e.path(), ec);
    }
    return result;
}

}  // namespace orvalis
