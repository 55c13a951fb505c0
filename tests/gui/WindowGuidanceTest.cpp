#include "core/run/RunResult.h"
#include "gui/EngineMessages.h"
#include "gui/Language.h"
#include "gui/MainWindow.h"
#include "gui/Texts.h"
#include "gui/forms/DialogCompare.h"
#include "gui/forms/DialogNeutral.h"
#include "gui/forms/DialogRnd.h"
#include "gui/forms/DialogSample.h"
#include "gui/forms/DialogSites.h"
#include "gui/forms/DialogSurface.h"
#include "gui/forms/dialogFbm.h"
#include "plots/CatalogueTexts.h"
#include "plots/CompareCharts.h"
#include "support/MainWindowFixture.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QTranslator>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

using namespace orvalis::test;

namespace {

// The window's language for one test; the source texts come back when it ends.
struct LanguageGuard {
    explicit LanguageGuard(const QString& lang) { loaded = language::install(*qApp, lang); }
    ~LanguageGuard()
    {
        for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }
    bool loaded = false;
};

QStringList labelTexts(const QWidget& form)
{
    QStringList texts;
    for (const QLabel* label : form.findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

QAction* action(QObject& window, const char* name)
{
    return child<QAction>(window, name);
}

}  // namespace

TEST(Language, ChosenByRequestThenLocale)
{
    struct Case {
        const char* requested;
        QLocale locale;
        const char* expected;
    };
    const Case cases[] = {
        {"", QLocale(QLocale::Portuguese, QLocale::Brazil), "pt_BR"},
        {"", QLocale(QLocale::Portuguese, QLocale::Portugal), "pt_BR"},
        {"", QLocale(QLocale::German, QLocale::Germany), "en"},
        {"", QLocale::c(), "en"},
        {"en", QLocale(QLocale::Portuguese, QLocale::Brazil), "en"},
        {"pt", QLocale(QLocale::English, QLocale::UnitedStates), "pt_BR"},
        {"PT-br", QLocale::c(), "pt_BR"},
        {"en_GB", QLocale::c(), "en"},
        {"fr", QLocale::c(), ""},
        {"portuguese", QLocale::c(), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(language::choose(QString::fromLatin1(c.requested), c.locale), QString::fromLatin1(c.expected))
            << c.requested << " " << c.locale.name().toStdString();
}

TEST(Language, EachLanguageReachesEveryKindOfText)
{
    struct Case {
        const char* lang;
        const char* progress;  // a run's progress dialog (a Portuguese source text)
        const char* openTitle;  // a file chooser (a misspelt source text)
        const char* replicates;  // a label of a form
        const char* fileMenu;  // the window's own form
        const char* runName;  // a name the run passes by pointer
    };
    const Case cases[] = {
        {"en", "Calculating\u2026", "Choose files to open", "Number of replicates", "File", "Sample"},
        {"pt_BR", "Calculando\u2026", "Escolha os arquivos a abrir", "N\u00famero de r\u00e9plicas", "Arquivo",
         "Amostragem"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lang);
        LanguageGuard guard{QString::fromLatin1(c.lang)};
        ASSERT_TRUE(guard.loaded);
        EXPECT_EQ(texts::calculating(), QString::fromUtf8(c.progress));
        EXPECT_EQ(texts::chooseFilesToOpen(), QString::fromUtf8(c.openTitle));
        EXPECT_TRUE(texts::runSummary("Sample", "2 windows").startsWith(QString::fromUtf8(c.runName) + ": "));
        DialogSample sample;
        EXPECT_TRUE(labelTexts(sample).contains(QString::fromUtf8(c.replicates))) << labelTexts(sample).join('|').toStdString();
        TempDir dir;
        WorkingDir cwd{dir.path()};
        MainWindow window;
        EXPECT_EQ(child<QMenu>(window, "menuOpen")->title(), QString::fromUtf8(c.fileMenu));
    }
    EXPECT_EQ(texts::calculating(), "Calculando...") << "without a translation the source text shows";
}

TEST(Language, UnknownTranslationIsNotLoaded)
{
    LanguageGuard guard{"de"};
    EXPECT_FALSE(guard.loaded);
    EXPECT_EQ(texts::chooseFilesToOpen(), "Choose file(s) do open");
}

// A translation that drops or adds a %1 would show the wrong value or a raw placeholder.
TEST(Language, TranslationsKeepEveryPlaceholder)
{
    static const QRegularExpression placeholder(QStringLiteral("%(n|[1-9])"));
    auto placeholders = [](const QString& text) {
        QSet<QString> found;
        for (auto it = placeholder.globalMatch(text); it.hasNext();)
            found.insert(it.next().captured());
        return found;
    };
    for (const char* name : {"orvalis_en.ts", "orvalis_pt_BR.ts"}) {
        QFile file(QStringLiteral(ORVALIS_SOURCE_DIR_BUILT "/src/gui/translations/") + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        QXmlStreamReader xml(&file);
        QString source;
        int messages = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"source") {
                source = xml.readElementText();
            } else if (xml.name() == u"translation" || xml.name() == u"numerusform") {
                const QString translated = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                if (translated.trimmed().isEmpty())
                    continue;
                ++messages;
                EXPECT_EQ(placeholders(translated), placeholders(source))
                    << name << ": " << source.toStdString() << " -> " << translated.toStdString();
            }
        }
        EXPECT_FALSE(xml.hasError()) << name << xml.errorString().toStdString();
        EXPECT_GT(messages, 300) << name;
    }
}

// The window formats a run's summary itself; untranslated it says what the command line prints.
TEST(Language, RunSummaryReadsAsTheCommandLines)
{
    const auto result = [](std::size_t written, long long asked, int shortLevels) {
        orvalis::RunResult r;
        r.files.assign(written, "f.txt");
        r.asked = asked;
        for (int i = 0; i < shortLevels; ++i)
            r.shortLevels.push_back({"H 0.50, " + std::to_string(i) + " %", i % 2, 2});
        return r;
    };
    const orvalis::RunResult cases[] = {result(3, 3, 0), result(0, 4, 1), result(5, 40, 3), result(1, 60, 14)};
    for (const orvalis::RunResult& r : cases) {
        EXPECT_EQ(texts::filesWritten(r, texts::RunFiles::Windows),
                  QString::fromStdString(orvalis::runSummary(r, "windows")));
        EXPECT_EQ(texts::filesWritten(r, texts::RunFiles::Landscapes, 2),
                  QString::fromStdString(orvalis::runSummary(r, "landscapes", 2)));
    }
}

// In each language: a run's summary, a metric's name and a chart's texts.
TEST(Language, EnginesTextsSpeakTheWindowsLanguage)
{
    orvalis::RunResult run;
    run.files = {"a.txt"};
    run.asked = 2;
    run.shortLevels = {{"10 %", 0, 1}};
    orvalis::ChartTables tables;
    const orvalis::ChartKey key{false, 1, "ed"};
    tables.keys = {key};
    tables.habitatClass = 1;
    tables.real[key] = {{"a.txt", 30, 12.5}};
    const orvalis::MetricDef* ed = orvalis::findMetric("ed", orvalis::MetricLevel::Class);
    ASSERT_NE(ed, nullptr);
    struct Case {
        const char* lang;
        const char* summary;
        const char* name;
        const char* title;
        const char* axis;
    };
    const Case cases[] = {
        {"en", "Random landscapes: 1 of 2 landscapes written; short: 10 % (0 of 1).", "edge density",
         "Edge density (ed), habitat (class 1)", "Habitat cover (%)"},
        {"pt_BR", "Paisagens aleat\u00f3rias: 1 de 2 paisagens gravadas; incompletos: 10 % (0 de 1).",
         "densidade de borda", "Densidade de borda (ed), habitat (classe 1)", "Cobertura de habitat (%)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lang);
        LanguageGuard guard{QString::fromLatin1(c.lang)};
        ASSERT_TRUE(guard.loaded);
        EXPECT_EQ(texts::runSummary("Random landscapes", run, texts::RunFiles::Landscapes),
                  QString::fromUtf8(c.summary));
        EXPECT_EQ(orvalis::catalogue::metricName(*ed), QString::fromUtf8(c.name));
        const std::unique_ptr<QChart> chart(orvalis::makeCompareChart(tables, key));
        EXPECT_TRUE(chart->title().startsWith(QString::fromUtf8(c.title))) << chart->title().toStdString();
        EXPECT_EQ(chart->axes(Qt::Horizontal).first()->titleText(), QString::fromUtf8(c.axis));
    }
    // Without a translator, as in orvalis-cli, the pictures keep their texts to the byte.
    const std::unique_ptr<QChart> chart(orvalis::makeCompareChart(tables, key));
    EXPECT_EQ(chart->title(), QString::fromUtf8("Edge density (ed), habitat (class 1)<br><span style=\"font-weight:normal; "
                                                "font-size:small\">lines: medians; hatched bands: 2.5–97.5 % of the "
                                                "replicates; dots: real windows</span>"));
}

// An engine's message: its values translated where they are sentences and kept as written where
// they are not (a "%1" in a file name stays), a list sentence by sentence, the unknown as it is.
TEST(Language, EngineMessagesTranslatedSentenceBySentence)
{
    struct Case {
        const char* engine;
        const char* portuguese;
    };
    const Case cases[] = {
        {"could not write out/100%1.txt: out of memory",
         "n\u00e3o foi poss\u00edvel gravar out/100%1.txt: mem\u00f3ria insuficiente"},
        {"line 3 (cover value) is missing", "linha 3 (valor de cobertura) est\u00e1 ausente"},
        {"curds: proportions=0.2/x: 'x' is not a number; its parameters: proportions LIST, each [0, 1], default 0.25",
         "curds: proportions=0.2/x: 'x' n\u00e3o \u00e9 um n\u00famero; seus par\u00e2metros: proportions LISTA, cada "
         "[0, 1], padr\u00e3o 0.25"},
        {"the search spent all its tries; an engine sentence no pattern knows",
         "a busca esgotou todas as tentativas; an engine sentence no pattern knows"},
        {"an engine sentence no pattern knows", "an engine sentence no pattern knows"},
    };
    for (const char* lang : {"en", "pt_BR"}) {
        LanguageGuard guard{QString::fromLatin1(lang)};
        ASSERT_TRUE(guard.loaded);
        for (const Case& c : cases)
            EXPECT_EQ(engineMessage(std::string(c.engine)).toStdString(),
                      std::string(lang) == "en" ? c.engine : c.portuguese)
                << lang;
    }
}

// lupdate reads the tables' texts from a list written from the tables: a metric or a model added
// without scripts/update-translations.sh fails here, and so does one left untranslated.
TEST(Language, EveryTableTextIsListedAndTranslated)
{
    std::ifstream in(ORVALIS_SOURCE_DIR_BUILT "/src/gui/translations/catalogue-texts.cpp", std::ios::binary);
    std::stringstream listed;
    listed << in.rdbuf();
    EXPECT_TRUE(listed.str() == orvalis::catalogue::lupdateSource())
        << "src/gui/translations/catalogue-texts.cpp is out of date: run scripts/update-translations.sh";
    QTranslator portuguese;
    ASSERT_TRUE(portuguese.load(QStringLiteral(":/i18n/orvalis_pt_BR.qm")));
    for (const orvalis::catalogue::Text& t : orvalis::catalogue::allTexts())
        EXPECT_FALSE(portuguese.translate(t.context, t.text.c_str()).isEmpty()) << t.context << ": " << t.text;
}

TEST_F(MainWindowFixture, FirstScreenSaysWhatToDoUntilAFileIsListed)
{
    auto* hint = child<QWidget>(window, "firstScreen");
    QAction* exportPicture = action(window, "actionExportPicture");
    EXPECT_TRUE(hint->isVisible());
    EXPECT_TRUE(child<QLabel>(window, "gridLegend")->text().isEmpty()) << "no legend for an empty view";
    EXPECT_FALSE(exportPicture->isEnabled()) << "nothing to export yet";

    const QString path = QString::fromStdString(dir.file("g.txt"));
    writeFile(path.toStdString(), "0 1 \n1 1 \n");
    window.openFiles({path});
    EXPECT_FALSE(hint->isVisible());
    EXPECT_TRUE(exportPicture->isEnabled());
    EXPECT_FALSE(child<QLabel>(window, "gridLegend")->text().isEmpty());

    action(window, "actionClearList")->trigger();
    EXPECT_TRUE(hint->isVisible());
    EXPECT_FALSE(exportPicture->isEnabled());
}

TEST_F(MainWindowFixture, ExampleButtonShowsTheExampleOnTheMap)
{
    auto* tabs = child<QTabWidget>(window, "viewTabs");
    for (const char* name : {"exampleImage", "exampleMap"}) {
        tabs->setCurrentIndex(0);
        auto* button = child<QPushButton>(window, name);
        ASSERT_NE(button, nullptr);
        button->click();
        EXPECT_EQ(tabs->currentWidget()->objectName(), "mapView") << name;
    }
}

TEST_F(MainWindowFixture, ManualOpensTheReadme)
{
    QStringList help;
    for (QAction* a : child<QMenu>(window, "menuHelp")->actions())
        help << a->objectName();
    EXPECT_EQ(help, (QStringList{"actionManual", "actionAbout"}));
    action(window, "actionManual")->trigger();
    auto* text = window.findChild<QTextBrowser*>("manualText");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().contains("Quick start")) << text->toPlainText().left(200).toStdString();
    action(window, "actionManual")->trigger();
    EXPECT_EQ(window.findChildren<QTextBrowser*>("manualText").size(), 1) << "one manual open at a time";
}

TEST_F(MainWindowFixture, ViewMenuBringsBackEveryClosedPanel)
{
    QMenu* view = child<QMenu>(window, "menuView");
    QList<QWidget*> panels;
    for (QDockWidget* dock : window.findChildren<QDockWidget*>())
        panels << dock;
    for (QToolBar* bar : window.findChildren<QToolBar*>())
        panels << bar;
    ASSERT_GE(panels.size(), 2);
    for (QWidget* panel : panels) {
        SCOPED_TRACE(panel->objectName().toStdString());
        panel->close();
        ASSERT_FALSE(panel->isVisible());
        QAction* back = nullptr;
        for (QAction* a : view->actions())
            if ((qobject_cast<QDockWidget*>(panel) && a == static_cast<QDockWidget*>(panel)->toggleViewAction()) ||
                (qobject_cast<QToolBar*>(panel) && a == static_cast<QToolBar*>(panel)->toggleViewAction()))
                back = a;
        ASSERT_NE(back, nullptr);
        back->trigger();
        EXPECT_TRUE(panel->isVisible());
    }
}

TEST_F(MainWindowFixture, EveryDialogFieldExplainsItself)
{
    std::vector<std::unique_ptr<QDialog>> made;
    made.push_back(std::make_unique<DialogRnd>());
    made.push_back(std::make_unique<dialogFbm>());
    made.push_back(std::make_unique<DialogCompare>());
    made.push_back(std::make_unique<DialogNeutral>());
    made.push_back(std::make_unique<DialogSites>());
    made.push_back(std::make_unique<DialogSurface>());
    std::vector<QDialog*> dialogs{&window.settingsDialog(), &window.sampleDialog()};
    for (auto& d : made)
        dialogs.push_back(d.get());
    for (QDialog* dialog : dialogs) {
        dialog->show();
        for (QWidget* field : dialog->findChildren<QWidget*>()) {
            const bool input = qobject_cast<QAbstractSpinBox*>(field) || qobject_cast<QLineEdit*>(field) ||
                               qobject_cast<QComboBox*>(field) || qobject_cast<QAbstractItemView*>(field) ||
                               qobject_cast<QAbstractButton*>(field);
            // OK and Cancel speak for themselves; the parts of a spin box, a combo box or a list are covered by its tip.
            QWidget* parent = field->parentWidget();
            if (!input || qobject_cast<QDialogButtonBox*>(parent) || qobject_cast<QAbstractSpinBox*>(parent) ||
                qobject_cast<QComboBox*>(parent) || qobject_cast<QAbstractItemView*>(parent) ||
                field->objectName().startsWith("qt_"))
                continue;
            EXPECT_FALSE(field->toolTip().isEmpty())
                << dialog->metaObject()->className() << "::" << field->objectName().toStdString();
        }
        dialog->hide();
    }
}

TEST_F(MainWindowFixture, FileListKeepsItsWidthWhenTheLineBelowTheGridGrows)
{
    window.resize(1000, 600);
    QApplication::processEvents();
    const QString path = QString::fromStdString(dir.file(std::string(150, 'w') + ".txt"));
    writeFile(path.toStdString(), "0 1 \n1 1 \n");
    const QString shortPath = QString::fromStdString(dir.file("a.txt"));
    writeFile(shortPath.toStdString(), "0 1 \n1 1 \n");
    window.openFiles({shortPath});
    QApplication::processEvents();
    auto* pane = child<QWidget>(window, "listPane");
    const int width = pane->width();
    window.openFiles({path});
    QApplication::processEvents();
    EXPECT_EQ(pane->width(), width);
    EXPECT_LE(window.width(), 1000);
}
