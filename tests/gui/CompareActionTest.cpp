#include "core/compare/CompareRun.h"
#include "gui/CompareResultsView.h"
#include "gui/MainWindow.h"
#include "gui/forms/DialogCompare.h"
#include "support/MainWindowFixture.h"
#include "support/TestMaps.h"

#include <QAction>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace orvalis::test;

namespace {

// A size x size grid whose habitat (1) fills the first `habitat` cells column by column, with holes.
std::string gridText(int size, int habitat)
{
    std::string text;
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c)
            text += (c * size + r < habitat && (r + c) % 7 != 0) ? "1 " : "0 ";
        text += "\n";
    }
    return text;
}

struct Answers {
    QString hValues = "0.5";
    int replicates = 6;
    std::vector<QString> metrics = {"pland", "ed", "spanning"};
    QString log;  // empty: the files in the list
};

void answerCompareDialog(const Answers& a, QString* suggested)
{
    whenModalShows<DialogCompare>([a, suggested](DialogCompare& dialog) {
        if (!a.log.isEmpty()) {
            child<QRadioButton>(dialog, "fromLog")->click();
            typeInto(child<QLineEdit>(dialog, "logPath"), a.log);
        }
        *suggested = child<QLineEdit>(dialog, "outputFolder")->text();
        typeInto(child<QLineEdit>(dialog, "hValues"), a.hValues);
        typeInto(child<QSpinBox>(dialog, "replicates"), QString::number(a.replicates));
        child<QRadioButton>(dialog, "chosenMetrics")->click();
        QListWidget* list = child<QListWidget>(dialog, "metricList");
        for (const QString& m : a.metrics)
            list->findItems(m, Qt::MatchExactly).first()->setCheckState(Qt::Checked);
        clickButton(dialog, QDialogButtonBox::Ok);
    });
}

struct CompareActionFixture : MainWindowFixture {
    QStringList files;
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        std::filesystem::create_directories(dir.path() / "windows");
        const std::pair<const char*, int> grids[] = {{"windows/forêt 030.txt", 120}, {"windows/b 060.txt", 240}};
        for (const auto& [name, habitat] : grids) {
            writeFile(dir.file(name), gridText(20, habitat));
            files << QString::fromUtf8(dir.file(name).c_str());
        }
    }
    CompareResultsView* results() { return window.findChild<CompareResultsView*>("compareResults"); }
};

TEST_F(CompareActionFixture, ComparesTheListedFilesAndShowsTheirCharts)
{
    window.fileNames = files;
    QString suggested;
    answerCompareDialog({}, &suggested);
    child<QAction>(window, "actionCompare")->trigger();

    EXPECT_TRUE(window.reportedProblems().isEmpty()) << window.reportedProblems().join("\n").toStdString();
    const std::filesystem::path folder = dir.path() / "windows" / "compare";
    EXPECT_EQ(suggested.toStdString(), folder.string()) << "a compare folder beside the files";

    // The engine run with the dialog's options gives the same table.
    TempDir ref;
    orvalis::CompareParameters p;
    for (const QString& f : files)
        p.files.push_back(f.toStdString());
    p.models = {orvalis::NeutralModel{}, orvalis::NeutralModel{orvalis::NeutralModel::Kind::Fractal, 0.5}};
    p.replicates = 6;
    p.metricNames = {"pland", "ed", "spanning"};
    p.output = ref.path();
    orvalis::RunControl control;
    ASSERT_EQ(orvalis::runCompare(p, control).status, orvalis::RunStatus::Completed);
    EXPECT_EQ(readFile((folder / "compare.csv").string()), readFile((ref.path() / "compare.csv").string()));

    CompareResultsView* view = results();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_TRUE(view->loaded()) << view->problem().toStdString();
    QComboBox* choice = view->chartChoice();
    // pland, ed and spanning of both classes, landscape ed, and the percolation of random; the
    // matrix spans in every landscape: listed, not charted.
    QStringList shown;
    for (int i = 0; i < choice->count(); ++i)
        shown << choice->itemText(i);
    EXPECT_EQ(choice->count(), 7) << shown.join(" | ").toStdString();
    EXPECT_TRUE(view->constantList()->text().contains("Spanning")) << view->constantList()->text().toStdString();
    EXPECT_TRUE(shown.first().endsWith("matrix (class 0)")) << shown.first().toStdString();
    // It opens on a metric that varies, not on the habitat share the windows were chosen by.
    EXPECT_TRUE(choice->currentText().contains("(ed)")) << choice->currentText().toStdString();
    choice->setCurrentIndex(choice->count() - 1);
    EXPECT_TRUE(view->chart()->title().startsWith("Percolation"));
    choice->setCurrentIndex(2);
    EXPECT_FALSE(view->chart()->series().isEmpty());

    QString error;
    const QString svg = QString::fromStdString((folder / "chart.svg").string());
    EXPECT_TRUE(view->exportChart(svg, &error)) << error.toStdString();
    EXPECT_GT(QFile(svg).size(), 1000);
    if (const char* shots = std::getenv("ORVALIS_SCREENSHOTS")) {
        choice->setCurrentIndex(3);
        view->resize(900, 640);
        QTest::qWait(50);
        view->grab().save(QString::fromUtf8(shots) + "/compare-results.png");
    }
}

