#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace Ui {
class DialogSites;
}

// The options of a measurement around field sites: the map (the one the Map tab shows until the
// user picks another), the sites file, the buffers' radii and shape, the habitat classes, the
// metrics, the patch rule and the table, by default NAME_metrics.csv beside the sites.
class DialogSites : public QDialog {
    Q_OBJECT

public:
    explicit DialogSites(QWidget* parent = nullptr);
    ~DialogSites() override;

    // The table a sites file gets unless the user names one: NAME_metrics.csv beside it.
    static QString defaultTable(const QString& sitesPath);

    // Takes path as the map unless the user has chosen one.
    void suggestMap(const QString& path);
    // Asked on OK: a problem keeps the dialog open and is shown in it; empty lets it close.
    void setCheck(std::function<QString()> check) { check_ = std::move(check); }
    void accept() override;

    QString mapPath() const;
    QString sitesPath() const;
    QString sitesCrs() const;
    QString radiiText() const;
    bool square() const;
    QString habitat() const;
    int neighbours() const;
    // Nothing ticked is a choice too: the caller refuses it.
    bool standardMetrics() const;
    std::vector<std::string> tickedMetrics() const;
    QString tablePath() const;
    QString problem() const;

private slots:
    void on_browseMap_clicked();
    void on_browseSites_clicked();
    void on_browseOutput_clicked();
    void on_mapPath_textEdited(const QString&);
    void on_sitesPath_textChanged(const QString&);
    void on_outputPath_textEdited(const QString&);

private:
    Ui::DialogSites* ui;
    std::function<QString()> check_;
    bool mapChosen_ = false;
    bool tableChosen_ = false;
};
