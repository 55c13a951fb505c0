// Create → Neutral landscape: the dialog's series written byte for byte as orvalis-cli neutral
// writes it, the parameter fields made from the model table, the preview made off the GUI thread.
#include "core/neutral/NeutralModels.h"
#include "gui/forms/DialogNeutral.h"
#include "support/CliRunner.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>

#include <filesystem>
#include <thread>

using namespace orvalis;
using namespace orvalis::test;

namespace {

struct NeutralActionTest : MainWindowFixture {};

struct SeriesCase {
    const char* model;  // an entry of the model chooser
    std::vector<Entry> parameters;
    const char* blend;  // with the chooser's blend entry
    bool proportions;
    const char* classes;
    int format;
    const char* cli;
};

TEST_F(NeutralActionTest, WritesTheSeriesTheCommandLineWrites)
{
    const std::vector<SeriesCase> cases{
        {"cluster", {{"parameter_p", "0.55"}}, "", false, "20,60", 0,
         "cluster --param p=0.55 --rows 40 --cols 30 --cover 20,60 --replicates 3 --seed 7 --format txt"},
        {"", {}, "0.3*fbm:h=0.8+0.7*wave", true, "0.2,0.5,0.3", 1,
         "--blend '0.3*fbm:h=0.8+0.7*wave' --rows 40 --cols 30 --proportions 0.2,0.5,0.3 --replicates 3 --seed 7 "
         "--format asc"},
    };
    for (const SeriesCase& c : cases) {
        SCOPED_TRACE(c.cli);
        const std::filesystem::path gui = dir.path() / "gui", cli = dir.path() / "cli";
        std::filesystem::remove_all(gui);
        std::filesystem::remove_all(cli);
        std::filesystem::create_directories(gui);
        std::filesystem::create_directories(cli);
        whenModalShows<DialogNeutral>([&](DialogNeutral& dialog) {
            auto* model = child<QComboBox>(dialog, "model");
            model->setCurrentIndex(*c.model ? model->findData(QString(c.model)) : model->count() - 1);
            typeEntries(dialog, c.parameters);
            if (*c.blend)
                typeInto(child<QLineEdit>(dialog, "blend"), c.blend);
            child<QRadioButton>(dialog, c.proportions ? "proportionsChoice" : "coverChoice")->setChecked(true);
            typeEntries(dialog, {{c.proportions ? "proportions" : "coverLevels", c.classes},
                                 {"rows", "40"},
                                 {"cols", "30"},
                                 {"replicates", "3"},
                                 {"seed", "7"},
                                 {"folder", QString::fromStdString(gui.string())}});
            child<QComboBox>(dialog, "format")->setCurrentIndex(c.format);
            clickButton(dialog, QDialogButtonBox::Ok);
            EXPECT_TRUE(dialog.problem().isEmpty()) << dialog.problem().toStdString();
        });
        child<QAction>(window, "actionNeutral")->trigger();
        EXPECT_TRUE(window.reportedProblems().isEmpty()) << window.reportedProblems().join("\n").toStdString();

        const CliRun run = runCli(dir, "neutral", std::string(c.cli) + " --folder cli");
        ASSERT_EQ(run.status, 0) << run.err;
        int compared = 0;
        for (const auto& entry : std::filesystem::directory_iterator(cli)) {
            const std::string name = entry.path().filename().string();
            if (entry.path().extension() == ".fbt")
                continue;
            EXPECT_EQ(readFile((gui / name).string()), readFile(entry.path().string())) << name;
            EXPECT_TRUE(listed().contains(QString::fromStdString((gui / name).string()))) << name;
            ++compared;
        }
        EXPECT_EQ(compared, c.proportions ? 3 : 6);
        EXPECT_EQ(listed().size(), compared);
    }
}

TEST(NeutralDialogTest, ParameterFieldsComeFromTheModelTable)
{
    DialogNeutral dialog;
    auto* model = child<QComboBox>(dialog, "model");
    ASSERT_EQ(model->count(), static_cast<int>(neutralModels().size()) + 1) << "every model, then the blend";
    for (const NeutralModelDef& d : neutralModels()) {
        model->setCurrentIndex(model->findData(QString::fromStdString(d.name)));
        for (const ModelParameter& p : d.parameters) {
            auto* field = child<QWidget>(dialog, ("parameter_" + p.name).c_str());
            ASSERT_NE(field, nullptr) << d.name;
            EXPECT_TRUE(field->toolTip().contains(QString::fromStdString(p.rangeText()))) << d.name << " " << p.name;
            EXPECT_TRUE(field->toolTip().contains(QString::fromStdString(p.help))) << d.name << " " << p.name;
        }
        EXPECT_EQ(dialog.findChildren<QWidget*>(QRegularExpression("^parameter_")).size(), d.parameters.size())
            << d.name << ": the previous model's fields are gone";
    }
}

TEST(NeutralDialogTest, PreviewFollowsTheLatestFieldsOffTheGuiThread)
{
    DialogNeutral dialog;
    QSignalSpy shown(&dialog, &DialogNeutral::previewShown);
    const auto waitFor = [&](QSize size) {
        for (int i = 0; i < 50 && dialog.previewImage().size() != size; ++i)
            shown.wait(200);
        return dialog.previewImage().size();
    };
    EXPECT_EQ(waitFor(QSize(100, 100)), QSize(100, 100)) << "the asked size when it fits";
    EXPECT_NE(dialog.previewThread(), std::this_thread::get_id());

    // Several changes in a row: only the last one's preview stays, at the asked shape shrunk.
    child<QComboBox>(dialog, "model")->setCurrentIndex(child<QComboBox>(dialog, "model")->findData("planar"));
    for (int side : {300, 500, 700})
        child<QSpinBox>(dialog, "rows")->setValue(side);
    child<QSpinBox>(dialog, "cols")->setValue(350);
    EXPECT_EQ(waitFor(QSize(100, 200)), QSize(100, 200));
    EXPECT_NE(dialog.previewThread(), std::this_thread::get_id());

    // A value out of range shows why instead of a picture.
    child<QComboBox>(dialog, "model")->setCurrentIndex(child<QComboBox>(dialog, "model")->findData("cluster"));
    child<QLineEdit>(dialog, "parameter_p")->setText("2");
    EXPECT_EQ(waitFor(QSize(0, 0)), QSize(0, 0));
    EXPECT_TRUE(child<QLabel>(dialog, "previewStatus")->text().contains("(0, 1")) << "the range is named";
}

}  // namespace
