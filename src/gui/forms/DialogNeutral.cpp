#include "gui/forms/DialogNeutral.h"

#include "core/neutral/NeutralModels.h"
#include "gui/EngineMessages.h"
#include "plots/CatalogueTexts.h"
#include "ui_DialogNeutral.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <new>

namespace {

// Preview colours: the matrix and the habitat, or the lowest and the highest class.
constexpr QRgb Low = qRgb(0xf3, 0xee, 0xd4);
constexpr QRgb High = qRgb(0x1f, 0x6b, 0x2c);

QRgb between(double t)
{
    const auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return qRgb(mix(qRed(Low), qRed(High)), mix(qGreen(Low), qGreen(High)), mix(qBlue(Low), qBlue(High)));
}

// The landscape's cells as an image: cover cells dark, matrix light; classes 1..k from light to dark.
QImage pictureOf(const orvalis::NeutralRunParameters& p, std::span<const int> cells)
{
    QImage image(p.cols, p.rows, QImage::Format_RGB32);
    const int classes = static_cast<int>(p.proportions.size());
    for (int r = 0; r < p.rows; ++r) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(r));
        for (int c = 0; c < p.cols; ++c) {
            const int v = cells[static_cast<std::size_t>(r) * p.cols + c];
            if (!p.coverLevels.empty())
                line[c] = v == p.coverValue ? High : Low;
            else
                line[c] = between(classes > 1 ? static_cast<double>(v - 1) / (classes - 1) : 1.0);
        }
    }
    return image;
}

QString text(const std::string& s)
{
    return QString::fromLocal8Bit(s.c_str());
}

}  // namespace

DialogNeutral::DialogNeutral(QWidget* parent) : QDialog(parent), ui(new Ui::DialogNeutral)
{
    ui->setupUi(this);
    ui->problem->hide();
    auto* blend = new QLineEdit(this);
    blend->setObjectName(QStringLiteral("blend"));
    blend->setText(QStringLiteral("0.5*fbm:h=0.8+0.5*planar"));
    blend->setToolTip(tr("Models blended as NLMpy's blendArray: WEIGHT*MODEL+WEIGHT*MODEL..., "
                         "each model with its parameters as MODEL:NAME=VALUE"));
    ui->modelForm->addRow(tr("Blend"), blend);
    blend_ = blend;
    connect(blend, &QLineEdit::textChanged, this, &DialogNeutral::fieldsChanged);
    {
        const QSignalBlocker quiet(ui->model);
        for (const orvalis::NeutralModelDef& d : orvalis::neutralModels()) {
            ui->model->addItem(
                QStringLiteral("%1: %2").arg(QString::fromStdString(d.name), orvalis::catalogue::modelTitle(d)),
                               QString::fromStdString(d.name));
        }
        ui->model->addItem(tr("blend of models"), QString());
    }
    previewDelay_.setSingleShot(true);
    previewDelay_.setInterval(120);
    connect(&previewDelay_, &QTimer::timeout, this, &DialogNeutral::startPreview);
    for (QSpinBox* box : {ui->rows, ui->cols, ui->seed})
        connect(box, &QSpinBox::valueChanged, this, &DialogNeutral::fieldsChanged);
    for (QLineEdit* edit : {ui->coverLevels, ui->proportions})
        connect(edit, &QLineEdit::textChanged, this, &DialogNeutral::fieldsChanged);
    connect(ui->coverChoice, &QRadioButton::toggled, this, &DialogNeutral::fieldsChanged);
    ui->folder->setText(QDir::currentPath());
    on_model_currentIndexChanged(ui->model->currentIndex());
}

DialogNeutral::~DialogNeutral()
{
    if (worker_.joinable())
        worker_.join();
    delete ui;
}

void DialogNeutral::on_model_currentIndexChanged(int)
{
    showParameters();
    fieldsChanged();
}

