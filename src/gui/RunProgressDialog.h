#pragma once

#include "core/run/RunControl.h"
#include "gui/Texts.h"

#include <QElapsedTimer>
#include <QProgressDialog>

#include <functional>

// How a run's progress dialog starts; the defaults are those of a single-dialog run.
struct RunProgressOptions {
    QString label = texts::calculating();
    // Stays open at its maximum instead of resetting and closing there.
    bool holdAtMaximum = false;
    long long startValue = 0;
    // The label for the run's last event, read on the window's thread; the label stays when it gives
    // an empty text. Unset: the label stays as it started.
    std::function<QString(const orvalis::ProgressEvent&)> describe;
};

// For RunProgressOptions::describe: the label the engine gives, as it gives it.
inline QString engineLabel(const orvalis::ProgressEvent& event)
{
    return QString::fromStdString(event.label);
}

// The window-modal progress dialog of a long run, with a "Cancel" button, driven by
// an engine's progress callback. Cancel reaches the engine as a false return.
class RunProgressDialog {
public:
    RunProgressDialog(QWidget* parent, long long maximum, const RunProgressOptions& options = RunProgressOptions());

    QProgressDialog& dialog() { return dialog_; }
    bool wasCanceled() const { return dialog_.wasCanceled(); }
    // The value clamped to the dialog's range.
    int valueFor(long long value) const;

    // Sets the value (and the label when the event has one) and lets the toolkit
    // deliver a Cancel click, also when the value has not moved.
    bool update(long long value, const std::string& label = std::string());
    orvalis::ProgressCallback callback();

private:
    QProgressDialog dialog_;
    QElapsedTimer sinceEvents_;
};

// Runs work on a thread of its own under a RunProgressDialog over parent and returns when it ends;
// the window keeps repainting meanwhile. work's RunControl carries the progress over to the dialog
// (with the total its events give, maximum until they give one, and the label options.describe makes
// of them) and its Cancel back as a false return.
void runWithProgress(QWidget* parent, long long maximum, const std::function<void(orvalis::RunControl&)>& work,
                     const RunProgressOptions& options = RunProgressOptions());
