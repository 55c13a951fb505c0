#include "gui/SitesResultsView.h"

#include "core/io/SafeFile.h"
#include "gui/SitesTable.h"
#include "gui/Texts.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <cerrno>
#include <cstring>

SitesResultsView::SitesResultsView(const QString& table, SiteRows rows, const QStringList& notes, QWidget* parent)
    : QDialog(parent), tablePath_(table)
{
    setWindowTitle(texts::sitesResultsTitle());
    model_ = new SitesTable(std::move(rows), this);
    where_ = new QLabel(texts::sitesTableIn(QDir::toNativeSeparators(table)));
    where_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    where_->setWordWrap(true);
    view_ = new QTableView;
    view_->setObjectName(QStringLiteral("sitesTable"));
    view_->setModel(model_);
    // The table's own order until a header is clicked.
    view_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    view_->setSortingEnabled(true);
    view_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->verticalHeader()->hide();
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setAlternatingRowColors(true);
    view_->resizeColumnsToContents();

    notes_ = new QListWidget;
    notes_->setObjectName(QStringLiteral("sitesNotes"));
    notes_->setWordWrap(true);
    notes_->addItems(notes);
    auto* notesPart = new QWidget;
    auto* notesLayout = new QVBoxLayout(notesPart);
    notesLayout->setContentsMargins(0, 0, 0, 0);
    notesLayout->addWidget(new QLabel(texts::sitesNotesTitle()));
    notesLayout->addWidget(notes_);
    notesPart->setVisible(!notes.isEmpty());
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(view_);
    split->addWidget(notesPart);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);

    auto* exportButton = new QPushButton(texts::sitesExport());
    exportButton->setObjectName(QStringLiteral("exportTable"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->addButton(exportButton, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(where_);
    layout->addWidget(split, 1);
    layout->addWidget(buttons);
    connect(exportButton, &QPushButton::clicked, this, &SitesResultsView::askExport);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(720, 560);
}

bool SitesResultsView::exportTable(const QString& file, QString* error) const
{
    if (orvalis::writeWholeFile(QFile::encodeName(file).toStdString(), model_->rows().csv()))
        return true;
    if (error)
        *error = texts::sitesExportFailed(QDir::toNativeSeparators(file), QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

void SitesResultsView::askExport()
{
    QString file = QFileDialog::getSaveFileName(this, texts::chooseSitesTable(), QFileInfo(tablePath_).absolutePath(),
                                                texts::csvFilter());
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".csv");
    QString error;
    where_->setText(exportTable(file, &error) ? texts::sitesExported(QDir::toNativeSeparators(file)) : error);
}
