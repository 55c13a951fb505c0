#pragma once

#include <QDialog>
#include <QString>

namespace Ui {
class setings;
}

// Edits the four stored settings and holds the random seed for this run.
class setings : public QDialog {
    Q_OBJECT

public:
    explicit setings(QWidget* parent = nullptr);
    ~setings() override;

    void setSampleName(const QString& name);
    void setPostString(const QString& postString);
    // The spin boxes clamp values outside their ranges.
    void setCover(int value);
    void setMatrix(int value);
    void setRandomSeed(int value);

    QString sampleName() const;
    QString postString() const;
    int cover() const;
    int matrix() const;
    int randomSeed() const;

private:
    Ui::setings* ui;
};
