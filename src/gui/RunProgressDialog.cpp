#include "gui/RunProgressDialog.h"

#include <QCoreApplication>

#include <algorithm>
#include <climits>

RunProgressDialog::RunProgressDialog(QWidget* parent, long long maximum, const QString& label)
    : dialog_(label, QStringLiteral("Cancel"), 0, static_cast<int>(std::clamp<long long>(maximum, 0, INT_MAX)), parent)
{
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.show();
    dialog_.setValue(0);
    sinceEvents_.start();
}

bool RunProgressDialog::update(long long value, const std::string& label)
{
    if (!label.empty())
        dialog_.setLabelText(QString::fromStdString(label));
    int v = static_cast<int>(std::clamp<long long>(value, 0, dialog_.maximum()));
    if (v != dialog_.value()) {
        dialog_.setValue(v);  // a window-modal dialog processes pending events here
        sinceEvents_.restart();
    } else if (sinceEvents_.elapsed() >= 50) {
        QCoreApplication::processEvents();
        sinceEvents_.restart();
    }
    return !dialog_.wasCanceled();
}

orvalis::ProgressCallback RunProgressDialog::callback()
{
    return [this](const orvalis::ProgressEvent& e) { return update(e.done, e.label); };
}
