#pragma once

#include "core/run/RunControl.h"

#include <QElapsedTimer>
#include <QProgressDialog>

// The window-modal "Calculando..." dialog of a long run, driven by an engine's
// progress callback. Cancel reaches the engine as a false return.
class RunProgressDialog {
public:
    RunProgressDialog(QWidget* parent, long long maximum, const QString& label = QStringLiteral("Calculando..."));

    QProgressDialog& dialog() { return dialog_; }
    bool wasCanceled() const { return dialog_.wasCanceled(); }

    // Sets the value (and the label when the event has one) and lets the toolkit
    // deliver a Cancel click, also when the value has not moved.
    bool update(long long value, const std::string& label = std::string());
    orvalis::ProgressCallback callback();

private:
    QProgressDialog dialog_;
    QElapsedTimer sinceEvents_;
};
