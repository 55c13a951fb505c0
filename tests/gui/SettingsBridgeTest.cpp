#include "gui/MainWindow.h"

#include "support/Timing.h"
#include "support/NamedCase.h"
#include "support/TempDir.h"
#include "support/WidgetHelpers.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace {

using namespace orvalis::test;

// A window built in a fresh working folder, with whatever config.txt the test put there.
struct Fixture {
    TempDir dir;
    std::optional<WorkingDir> cwd;
    std::unique_ptr<MainWindow> window;

    explicit Fixture(const std::optional<std::string>& config = std::nullopt)
    {
        cwd.emplace(dir.path());
        if (config)
            writeFile("config.txt", *config);
    }
    ~Fixture() { window.reset(); }

    MainWindow& open()
    {
        window = std::make_unique<MainWindow>();
        QCoreApplication::processEvents();
        return *window;
    }

    // Runs the Parameters command; `inDialog` acts on the shown dialog, then the
    // named button is clicked.
    void parameters(QDialogButtonBox::StandardButton button, const std::function<void(setings&)>& inDialog = {})
    {
        setings& d = window->settingsDialog();
        bool shown = false;
        QTimer::singleShot(0, &d, [&] {
            shown = d.isVisible();
            if (inDialog)
                inDialog(d);
            clickButton(d, button);
        });
        window->findChild<QAction*>("actionParametros")->trigger();
        EXPECT_TRUE(shown);
    }
};

struct StartCase : NamedCase {
    std::optional<std::string> config;  // nothing: no file; "/": a folder named config.txt
    const char* prefix;
    const char* postString;
    int cover, matrix;
    const char* problemMentions;  // nullptr: no message
};

class StartUpTest : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartUpTest, ReadsConfigQuicklyAndTellsOnlyAboutBrokenFiles)
{
    const StartCase& c = GetParam();
    Fixture f(c.config == "/" ? std::nullopt : c.config);
    if (c.config == "/")
        std::filesystem::create_directory("config.txt");
    const auto start = std::chrono::steady_clock::now();
    MainWindow& w = f.open();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
              orvalis::test::QuickSeconds);
    EXPECT_EQ(w.settings().samplePrefix, QString::fromUtf8(c.prefix));
    EXPECT_EQ(w.settings().samplePostString, QString::fromUtf8(c.postString));
    EXPECT_EQ(w.settings().coverValue, c.cover);
    EXPECT_EQ(w.settings().matrixValue, c.matrix);
    if (c.problemMentions) {
        ASSERT_EQ(w.reportedProblems().size(), 1);
        EXPECT_TRUE(w.reportedProblems()[0].contains("config.txt"));
        EXPECT_TRUE(w.reportedProblems()[0].contains(c.problemMentions)) << w.reportedProblems()[0].toStdString();
    } else {
        EXPECT_TRUE(w.reportedProblems().isEmpty());
    }
    // The dialog is filled only by the Parameters command.
    EXPECT_EQ(w.settingsDialog().sampleName(), "SMP_");
}

