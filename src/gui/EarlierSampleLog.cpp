#include "gui/EarlierSampleLog.h"

#include "core/run/RunRecord.h"
#include "core/sampler/SampleRun.h"
#include "gui/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>

namespace {

// Counts a file's lines without holding it whole: a long run's log is large.
qint64 lineCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    qint64 lines = 0;
    bool open = false;  // a last line without its line end counts too
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(1 << 20);
        if (chunk.isEmpty())
            break;
        lines += chunk.count('\n');
        open = !chunk.endsWith('\n');
    }
    return lines + (open ? 1 : 0);
}

bool copyWhole(const QString& from, const QString& to, QString* error)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = from + QStringLiteral(": ") + in.errorString();
        return false;
    }
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = to + QStringLiteral(": ") + out.errorString();
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            *error = from + QStringLiteral(": ") + in.errorString();
            return false;
        }
        if (out.write(chunk) != chunk.size()) {
            *error = to + QStringLiteral(": ") + out.errorString();
            return false;
        }
    }
    if (!out.commit()) {
        *error = to + QStringLiteral(": ") + out.errorString();
        return false;
    }
    return true;
}

QString nameOf(const std::string& path)
{
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
}

}  // namespace

QString keptCopyName(const QString& fileName, const QDateTime& when, int number)
{
    const QFileInfo info(fileName);
    QString stamp = when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (number > 1)
        stamp += QLatin1Char('-') + QString::number(number);
    const QString suffix = info.suffix();
    return info.completeBaseName() + QLatin1Char('-') + stamp + (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
}

EarlierSampleLog::EarlierSampleLog(const QString& logPath)
{
    const QFileInfo log(logPath);
    folder_ = log.absolutePath();
    if (!log.isFile())
        return;
    windows_ = lineCount(log.absoluteFilePath());
    written_ = log.lastModified();
    const std::string path = QFile::encodeName(log.absoluteFilePath()).toStdString();
    files_ << log.fileName();
    for (const QString& beside : {nameOf(orvalis::sampleRunRecordBeside(path)), nameOf(orvalis::metricsTableBeside(path))})
        if (QFileInfo(QDir(folder_).filePath(beside)).isFile())
            files_ << beside;
}

QStringList EarlierSampleLog::copyNames() const
{
    // One number for the whole set, so that the copies stay together.
    const QDir folder(folder_);
    for (int number = 1;; ++number) {
        QStringList names;
        bool taken = false;
        for (const QString& file : files_) {
            names << keptCopyName(file, written_, number);
            taken = taken || QFileInfo::exists(folder.filePath(names.back()));
        }
        if (!taken)
            return names;
    }
}

bool EarlierSampleLog::keep(QStringList* copies, QString* error) const
{
    const QDir folder(folder_);
    const QStringList names = copyNames();
    QStringList made;
    for (qsizetype i = 0; i < files_.size(); ++i) {
        const QString to = folder.filePath(names[i]);
        if (!copyWhole(folder.filePath(files_[i]), to, error)) {
            for (const QString& path : made)
                QFile::remove(path);
            return false;
        }
        made << to;
    }
    *copies = made;
    return true;
}

EarlierSampleLog::Answer EarlierSampleLog::ask(QWidget* parent) const
{
    QMessageBox box(QMessageBox::Question, texts::earlierLogTitle(),
                    texts::earlierLogFound(QDir(folder_).filePath(files_.value(0)), windows_,
                                           QLocale().toString(written_, QLocale::ShortFormat)),
                    QMessageBox::Cancel, parent);
    box.setInformativeText(texts::earlierLogQuestion(copyNames().value(0)));
    QPushButton* keep = box.addButton(texts::keepCopy(), QMessageBox::AcceptRole);
    keep->setObjectName(QStringLiteral("keepCopy"));
    QPushButton* replace = box.addButton(texts::replaceLog(), QMessageBox::DestructiveRole);
    replace->setObjectName(QStringLiteral("replaceLog"));
    box.button(QMessageBox::Cancel)->setObjectName(QStringLiteral("cancelRun"));
    box.setDefaultButton(keep);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == keep)
        return Answer::Keep;
    if (box.clickedButton() == replace)
        return Answer::Replace;
    return Answer::Cancel;
}
