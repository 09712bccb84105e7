// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/frmDownload.h"

#include "orbit/KepsAutoUpdate.h"
#include "platform/DataFolder.h"
#include "platform/HttpTransfer.h"
#include "shared/clsIni.h"
#include "ui/DialogSupport.h"
#include "ui/Help.h"
#include "ui/mb.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kepsSection = QStringLiteral("KEPS");
const QString defaultFile1 = QStringLiteral("celestrak.org/NORAD/elements/amateur.txt");
constexpr qsizetype chunkSize = 1024;

QString folderOrProgramFolder(const QString &programFolder)
{
    return QDir::cleanPath(programFolder.isEmpty() ? orvex::DataFolder::forThisProgram().path()
                                                   : programFolder);
}

} // namespace

frmDownload::frmDownload(const QString &programFolder, QWidget *parent)
    : QDialog(parent), installer_(folderOrProgramFolder(programFolder))
{
    const QString folder = folderOrProgramFolder(programFolder);
    cIni_ = std::make_unique<clsIni>(QDir(folder).filePath(orvex::DataFolder::settingsFileName()));

    setWindowTitle(QStringLiteral("Download Keps"));
    setModal(true);

    auto *files = new QGridLayout;
    for (int i = 0; i < KepsDownload::fileCount; ++i) {
        files->addWidget(new QLabel(QStringLiteral("Keps File %1").arg(i + 1), this), i, 0);
        files->addWidget(new QLabel(QStringLiteral("http://"), this), i, 1);
        txtFile_[static_cast<size_t>(i)] = new QLineEdit(this);
        txtFile_[static_cast<size_t>(i)]->setMinimumWidth(360);
        orvex::selectAllOnFocus(txtFile_[static_cast<size_t>(i)]);
        files->addWidget(txtFile_[static_cast<size_t>(i)], i, 2);
    }

    txtTerm_ = new QPlainTextEdit(this);
    txtTerm_->setReadOnly(true);
    txtTerm_->setMinimumHeight(160);

    cmdDownload_ = new QPushButton(QStringLiteral("&Download"), this);
    cmdDownload_->setDefault(true);
    cmdCancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(new QLabel(QStringLiteral("Press F1 and read the help!"), this));
    buttons->addStretch();
    buttons->addWidget(cmdDownload_);
    buttons->addWidget(cmdCancel_);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(files);
    layout->addWidget(txtTerm_);
    layout->addLayout(buttons);

    Inet1_ = new HttpTransfer(this);
    Timer1_ = new QTimer(this);
    Timer1_->setInterval(1000);

    connect(cmdDownload_, &QPushButton::clicked, this, &frmDownload::cmdDownloadClick);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(Inet1_, &HttpTransfer::StateChanged, this, &frmDownload::Inet1StateChanged);
    connect(Timer1_, &QTimer::timeout, this, &frmDownload::Timer1Tick);
    auto *help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this,
            [this] { showHelpTopic(this, QStringLiteral("download")); });
}

frmDownload::~frmDownload() = default;

bool frmDownload::DownloadKeps()
{
    txtFile_[0]->setText(
        cIni_->GetIniStringWriteDefault(kepsSection, QStringLiteral("FILE_1"), defaultFile1));
    txtFile_[1]->setText(
        cIni_->GetIniStringWriteDefault(kepsSection, QStringLiteral("FILE_2"), QString()));
    installer_.setTrackedSatellites(trackedCatalogNumbers(*cIni_));
    exec();
    return run_.installed;
}

void frmDownload::done(int result)
{
    Timer1_->stop();
    Inet1_->cancel();
    run_.busy = false;
    QDialog::done(result);
}

void frmDownload::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (centred_)
        return;
    centred_ = true;
    if (const QScreen *where = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(where->availableGeometry().center());
        move(frame.topLeft());
    }
}

void frmDownload::cmdDownloadClick()
{
    Inet1_->cancel();
    // A run still waiting for its next file is replaced by this one.
    Timer1_->stop();
    run_.busy = false;
    if (!run_.start(txtFile_[0]->text(), txtFile_[1]->text())) {
        mb::ShowMsg(this, QStringLiteral("Both URLs are blank!"), mb::vbExclamation);
        return;
    }
    cIni_->SaveIniString(kepsSection, QStringLiteral("FILE_1"), txtFile_[0]->text());
    cIni_->SaveIniString(kepsSection, QStringLiteral("FILE_2"), txtFile_[1]->text());
    AddStatus(QStringLiteral("Getting ") + run_.fileName(run_.currentIndex()));
    getCurrentFile();
}

void frmDownload::getCurrentFile()
{
    run_.busy = true;
    Inet1_->execute(run_.address(run_.currentIndex()), "GET");
}

void frmDownload::Inet1StateChanged(int state)
{
    switch (state) {
    case HttpTransfer::icError: {
        const int index = run_.currentIndex();
        run_.setError(index, Inet1_->responseInfo() + QLatin1Char(' ') +
                                 QString::number(Inet1_->responseCode()));
        AddStatus(QStringLiteral("Error - ") + run_.error(index));
        run_.busy = false;
        Inet1_->cancel();
        break;
    }
    case HttpTransfer::icResponseCompleted:
        run_.busy = false;
        downloadCompleted();
        break;
    default:
        if (run_.busy) {
            const QString line = KepsDownload::statusLine(state, Inet1_->remoteHost());
            if (!line.isEmpty())
                AddStatus(line);
        }
        break;
    }
}

void frmDownload::downloadCompleted()
{
    const int index = run_.currentIndex();
    const QString name = run_.fileName(index);
    QByteArray body;
    for (QByteArray chunk = Inet1_->getChunk(chunkSize); !chunk.isEmpty();
         chunk = Inet1_->getChunk(chunkSize))
        body += chunk;

    const KepsInstallResult result = installer_.installDownload(body, name, index);
    run_.setError(index, result.error);
    run_.setNotice(index, result.notice);
    switch (result.outcome) {
    case KepsInstallResult::Installed:
        run_.installed = true;
        installedFiles_ << name;
        AddStatus(name + QStringLiteral(" has been downloaded"));
        break;
    case KepsInstallResult::WebPage:
        // Downloaded, but kept aside; the final message names the file.
        AddStatus(name + QStringLiteral(" has been downloaded"));
        break;
    case KepsInstallResult::TooShort:
    case KepsInstallResult::Failed:
        AddStatus(QStringLiteral("Error - ") + result.error);
        break;
    }
    Timer1_->start();
}

void frmDownload::Timer1Tick()
{
    Timer1_->stop();
    Inet1_->cancel();
    if (run_.moveToNextFile()) {
        AddStatus(QStringLiteral("\r\nGetting ") + run_.fileName(run_.currentIndex()));
        getCurrentFile();
        return;
    }
    QString message = run_.finishedMessage();
    if (afterInstall_ && !installedFiles_.isEmpty()) {
        const QString more = afterInstall_(installedFiles_);
        if (!more.isEmpty())
            message += QStringLiteral("\n\n") + more;
    }
    mb::ShowMsg(this, message, mb::vbInformation);
    accept();
}

void frmDownload::AddStatus(const QString &line)
{
    status_ = KepsDownload::withStatusLine(status_, line);
    QString shown = status_;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtTerm_->setPlainText(shown);
    txtTerm_->moveCursor(QTextCursor::End);
    txtTerm_->verticalScrollBar()->setValue(txtTerm_->verticalScrollBar()->maximum());
}