INSTANTIATE_TEST_SUITE_P(
    Configs, StartUpTest,
    ::testing::Values(
        StartCase{"NoFile", std::nullopt, "", "", 1, 0, nullptr},
        StartCase{"UnixFile", "SMP_\n\n1\n0\n", "SMP_", "", 1, 0, nullptr},
        StartCase{"WindowsLatin1File", "Amostra_\xe7\xe3o\r\n  , x, 999\r\n5 -2\r\n", "Amostra_\xc3\xa7\xc3\xa3o",
                  "  , x, 999", 5, -2, nullptr},
        StartCase{"CoverAboveSpinBoxMaximum", "p\nq\n123456\n0\n", "p", "q", 123456, 0, nullptr},
        StartCase{"TextForTheCover", "p\nq\nabc\n3\n", "p", "q", 1, 0, "using cover value 1, matrix value 0."},
        StartCase{"Folder", "/", "", "", 1, 0, "using sample name empty, sample post-string empty, cover value 1, matrix value 0."},
        StartCase{"Binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "", "", 1, 0, "sample name"}),
    CaseName());

TEST(StartUp, HugeConfigStillOpensQuicklyWithDefaults)
{
    Fixture f;
    writeFile("config.txt", "SMP_\n");
    std::filesystem::resize_file("config.txt", 100u << 20);
    const auto start = std::chrono::steady_clock::now();
    MainWindow& w = f.open();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
              orvalis::test::QuickSeconds);
    EXPECT_EQ(w.settings().samplePrefix, "SMP_");
    EXPECT_EQ(w.settings().samplePostString, "");
    EXPECT_EQ(w.settings().coverValue, 1);
    ASSERT_EQ(w.reportedProblems().size(), 1);
    EXPECT_TRUE(w.reportedProblems()[0].contains("using sample post-string empty, cover value 1, matrix value 0."));
}

TEST(ParametersCommand, OkWithoutChangesRewritesTheFileInFourLines)
{
    Fixture f("SMP_\r\n\r\n1 0\r\n");
    f.open();
    f.parameters(QDialogButtonBox::Ok);
    EXPECT_EQ(readFile("config.txt"), "SMP_\n\n1\n0\n");
}

TEST(ParametersCommand, OkStoresTypedValuesAndTheNextStartReadsThem)
{
    Fixture f("old\nold post\n1\n0\n");
    MainWindow& w = f.open();
    const QString prefix = QString::fromUtf8("\xc3\x81rea \xe6\x97\xa5\xe6\x9c\xac_");
    f.parameters(QDialogButtonBox::Ok, [&](setings& d) {
        EXPECT_EQ(d.sampleName(), "old");
        EXPECT_EQ(d.postString(), "old post");
        d.findChild<QLineEdit*>("preTextSmp")->setText(prefix);
        typeInto(d.findChild<QLineEdit*>("posTextSmp"), "  , x, 999, 1, 1");
        typeInto(d.findChild<QSpinBox*>("coverValue"), "-17");
        typeInto(d.findChild<QSpinBox*>("matrixValue"), "250");
    });
    EXPECT_EQ(w.settings().samplePrefix, prefix);
    EXPECT_EQ(w.settings().samplePostString, "  , x, 999, 1, 1");
    EXPECT_EQ(w.settings().coverValue, -17);
    EXPECT_EQ(w.settings().matrixValue, 250);
    EXPECT_EQ(readFile("config.txt"), prefix.toStdString() + "\n  , x, 999, 1, 1\n-17\n250\n");
    EXPECT_TRUE(w.reportedProblems().isEmpty());

    MainWindow again;
    EXPECT_EQ(again.settings().samplePrefix, prefix);
    EXPECT_EQ(again.settings().samplePostString, "  , x, 999, 1, 1");
    EXPECT_EQ(again.settings().coverValue, -17);
    EXPECT_EQ(again.settings().matrixValue, 250);
}

TEST(ParametersCommand, CancelChangesNothingEvenAfterEdits)
{
    const std::string original = "p \r\n, q\r\n  3\r\n\r\n4";
    Fixture f(original);
    MainWindow& w = f.open();
    f.parameters(QDialogButtonBox::Cancel, [](setings& d) {
        typeInto(d.findChild<QLineEdit*>("preTextSmp"), "changed");
        typeInto(d.findChild<QSpinBox*>("coverValue"), "99");
        typeInto(d.findChild<QSpinBox*>("seedRnd"), "777");
    });
    // Every field shows again what it showed when the dialog opened; the next Random run uses the old seed.
    EXPECT_EQ(w.settingsDialog().sampleName(), "p ");
    EXPECT_EQ(w.settingsDialog().cover(), 3);
    EXPECT_EQ(w.settingsDialog().randomSeed(), 5);
    EXPECT_EQ(w.settings().samplePrefix, "p ");
    EXPECT_EQ(w.settings().samplePostString, ", q");
    EXPECT_EQ(w.settings().coverValue, 3);
    EXPECT_EQ(w.settings().matrixValue, 4);
    EXPECT_EQ(readFile("config.txt"), original);
}

TEST(ParametersCommand, CoverAboveTheSpinBoxIsKeptUntilAccepted)
{
    Fixture f("p\nq\n123456\n-2000000\n");
    MainWindow& w = f.open();
    f.parameters(QDialogButtonBox::Cancel, [](setings& d) {
        EXPECT_EQ(d.cover(), 99999);
        EXPECT_EQ(d.matrix(), -999999);
    });
    EXPECT_EQ(w.settings().coverValue, 123456);
    EXPECT_EQ(w.settings().matrixValue, -2000000);
    f.parameters(QDialogButtonBox::Ok);
    EXPECT_EQ(w.settings().coverValue, 99999);
    EXPECT_EQ(w.settings().matrixValue, -999999);
    EXPECT_EQ(readFile("config.txt"), "p\nq\n99999\n-999999\n");
}

TEST(ParametersCommand, SeedKeepsItsValueBetweenOpeningsAndIsNotStored)
{
    Fixture f;
    MainWindow& w = f.open();
    f.parameters(QDialogButtonBox::Ok, [](setings& d) { typeInto(d.findChild<QSpinBox*>("seedRnd"), "4242"); });
    f.parameters(QDialogButtonBox::Cancel, [](setings& d) { EXPECT_EQ(d.randomSeed(), 4242); });
    EXPECT_EQ(w.settingsDialog().randomSeed(), 4242);
    EXPECT_EQ(readFile("config.txt"), "\n\n1\n0\n");
}

TEST(ParametersCommand, AConfigChangedOnDiskIsReplacedOnlyWhenTheUserSaysSo)
{
    Fixture f("p\nq\n1\n0\n");
    MainWindow& w = f.open();
    writeFile("config.txt", "edited\nelsewhere\n7\n8\n");
    for (const auto& [answer, expected] : {std::pair{QMessageBox::No, "edited\nelsewhere\n7\n8\n"},
                                           std::pair{QMessageBox::Yes, "p\nq\n1\n0\n"}}) {
        // The question comes once the settings dialog has closed.
        QTimer asker;
        QObject::connect(&asker, &QTimer::timeout, [&asker, answer = answer] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asker.stop();
                EXPECT_TRUE(box->text().contains("changed on disk"));
                box->button(answer)->click();
            }
        });
        asker.start(10);
        f.parameters(QDialogButtonBox::Ok);
        EXPECT_EQ(readFile("config.txt"), expected);
    }
    EXPECT_EQ(w.reportedProblems().size(), 1);  // the No: the file was left as it was
    f.parameters(QDialogButtonBox::Ok);         // saved by us since: no question now
    EXPECT_EQ(readFile("config.txt"), "p\nq\n1\n0\n");
}

