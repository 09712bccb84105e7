// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/Help.h"

#include "ui/ScreenFit.h"
#include "ui/ToolWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVariant>

namespace {

struct HelpState
{
    QString file;
    QString dataFolder;
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

// Names the data folder wherever the help text holds the placeholder. It is
// done as the page is loaded, since the browser loads it again on every link
// once its document has been changed.
class HelpBrowser : public QTextBrowser
{
public:
    explicit HelpBrowser(QWidget *parent) : QTextBrowser(parent) {}
    QVariant loadResource(int type, const QUrl &name) override
    {
        QVariant resource = QTextBrowser::loadResource(type, name);
        const QString folder = state().dataFolder;
        if (type != QTextDocument::HtmlResource || folder.isEmpty())
            return resource;
        QString html = resource.userType() == QMetaType::QByteArray
                           ? QString::fromUtf8(resource.toByteArray())
                           : resource.toString();
        return html.replace(QLatin1String(dataFolderPlaceholder),
                            QDir::toNativeSeparators(folder).toHtmlEscaped());
    }
};

void showAt(const QString &anchor)
{
    HelpState &help = state();
    if (help.file.isEmpty())
        return;
    // A modal dialog blocks every window but its own: while one is open the
    // help becomes a window of that dialog, so it opens on top of it and
    // can be read and scrolled.
    QWidget *modal = QApplication::activeModalWidget();
    if (help.window && help.window->parentWidget() != modal) {
        help.geometry = help.window->geometry();
        help.window->setParent(modal, Qt::Window);
        help.window->setGeometry(help.geometry);
        orvex::placeWhenFramed(help.window, orvex::WhenFramed::KeepOnScreen);
    }
    if (!help.window) {
        help.window = new HelpBrowser(modal);
        help.window->setWindowFlag(Qt::Window);
        help.window->setAttribute(Qt::WA_DeleteOnClose);
        help.window->setWindowTitle(QStringLiteral("ORVEX Telemetry Decoder Help"));
        help.window->setOpenExternalLinks(true);
        orvex::closeOnEscape(help.window);
        // Its own place, moved up or left (or made smaller) as far as it
        // takes for its frame to stay on the screen: the frame of the window
        // it opens over stands in for its own until it has one, which may
        // differ (a dialog's frame may be thinner or have no title bar).
        help.window->setGeometry(
            orvex::fitOnScreenOf(help.geometry, modal ? modal : help.mainWindow.data()));
        orvex::placeWhenFramed(help.window, orvex::WhenFramed::KeepOnScreen);
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

void InitHelp(QWidget *mainWindow, const QString &helpFolder)
{
    state().file = QDir(helpFolder).filePath(QStringLiteral("orvexdecode.html"));
    state().mainWindow = mainWindow;
}

void setHelpDataFolder(const QString &folder)
{
    state().dataFolder = folder;
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
