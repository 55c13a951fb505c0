#pragma once

#include "gui/SiteRows.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QListWidget;
class QTableView;
class SitesTable;

// A sites table as written: its rows, sortable, values rounded for reading with every digit in
// their tooltips; the warnings and the sites that were not measured under it; Export... saves
// the table elsewhere.
class SitesResultsView : public QDialog {
    Q_OBJECT

public:
    SitesResultsView(const QString& table, SiteRows rows, const QStringList& notes, QWidget* parent = nullptr);

    SitesTable* table() const { return model_; }
    QTableView* view() const { return view_; }
    QListWidget* notes() const { return notes_; }
    // Writes the whole table to file, replacing it in one step; false with *error set.
    bool exportTable(const QString& file, QString* error) const;

private:
    void askExport();

    QString tablePath_;
    SitesTable* model_ = nullptr;
    QLabel* where_ = nullptr;
    QTableView* view_ = nullptr;
    QListWidget* notes_ = nullptr;
};
