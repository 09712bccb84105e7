// SPDX-License-Identifier: GPL-2.0-or-later
#include "terminal/TerminalLog.h"

#include "platform/DateTime.h"
#include "platform/WholeFile.h"
#include "terminal/TerminalRules.h"

#include <QDir>

namespace {

const QString terminalSection = QStringLiteral("TERMINAL");
const QString loggingKey = QStringLiteral("LOGGING");

} // namespace

TerminalLog::TerminalLog(const QString &programFolder, const clsIni &ini)
    : programFolder_(programFolder), ini_(ini)
{
}

TerminalLog::~TerminalLog()
{
    CloseLog();
}

// To the second, as the frames' time stamps round it (more than 500 ms is
// the next second): a text stamped 00:00:00 goes to that day's log.
QDateTime TerminalLog::localNow()
{
    const QDateTime now = orvex::Clock::nowUtc().toLocalTime();
    const int ms = now.time().msec();
    return now.addMSecs(ms > 500 ? 1000 - ms : -ms);
}

bool TerminalLog::Load()
{
    logging_ = TerminalRules::loggingFromText(ini_.GetIniStringWriteDefault(
        terminalSection, loggingKey, TerminalRules::loggingText(false)));
    if (logging_)
        return OpenLog();
    return true;
}

void TerminalLog::setLogging(bool on)
{
    logging_ = on;
    ini_.SaveIniString(terminalSection, loggingKey, TerminalRules::loggingText(on));
}

void TerminalLog::ToggleLogging()
{
    if (logging_)
        CloseLog();
    setLogging(!logging_);
}

QString TerminalLog::logFolder() const
{
    return QDir(programFolder_).filePath(QStringLiteral("LOGS"));
}

QString TerminalLog::fileNameFor(const QDate &day)
{
    return day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".TXT");
}

QString TerminalLog::openFileName() const
{
    return file_ ? file_->fileName() : QString();
}

bool TerminalLog::fail(const QString &path, const QString &reason)
{
    file_.reset();
    failure_ = QStringLiteral("The terminal log ") + QDir::toNativeSeparators(path) +
               QStringLiteral(" could not be written: ") + reason +
               QStringLiteral(".\nLogging has been switched off; the monitor keeps everything.");
    setLogging(false);
    return false;
}

bool TerminalLog::OpenLog()
{
    CloseLog();
    const QDateTime now = localNow();
    const QString folder = logFolder();
    const QString path = QDir(folder).filePath(fileNameFor(now.date()));
    if (!QDir().mkpath(folder))
        return fail(path, QStringLiteral("the folder ") + QDir::toNativeSeparators(folder) +
                              QStringLiteral(" could not be created"));
    // Unbuffered: each text goes to the file as it is written, so a failed
    // write is known at once and nothing is left waiting in a buffer.
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return fail(path, file->errorString());
    file_ = std::move(file);
    lastOpenClose_ = orvex::utcToDate(now);
    return true;
}

void TerminalLog::CloseLog()
{
    if (!file_)
        return;
    file_->close();
    file_.reset();
    lastOpenClose_ = orvex::utcToDate(orvex::Clock::nowUtc());
}

bool TerminalLog::WriteLog(const QString &text)
{
    const QDateTime now = localNow();
    if (file_ && lastWriteDay_ != now.date()) {
        CloseLog();
        if (!OpenLog())
            return false;
    }
    if (!file_ && !OpenLog())
        return false;
    const QByteArray bytes = text.toLatin1();
    const qint64 before = file_->size();
    if (!orvex::writeAll(*file_, bytes)) {
        // A full disk may take part of the text; cut it off again, so that
        // the log never ends in half a line that later texts would run into.
        const QString reason = file_->errorString();
        file_->resize(before);
        return fail(file_->fileName(), reason);
    }
    lastWriteDay_ = now.date();
    return true;
}

void TerminalLog::Tick()
{
    if (!logging_)
        return;
    const orvex::Date now = orvex::utcToDate(orvex::Clock::nowUtc());
    if (now - lastOpenClose_ > closeAfterSeconds / orvex::secondsPerDay) {
        CloseLog();
        lastOpenClose_ = now;
    }
}
