#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class QWidget;

// The log a sampling run left in its working folder (sample.txt, its record sample-run.txt and
// the metrics table beside them), looked at before the next run replaces it.
class EarlierSampleLog {
public:
    enum class Answer { Keep, Replace, Cancel };

    // logPath: where the next run writes its log.
    explicit EarlierSampleLog(const QString& logPath);

    // A log with at least one window: an empty one has nothing to lose.
    bool found() const { return windows_ > 0; }
    qint64 windows() const { return windows_; }
    // The log's files as they are found, and the names their copies take, in the same order.
    const QStringList& files() const { return files_; }
    QStringList copyNames() const;

    // Copies every file to its copy name beside it, all of them or none; the copies' paths, or the reason.
    bool keep(QStringList* copies, QString* error) const;
    // Asks the user whether to keep a copy before the run replaces the log, to replace it, or not to run.
    Answer ask(QWidget* parent) const;

private:
    QString folder_;
    QStringList files_;  // file names in folder_, the log first
    qint64 windows_ = 0;
    QDateTime written_;
};

// The name a kept copy of fileName takes: "sample.txt" kept at 2024-05-01 13:02:03 is
// "sample-20240501-130203.txt"; a later number tells copies of the same second apart.
QString keptCopyName(const QString& fileName, const QDateTime& when, int number = 1);
