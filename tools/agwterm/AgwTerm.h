// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "pklink/PKLINK.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

// Prints every event of one PKLINK control as a line and runs command lines
// against it:
//
//   event:    NAME|PARAM|PARAM...      (bytes as upper-case hex, texts with
//                                       bytes outside 0x20-0x7E, '\' and '|'
//                                       written \xHH)
//   command:  MEMBER|ARG|ARG...        -> "ok", "fail|CODE|MESSAGE" or a value
//             set|PROPERTY|VALUE       -> "ok"
//             quit
//
// Anything it cannot read is answered "error|REASON".
class AgwTerm : public QObject
{
    Q_OBJECT

public:
    using Writer = std::function<void(const QByteArray &line)>;

    AgwTerm(PKLINK &control, Writer writer, QObject *parent = nullptr);

    // Runs one command line; false when it asks to quit.
    bool execute(const QString &line);

    static QByteArray escapeText(const QString &text);

private:
    void print(const QByteArray &line);
    // Runs one method and prints "ok", or "fail|CODE|MESSAGE" with what the
    // method itself recorded ("fail|0|" when it recorded nothing).
    void printResultOf(const std::function<bool()> &call);
    void connectEvents();

    PKLINK &control_;
    Writer writer_;
};
