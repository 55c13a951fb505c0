#pragma once

#include "core/surface/SurfaceLayout.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace Ui {
class DialogSurface;
}

// The options of a moving-window surface: the map (the one the Map tab shows until the user picks
// another), the window's side and shape, the step, the habitat classes, the metrics ticked, the
// patch rule and the GeoTIFF to write, by default NAME_surface.tif beside the map.
class DialogSurface : public QDialog {
    Q_OBJECT

public:
    explicit DialogSurface(QWidget* parent = nullptr);
    ~DialogSurface() override;

    // The surface a map gets unless the user names one: NAME_surface.tif beside it.
    static QString defaultSurface(const QString& mapPath);

    // Takes path as the map unless the user has chosen one.
    void suggestMap(const QString& path);
    // Asked on OK: a problem keeps the dialog open and is shown in it; empty lets it close.
    void setCheck(std::function<QString()> check) { check_ = std::move(check); }
    void accept() override;

    QString mapPath() const;
    int window() const;
    orvalis::WindowShape shape() const;
    int step() const;
    QString habitat() const;
    int neighbours() const;
    std::vector<std::string> tickedMetrics() const;
    QString surfacePath() const;
    QString problem() const;

private slots:
    void on_browseMap_clicked();
    void on_browseOutput_clicked();
    void on_mapPath_textEdited(const QString&);
    void on_mapPath_textChanged(const QString&);
    void on_outputPath_textEdited(const QString&);

private:
    Ui::DialogSurface* ui;
    std::function<QString()> check_;
    bool mapChosen_ = false;
    bool surfaceChosen_ = false;
};
