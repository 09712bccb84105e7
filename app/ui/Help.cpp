// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/Help.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

namespace {

struct HelpState
{
    QString file;
    QPointer<QWidget> mainWindow;
    QPointer<QTextBrowser> window;
    // The help window's geometry: x 256, y 256, 512 by 512.
    QRect geometry{256, 256, 512, 512};
};

HelpState &state()
{
    static HelpState help;
    return help;
}

void showAt(const QString &anchor)
{
    HelpState &help = state();
    if (help.file.isEmpty())
        return;
    if (!help.window) {
        help.window = new QTextBrowser;
        help.window->setAttribute(Qt::WA_DeleteOnClose);
        help.window->setWindowTitle(QStringLiteral("ORVEX Telemetry Decoder Help"));
        help.window->setOpenExternalLinks(true);
        help.window->setGeometry(help.geometry);
    }
    QUrl url = QUrl::fromLocalFile(help.file);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    help.window->setSource(url);
    if (!QFileInfo::exists(help.file))
        help.window->setHtml(QStringLiteral("<p>The help file %1 could not be found.</p>")
                                 .arg(help.file.toHtmlEscaped()));
    help.window->show();
    help.window->raise();
    help.window->activateWindow();
}

} // namespace

void InitHelp(QWidget *mainWindow, const QString &programFolder)
{
    state().file = QDir(programFolder).filePath(QStringLiteral("orvexdecode.html"));
    state().mainWindow = mainWindow;
}

void ShowHelpContents()
{
    showAt(QString());
}

void showHelpTopic(QWidget *, const QString &topic)
{
    showAt(topic);
}

void CloseHelp()
{
    if (state().window)
        state().window->close();
}

QString helpFilePath()
{
    return state().file;
}