TEST(ParametersCommand, UnwritableConfigKeepsTheValuesAndTellsTheUser)
{
    Fixture f;
    std::filesystem::create_directory("config.txt");
    MainWindow& w = f.open();
    const qsizetype before = w.reportedProblems().size();
    f.parameters(QDialogButtonBox::Ok, [](setings& d) {
        typeInto(d.findChild<QLineEdit*>("preTextSmp"), "kept_");
        typeInto(d.findChild<QSpinBox*>("matrixValue"), "9");
    });
    EXPECT_EQ(w.settings().samplePrefix, "kept_");
    EXPECT_EQ(w.settings().matrixValue, 9);
    ASSERT_EQ(w.reportedProblems().size(), before + 1);
    EXPECT_TRUE(w.reportedProblems().last().contains("could not be saved in config.txt"));
    EXPECT_TRUE(std::filesystem::is_directory("config.txt"));
}

TEST(ParametersCommand, PastedLineBreakIsNotSavedAndTheUserIsTold)
{
    Fixture f("old\n\n1\n0\n");
    MainWindow& w = f.open();
    f.parameters(QDialogButtonBox::Ok,
                 [](setings& d) { d.findChild<QLineEdit*>("posTextSmp")->setText(", x\n, y"); });
    EXPECT_EQ(w.settings().samplePostString, ", x\n, y");
    ASSERT_EQ(w.reportedProblems().size(), 1);
    EXPECT_TRUE(w.reportedProblems()[0].contains("line break"));
    EXPECT_EQ(readFile("config.txt"), "old\n\n1\n0\n");
}

}  // namespace