TEST_F(CompareActionFixture, ReadsTheWindowsOfASamplingLog)
{
    writeFile(dir.file("sample.txt"), "windows/forêt 030.txt 0.3 10 10\nwindows/b 060.txt 0.6 40 10\n");
    QString suggested;
    Answers a;
    a.log = QString::fromUtf8(dir.file("sample.txt").c_str());
    a.metrics = {"np"};
    a.replicates = 2;
    answerCompareDialog(a, &suggested);
    child<QAction>(window, "actionCompare")->trigger();

    EXPECT_TRUE(window.reportedProblems().isEmpty()) << window.reportedProblems().join("\n").toStdString();
    EXPECT_EQ(suggested.toStdString(), (dir.path() / "compare").string());
    const std::string windows = readFile((dir.path() / "compare" / "windows.csv").string());
    EXPECT_NE(windows.find("forêt 030.txt,20,20,"), std::string::npos) << windows;
    EXPECT_NE(windows.find("b 060.txt,20,20,"), std::string::npos) << windows;
    ASSERT_NE(results(), nullptr);
}

TEST_F(CompareActionFixture, CancelStopsTheWorkerAndKeepsWholeWindows)
{
    window.fileNames = files;
    QString suggested;
    Answers a;
    a.replicates = 100000;  // minutes of work: only Cancel ends it within the test
    answerCompareDialog(a, &suggested);
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* progress = qobject_cast<QProgressDialog*>(w); progress && progress->isVisible() && progress->value() > 0)
                progress->cancel();
    });
    cancel.start(20);
    child<QAction>(window, "actionCompare")->trigger();
    cancel.stop();

    EXPECT_TRUE(window.reportedProblems().isEmpty()) << window.reportedProblems().join("\n").toStdString();
    EXPECT_TRUE(window.statusBar()->currentMessage().startsWith("Comparison cancelled"))
        << window.statusBar()->currentMessage().toStdString();
    // No window was finished: the tables hold their headers only.
    const std::string windows = readFile((dir.path() / "windows" / "compare" / "windows.csv").string());
    EXPECT_EQ(windows, "file,rows,cols,habitat,cover\n");
    EXPECT_EQ(results(), nullptr) << "no chart to show";
}

TEST_F(CompareActionFixture, RefusesUnreadableHValuesBeforeRunning)
{
    window.fileNames = files;
    QString suggested;
    Answers a;
    a.hValues = "0.5, 1.5";
    answerCompareDialog(a, &suggested);
    child<QAction>(window, "actionCompare")->trigger();
    ASSERT_EQ(window.reportedProblems().size(), 1);
    EXPECT_TRUE(window.reportedProblems()[0].startsWith("The comparison was not run:"))
        << window.reportedProblems()[0].toStdString();
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "windows" / "compare"));
    EXPECT_EQ(results(), nullptr);
}

}  // namespace

TEST(DialogCompareNotes, ShowTheCellSizeUsedAndTheSizeOfTheRun)
{
    TempDir dir;
    orvalis::test::TestMap map;
    map.width = map.height = 10;
    map.value = [](int x, int y) { return (x * y) % 3 == 0; };
    writeMap(dir.file("a.tif"), map);
    writeFile(dir.file("b.txt"), gridText(10, 40));
    DialogCompare dialog;
    dialog.setListFiles({QString::fromStdString(dir.file("a.tif"))});
    EXPECT_EQ(dialog.cellSizeUsed(), "Cell size used: 30 m");
    dialog.setListFiles({QString::fromStdString(dir.file("a.tif")), QString::fromStdString(dir.file("b.txt"))});
    EXPECT_EQ(dialog.cellSizeUsed(), "Cell size used: from 1 to 30 m, each window its own");
    dialog.setListFiles({QString::fromStdString(dir.file("b.txt"))});
    EXPECT_TRUE(dialog.cellSizeUsed().contains("1 m, as given above")) << dialog.cellSizeUsed().toStdString();

    // Kept landscapes grow with every replicate, and the note follows.
    const std::uint64_t tables = dialog.sizeEstimate().tables;
    EXPECT_GT(tables, 0u);
    child<QCheckBox>(dialog, "keepLandscapes")->setChecked(true);
    typeInto(child<QSpinBox>(dialog, "replicates"), "9999");
    const orvalis::CompareSize size = dialog.sizeEstimate();
    EXPECT_EQ(size.landscapes, 9999u * 4 * readFile(dir.file("b.txt")).size());
    EXPECT_TRUE(child<QLabel>(dialog, "sizeNote")->text().contains(QString::fromStdString(orvalis::sizeText(size.total()))));
}
