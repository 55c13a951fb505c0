#include "plots/ComparePlots.h"

#include "plots/CompareCharts.h"
#include "plots/ChartTables.h"

#include <QApplication>
#include <QChart>
#include <QFile>

#include <memory>

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

PlotsResult drawComparePlots(const std::filesystem::path& folder)
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
    for (const ChartKey& key : tables.keys)
        if (!draw(makeCompareChart(tables, key), key.name()))
            return result;
    if (QChart* chart = makePercolationChart(tables))
        draw(chart, "percolation");
    return result;
}

}  // namespace orvalis
