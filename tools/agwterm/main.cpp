// SPDX-License-Identifier: GPL-2.0-or-later
// agwterm HOST PORT [LOGINID PASSWORD]: connects a PKLINK control to an AGWPE
// engine, prints its events on standard output and runs the command lines of
// standard input (see AgwTerm.h) until "quit" or the end of input.

#include "AgwTerm.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

namespace {

void writeLine(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: agwterm HOST PORT [LOGINID PASSWORD]\n");
        return 2;
    }
    bool portOk = false;
    const quint16 port = QByteArray(argv[2]).toUShort(&portOk);
    if (!portOk) {
        std::fprintf(stderr, "agwterm: not a TCP port: %s\n", argv[2]);
        return 2;
    }
    // The control is a widget, but nothing is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    {
        QApplication app(argc, argv);
        PKLINK control;
        AgwTerm term(control, writeLine);

        control.setAgwIpHost(QString::fromLatin1(argv[1]));
        control.setAgwIpPort(port);
        if (argc == 5) {
            control.setAgwLoginId(QString::fromLatin1(argv[3]));
            control.setAgwPassword(QString::fromLatin1(argv[4]));
        }
        term.execute(QStringLiteral("ConnectToAgw"));

        // Standard input is read on a thread of its own (a blocking read is the
        // one portable way); each line is run on the main thread.
        std::thread reader([&term] {
            std::string line;
            while (std::getline(std::cin, line)) {
                const QString command =
                    QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
                QMetaObject::invokeMethod(
                    &term,
                    [&term, command] {
                        if (!term.execute(command))
                            QCoreApplication::quit();
                    },
                    Qt::QueuedConnection);
            }
            QMetaObject::invokeMethod(
                &term, [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
        });
        reader.detach();
        const int status = app.exec();
        // The reader may still be blocked in its read, and holds the terminal:
        // end here, without waiting for it or tearing anything down under it.
        std::fflush(stdout);
        std::_Exit(status);
    }
}
