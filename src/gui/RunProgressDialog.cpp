#include "gui/RunProgressDialog.h"

#include <QCoreApplication>

#include <algorithm>
#include <climits>

RunProgressDialog::RunProgressDialog(QWidget* parent, long long maximum, const RunProgressOptions& options)
    : dialog_(options.label, texts::cancel(), 0, static_cast<int>(std::clamp<long long>(maximum, 0, INT_MAX)),
              options.below ? options.below : parent)
{
    if (options.holdAtMaximum) {
        dialog_.setAutoReset(false);
        dialog_.setAutoClose(false);
        dialog_.setMinimumDuration(0);
    }
    // A second modal dialog would block the first one's Cancel.
    dialog_.setWindowModality(options.below ? Qt::NonModal : Qt::WindowModal);
    if (options.below) {
        const QRect above = options.below->geometry();
        dialog_.setGeometry(above.translated(0, above.height()));
    }
    dialog_.show();
    dialog_.setValue(valueFor(options.startValue));
    sinceEvents_.start();
}

int RunProgressDialog::valueFor(long long value) const
{
    return static_cast<int>(std::clamp<long long>(value, 0, dialog_.maximum()));
}

bool RunProgressDialog::update(long long value, const std::string& label)
{
    if (!label.empty())
        dialog_.setLabelText(QString::fromStdString(label));
    int v = valueFor(value);
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
