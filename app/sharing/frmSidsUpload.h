// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace sharing {

class SidsUploader;

// The "SiDS Upload" window: sharing on or off, the server's address, what
// the queue holds, the last error and answer, "Send now", and a dry run that
// shows the next request without sending it.
class frmSidsUpload : public QWidget
{
    Q_OBJECT
public:
    explicit frmSidsUpload(SidsUploader &uploader, QWidget *parent = nullptr);

    QCheckBox *chkEnabled = nullptr;
    QLineEdit *txtUrl = nullptr;
    QLabel *labCounts = nullptr;
    QLabel *labState = nullptr;
    QLabel *labLastError = nullptr;
    QLabel *labLastAnswer = nullptr;
    QPushButton *cmdSendNow = nullptr;
    QPushButton *cmdPreview = nullptr;
    QPlainTextEdit *txtPreview = nullptr;

private:
    void refresh();
    void onEnabledClicked(bool on);
    void onUrlEdited();

    SidsUploader &uploader_;
};

} // namespace sharing