void DialogNeutral::showParameters()
{
    while (ui->parameterForm->rowCount() > 0)
        ui->parameterForm->removeRow(0);
    fields_.clear();
    const QString name = ui->model->currentData().toString();
    const bool blended = name.isEmpty();
    ui->modelForm->setRowVisible(blend_, blended);
    ui->parameterBox->setVisible(!blended);
    const orvalis::NeutralModelDef* d = orvalis::findNeutralModel(name.toStdString());
    ui->modelTitle->setText(blended ? tr("Each model's surface rescaled to [0, 1], weighted, summed and rescaled")
                                    : tr("Follows %1").arg(text(d->reference)));
    if (blended)
        return;
    if (d->parameters.empty())
        ui->parameterForm->addRow(new QLabel(tr("This model has no parameters."), ui->parameterBox));
    for (const orvalis::ModelParameter& p : d->parameters) {
        const QString fallback = !p.defaultText.empty() ? tr("default %1").arg(text(p.defaultText))
                                 : p.drawn              ? tr("drawn for every replicate")
                                 : p.required           ? tr("required")
                                                        : tr("not used");
        // The range as the command line writes it, its words ("LIST, each", "FILE") translated.
        const QString range = engineMessage(p.rangeText());
        const QString tip = tr("%1\nRange: %2\nEmpty: %3").arg(orvalis::catalogue::parameterHelp(p), range, fallback);
        QWidget* field = nullptr;
        if (p.type == orvalis::ParameterType::Choice) {
            auto* box = new QComboBox(ui->parameterBox);
            // The first entry gives nothing, so that the model keeps the table's default.
            box->addItem(fallback, QString());
            for (const std::string& c : p.choices)
                box->addItem(text(c), text(c));
            connect(box, &QComboBox::currentIndexChanged, this, &DialogNeutral::fieldsChanged);
            field = box;
        } else {
            auto* edit = new QLineEdit(ui->parameterBox);
            edit->setPlaceholderText(fallback);
            connect(edit, &QLineEdit::textChanged, this, &DialogNeutral::fieldsChanged);
            field = edit;
        }
        field->setObjectName(QStringLiteral("parameter_") + QString::fromStdString(p.name));
        field->setToolTip(tip);
        auto* label = new QLabel(QStringLiteral("%1  %2").arg(QString::fromStdString(p.name), range), ui->parameterBox);
        label->setToolTip(tip);
        ui->parameterForm->addRow(label, field);
        fields_.push_back(field);
    }
}

QString DialogNeutral::modelText() const
{
    const QString name = ui->model->currentData().toString();
    if (name.isEmpty())
        return static_cast<QLineEdit*>(blend_)->text().trimmed();
    const orvalis::NeutralModelDef* d = orvalis::findNeutralModel(name.toStdString());
    QString model = name;
    for (std::size_t i = 0; i < fields_.size() && i < d->parameters.size(); ++i) {
        QString value;
        if (auto* box = qobject_cast<QComboBox*>(fields_[i]))
            value = box->currentData().toString();
        else
            value = static_cast<QLineEdit*>(fields_[i])->text().trimmed();
        if (!value.isEmpty())
            model += QStringLiteral(":%1=%2").arg(QString::fromStdString(d->parameters[i].name), value);
    }
    return model;
}

orvalis::NeutralRunParameters DialogNeutral::parameters(QString* why) const
{
    orvalis::NeutralRunParameters p;
    std::string error;
    const std::string model = modelText().toLocal8Bit().toStdString();
    // One model is read as the command line reads MODEL: its values may hold '+' or '*'.
    if (ui->model->currentData().toString().isEmpty()) {
        if (std::optional<orvalis::SurfaceBlend> blend = orvalis::SurfaceBlend::parse(model, &error))
            p.model = std::move(*blend);
    } else if (std::optional<orvalis::ModelChoice> choice = orvalis::parseModelChoice(model, &error)) {
        p.model.parts = {{1.0, std::move(*choice)}};
    }
    p.rows = ui->rows->value();
    p.cols = ui->cols->value();
    if (error.empty()) {
        if (ui->coverChoice->isChecked())
            error = orvalis::readCoverLevels(ui->coverLevels->text().toStdString(), p.coverLevels);
        else
            error = orvalis::readClassProportions(ui->proportions->text().toStdString(), p.proportions);
    }
    p.replicates = ui->replicates->value();
    p.seed = static_cast<std::uint32_t>(ui->seed->value());
    p.format = static_cast<orvalis::GridFormat>(ui->format->currentIndex());
    p.cellSize = ui->cellSize->value();
    p.folder = QFile::encodeName(ui->folder->text().trimmed()).toStdString();
    if (error.empty())
        error = orvalis::checkNeutralParameters(p);
    if (why)
        *why = engineMessage(error);
    return p;
}

