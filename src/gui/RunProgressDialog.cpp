#include "gui/RunProgressDialog.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <climits>
#include <memory>
#include <mutex>
#include <string>

RunProgressDialog::RunProgressDialog(QWidget* parent, long long maximum, const RunProgressOptions& options)
    : dialog_(options.label, texts::cancel(), 0, static_cast<int>(std::clamp<long long>(maximum, 0, INT_MAX)), parent)
{
    if (options.holdAtMaximum) {
        dialog_.setAutoReset(false);
        dialog_.setAutoClose(false);
        dialog_.setMinimumDuration(0);
    }
    dialog_.setWindowModality(Qt::WindowModal);
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

void runWithProgress(QWidget* parent, long long maximum, const std::function<void(orvalis::RunControl&)>& work,
                     const RunProgressOptions& options)
{
    RunProgressDialog progress(parent, maximum, options);
    // The progress crosses over in atomics: the dialog is touched on the window's thread only.
    std::atomic<long long> done{0};
    std::atomic<long long> total{maximum};
    std::atomic<long long> budgetLeft{-1};
    std::atomic<bool> stop{false};
    // Labels change a few times a run, not at every event: the lock is taken only for one.
    std::mutex labelLock;
    std::string label;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        orvalis::RunControl control([&](const orvalis::ProgressEvent& e) {
            if (e.total > 0)
                total.store(e.total, std::memory_order_relaxed);
            done.store(e.done, std::memory_order_relaxed);
            budgetLeft.store(e.budgetLeft, std::memory_order_relaxed);
            if (options.describe && !e.label.empty()) {
                const std::lock_guard<std::mutex> hold(labelLock);
                if (label != e.label)
                    label = e.label;
            }
            return !stop.load(std::memory_order_relaxed);
        });
        work(control);
    }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer tick;
    bool updating = false;
    // The dialog lets events in while it updates, this timer's own among them.
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (updating)
            return;
        updating = true;
        // A run of several passes (a map's classes read, then its rows) counts each from 0.
        const int shown = static_cast<int>(std::clamp<long long>(total.load(std::memory_order_relaxed), 0, INT_MAX));
        if (shown != progress.dialog().maximum())
            progress.dialog().setMaximum(shown);
        if (options.describe) {
            orvalis::ProgressEvent last;
            last.done = done.load(std::memory_order_relaxed);
            last.total = total.load(std::memory_order_relaxed);
            last.budgetLeft = budgetLeft.load(std::memory_order_relaxed);
            {
                const std::lock_guard<std::mutex> hold(labelLock);
                last.label = label;
            }
            const QString text = options.describe(last);
            if (!text.isEmpty() && text != progress.dialog().labelText())
                progress.dialog().setLabelText(text);
        }
        if (!progress.update(done.load(std::memory_order_relaxed)))
            stop.store(true, std::memory_order_relaxed);
        updating = false;
    });
    tick.start(50);
    worker->start();
    loop.exec();
    worker->wait();
}
