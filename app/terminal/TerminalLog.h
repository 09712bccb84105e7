// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/DateTime.h"
#include "shared/clsIni.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QString>

#include <memory>

// The terminal's daily log: everything the monitor shows while logging is
// on, appended unchanged (no time stamps, no line ends of its own) to
// <program folder>/LOGS/yyyymmdd.TXT, one file per local calendar day.
// Each text goes to the file as it is written, whole or not at all. The
// logging flag is the TERMINAL/LOGGING key of the settings file.
//
// Time comes from orvex::Clock, so tests can pass midnight at will.
//
// When the folder or the file cannot be created, opened or written, logging
// switches itself off, stores False, and failure() says which file and why;
// the owner shows that once.
class TerminalLog
{
public:
    // Seconds after an open or close at which a tick closes the log, so the
    // file on disk never lags far behind; the next text reopens it.
    static constexpr int closeAfterSeconds = 300;

    TerminalLog(const QString &programFolder, const clsIni &ini);
    ~TerminalLog();
    TerminalLog(const TerminalLog &) = delete;
    TerminalLog &operator=(const TerminalLog &) = delete;

    // Reads TERMINAL/LOGGING (writing "False" when missing) and, when on,
    // opens today's log. False when that open failed (logging is off then).
    bool Load();

    bool blnLogging() const { return logging_; }
    // The menu item: closes the log when logging was on, inverts the flag
    // and stores it. Switching on opens nothing; the next text does.
    void ToggleLogging();

    // Appends `text` to today's log, changing file when the day changed
    // since the last write and opening one when none is open. False on a
    // failure, after which logging is off.
    bool WriteLog(const QString &text);
    // Opens today's file for appending, closing any open one. False on a
    // failure, after which logging is off.
    bool OpenLog();
    void CloseLog();
    // The terminal's five-second timer: with logging on, closes the log once
    // closeAfterSeconds have passed since it was last opened or closed.
    void Tick();

    bool isOpen() const { return file_ != nullptr; }
    // The file written now, or empty when none is open.
    QString openFileName() const;
    // The folder the logs go to.
    QString logFolder() const;
    // "yyyymmdd.TXT"
    static QString fileNameFor(const QDate &day);
    // What went wrong at the last failure, naming the file.
    QString failure() const { return failure_; }

private:
    bool fail(const QString &path, const QString &reason);
    static QDateTime localNow();
    void setLogging(bool on);

    QString programFolder_;
    clsIni ini_;
    bool logging_ = false;
    std::unique_ptr<QFile> file_;
    orvex::Date lastOpenClose_ = 0; // UTC
    QDate lastWriteDay_;            // local calendar day of the last write
    QString failure_;
};
