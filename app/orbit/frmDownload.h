// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbit/KepsDownload.h"
#include "orbit/KepsInstaller.h"

#include <QDialog>
#include <QStringList>
#include <functional>

#include <array>
#include <memory>

class HttpTransfer;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class clsIni;

// "Download Keps": fetches up to two element files over HTTP and installs
// them in the Keps folder of the program folder. The addresses are kept in
// section KEPS of the settings file, keys FILE_1 and FILE_2.
class frmDownload : public QDialog
{
    Q_OBJECT
public:
    // programFolder: where the settings file, the downloads and Keps are;
    // empty for the folder of the executable.
    explicit frmDownload(const QString &programFolder = QString(), QWidget *parent = nullptr);
    ~frmDownload() override;

    // Shows the window modally; true when at least one element file was
    // installed before it closed, so that the Keps folder must be read again.
    bool DownloadKeps();
    // Runs when the last file is done and at least one was installed, before
    // the closing message; its text (the element sets now in use, say) is
    // added to that message. It receives the names of the files installed.
    void setAfterInstall(std::function<QString(const QStringList &installedFiles)> hook)
    {
        afterInstall_ = std::move(hook);
    }

    QLineEdit *txtFile(int index) const { return txtFile_[index == 1 ? 1 : 0]; }
    QPlainTextEdit *txtTerm() const { return txtTerm_; }
    QPushButton *cmdDownload() const { return cmdDownload_; }
    QPushButton *cmdCancel() const { return cmdCancel_; }
    HttpTransfer *Inet1() const { return Inet1_; }
    QTimer *Timer1() const { return Timer1_; }
    // The status box as the lines were added, each ending in CR LF.
    QString statusText() const { return status_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void cmdDownloadClick();
    void Inet1StateChanged(int state);
    void downloadCompleted();
    void Timer1Tick();
    void getCurrentFile();
    void AddStatus(const QString &line);

    std::unique_ptr<clsIni> cIni_;
    std::function<QString(const QStringList &)> afterInstall_;
    QStringList installedFiles_;
    KepsInstaller installer_;
    KepsDownload run_;
    QString status_;
    std::array<QLineEdit *, KepsDownload::fileCount> txtFile_{};
    QPlainTextEdit *txtTerm_ = nullptr;
    QPushButton *cmdDownload_ = nullptr;
    QPushButton *cmdCancel_ = nullptr;
    // The controls' own names.
    HttpTransfer *Inet1_ = nullptr; // NOLINT(readability-identifier-naming)
    QTimer *Timer1_ = nullptr;      // NOLINT(readability-identifier-naming)
    bool centred_ = false;
};
