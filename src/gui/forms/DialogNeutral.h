#pragma once

#include "core/neutral/NeutralRun.h"

#include <QDialog>
#include <QImage>
#include <QString>
#include <QTimer>

#include <functional>
#include <thread>
#include <vector>

namespace Ui {
class DialogNeutral;
}
class QWidget;

// The options of a series of neutral landscapes: a model (or a blend of models) with its
// parameters, each field made from the model table with its range and help as a tooltip, the
// size, the cover levels or class proportions, the replicates, the seed, the format and the
// folder. A preview of the first landscape of the series follows the fields, made on a thread
// of its own; the latest fields win over a preview still in the making.
class DialogNeutral : public QDialog {
    Q_OBJECT

public:
    // Largest side of the preview: larger landscapes are previewed at this size, their shape kept.
    static constexpr int PreviewSide = 200;

    explicit DialogNeutral(QWidget* parent = nullptr);
    ~DialogNeutral() override;

    // The series the fields ask for, with class values 1 and 0 and no post-string; *why names
    // what stops it (empty when nothing does).
    orvalis::NeutralRunParameters parameters(QString* why) const;
    // The model or blend as the command line writes it: "cluster:p=0.55", "0.5*fbm+0.5*planar".
    QString modelText() const;

    // Asked on OK: a problem keeps the dialog open and is shown in it; empty lets it close.
    void setCheck(std::function<QString()> check) { check_ = std::move(check); }
    void accept() override;
    QString problem() const;

    // The preview shown last, and the thread that made it.
    const QImage& previewImage() const { return previewImage_; }
    std::thread::id previewThread() const { return previewThread_; }

signals:
    // A preview was made for the fields as they are now (or the reason none can be).
    void previewShown();

private slots:
    void on_model_currentIndexChanged(int index);
    void on_browseFolder_clicked();

private:
    void showParameters();
    void fieldsChanged();
    void startPreview();
    void previewMade(unsigned long long request, const QImage& image, const QString& error,
                     std::thread::id thread);

    Ui::DialogNeutral* ui;
    std::function<QString()> check_;
    QWidget* blend_ = nullptr;
    std::vector<QWidget*> fields_;  // the model's parameters, in table order
    QTimer previewDelay_;
    unsigned long long requested_ = 0;  // fields changes so far
    unsigned long long making_ = 0;     // the request the worker makes; 0 when idle
    std::thread worker_;
    QImage previewImage_;
    std::thread::id previewThread_;
};