void DialogNeutral::accept()
{
    QString problem;
    parameters(&problem);
    const QString folder = ui->folder->text().trimmed();
    if (problem.isEmpty() && folder.isEmpty())
        problem = tr("Choose the folder for the landscapes.");
    else if (problem.isEmpty() && !QFileInfo(folder).isDir())
        problem = tr("The folder %1 does not exist.").arg(folder);
    if (problem.isEmpty() && check_)
        problem = check_();
    ui->problem->setText(problem);
    ui->problem->setVisible(!problem.isEmpty());
    if (problem.isEmpty())
        QDialog::accept();
}

QString DialogNeutral::problem() const
{
    return ui->problem->isVisible() ? ui->problem->text() : QString();
}

void DialogNeutral::on_browseFolder_clicked()
{
    const QString folder =
        QFileDialog::getExistingDirectory(this, tr("Choose the folder for the landscapes"), ui->folder->text());
    if (!folder.isEmpty())
        ui->folder->setText(folder);
}

void DialogNeutral::fieldsChanged()
{
    ++requested_;
    previewDelay_.start();
}

void DialogNeutral::startPreview()
{
    if (making_ != 0)
        return;  // previewMade starts the latest fields once the one in the making is done
    QString why;
    orvalis::NeutralRunParameters p = parameters(&why);
    if (why.isEmpty()) {
        // The asked size, shrunk to fit the preview with its shape kept.
        const double scale = std::min(1.0, static_cast<double>(PreviewSide) / std::max(p.rows, p.cols));
        p.rows = std::max(1, static_cast<int>(std::lround(p.rows * scale)));
        p.cols = std::max(1, static_cast<int>(std::lround(p.cols * scale)));
        p.replicates = 1;
        why = engineMessage(p.model.checkSize(p.rows, p.cols));
    }
    if (!why.isEmpty()) {
        previewMade(requested_, QImage(), why, std::this_thread::get_id());
        return;
    }
    making_ = requested_;
    if (worker_.joinable())
        worker_.join();
    const unsigned long long request = making_;
    worker_ = std::thread([this, p, request] {
        std::string error;
        QImage image;
        try {
            const orvalis::LandscapeCells cells = orvalis::neutralLandscapeCells(p, orvalis::neutralLevels(p).front(), 0, &error);
            if (!cells.empty())
                image = pictureOf(p, cells);
        } catch (const std::bad_alloc&) {
            error = "out of memory";
        }
        const QString message = text(error);
        const std::thread::id thread = std::this_thread::get_id();
        QMetaObject::invokeMethod(
            this,
            [this, request, image, message, thread] { previewMade(request, image, engineMessage(message), thread); },
            Qt::QueuedConnection);
    });
}

void DialogNeutral::previewMade(unsigned long long request, const QImage& image, const QString& error,
                                std::thread::id thread)
{
    if (making_ == request)
        making_ = 0;
    if (request != requested_) {
        // The fields changed meanwhile: only their latest state is worth showing.
        if (!previewDelay_.isActive())
            startPreview();
        return;
    }
    previewImage_ = image;
    previewThread_ = thread;
    if (image.isNull()) {
        ui->preview->clear();
        ui->previewStatus->setText(error);
    } else {
        const QSize room = ui->preview->minimumSize();
        ui->preview->setPixmap(QPixmap::fromImage(image.scaled(room, Qt::KeepAspectRatio, Qt::FastTransformation)));
        ui->previewStatus->setText(tr("%1 x %2 cells shown").arg(image.height()).arg(image.width()));
    }
    emit previewShown();
}
