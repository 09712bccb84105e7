// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/frmSidsUpload.h"

#include "sharing/SidsUploader.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace sharing {

frmSidsUpload::frmSidsUpload(SidsUploader &uploader, QWidget *parent)
    : QWidget(parent, Qt::Window), uploader_(uploader)
{
    setObjectName(QStringLiteral("frmSidsUpload"));
    setWindowTitle(QStringLiteral("SiDS Upload"));
    auto *column = new QVBoxLayout(this);

    chkEnabled = new QCheckBox(QStringLiteral("&Share ORVEX's frames with the SiDS server"), this);
    chkEnabled->setObjectName(QStringLiteral("chkEnabled"));
    column->addWidget(chkEnabled);

    auto *form = new QFormLayout;
    txtUrl = new QLineEdit(this);
    txtUrl->setObjectName(QStringLiteral("txtUrl"));
    form->addRow(QStringLiteral("Server &URL:"), txtUrl);
    labCounts = new QLabel(this);
    labCounts->setObjectName(QStringLiteral("labCounts"));
    form->addRow(QStringLiteral("Frames:"), labCounts);
    labState = new QLabel(this);
    labState->setObjectName(QStringLiteral("labState"));
    labState->setWordWrap(true);
    form->addRow(QStringLiteral("State:"), labState);
    labLastError = new QLabel(this);
    labLastError->setObjectName(QStringLiteral("labLastError"));
    labLastError->setWordWrap(true);
    labLastError->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QStringLiteral("Last error:"), labLastError);
    labLastAnswer = new QLabel(this);
    labLastAnswer->setObjectName(QStringLiteral("labLastAnswer"));
    labLastAnswer->setWordWrap(true);
    labLastAnswer->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QStringLiteral("Last answer:"), labLastAnswer);
    column->addLayout(form);

    auto *buttons = new QHBoxLayout;
    cmdSendNow = new QPushButton(QStringLiteral("Send &now"), this);
    cmdSendNow->setObjectName(QStringLiteral("cmdSendNow"));
    buttons->addWidget(cmdSendNow);
    cmdPreview = new QPushButton(QStringLiteral("&What would be sent"), this);
    cmdPreview->setObjectName(QStringLiteral("cmdPreview"));
    buttons->addWidget(cmdPreview);
    buttons->addStretch();
    column->addLayout(buttons);

    txtPreview = new QPlainTextEdit(this);
    txtPreview->setObjectName(QStringLiteral("txtPreview"));
    txtPreview->setReadOnly(true);
    txtPreview->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    column->addWidget(txtPreview, 1);
    resize(560, 420);

    connect(chkEnabled, &QCheckBox::clicked, this, &frmSidsUpload::onEnabledClicked);
    connect(txtUrl, &QLineEdit::editingFinished, this, &frmSidsUpload::onUrlEdited);
    connect(cmdSendNow, &QPushButton::clicked, &uploader_, &SidsUploader::sendNow);
    connect(cmdPreview, &QPushButton::clicked, this,
            [this] { txtPreview->setPlainText(uploader_.preview()); });
    connect(&uploader_, &SidsUploader::changed, this, &frmSidsUpload::refresh);
    txtUrl->setText(uploader_.url());
    refresh();
}

void frmSidsUpload::refresh()
{
    chkEnabled->setChecked(uploader_.enabled());
    const UploadQueue::Counts counts = uploader_.counts();
    QString text = QStringLiteral("%1 queued, %2 sent, %3 failed")
                       .arg(counts.queued)
                       .arg(counts.sent)
                       .arg(counts.failed);
    if (const qint64 missing = uploader_.framesWithoutRaw(); missing > 0)
        text += QStringLiteral(" (%1 heard without their raw frame, not shared)").arg(missing);
    labCounts->setText(text);

    QString state = uploader_.blockedReason();
    if (state.isEmpty()) {
        if (uploader_.sending())
            state = QStringLiteral("Sending.");
        else if (const QDateTime next = uploader_.nextAttemptUtc(); next.isValid())
            state = QStringLiteral("Waiting; next attempt at %1 UTC.")
                        .arg(next.toString(QStringLiteral("HH:mm:ss")));
        else
            state = counts.queued > 0 ? QStringLiteral("Ready.")
                                      : QStringLiteral("Ready; nothing waits.");
    }
    labState->setText(state);
    labLastError->setText(
        uploader_.lastError().isEmpty()
            ? QStringLiteral("None")
            : uploader_.lastErrorUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss 'UTC' - ")) +
                  uploader_.lastError());
    labLastAnswer->setText(uploader_.lastAnswer().isEmpty() ? QStringLiteral("None")
                                                            : uploader_.lastAnswer());
    cmdSendNow->setEnabled(uploader_.enabled() && counts.queued > 0 && !uploader_.sending());
}

void frmSidsUpload::onEnabledClicked(bool on)
{
    // Refused without callsign and position: the state line says why.
    const QString refused = uploader_.setEnabled(on);
    refresh();
    if (!refused.isEmpty())
        labState->setText(refused);
}

void frmSidsUpload::onUrlEdited()
{
    if (txtUrl->text().trimmed() == uploader_.url())
        return;
    const QString problem = uploader_.setUrl(txtUrl->text());
    if (!problem.isEmpty())
        labState->setText(problem + QStringLiteral(" The address in use stays ") + uploader_.url() +
                          QLatin1Char('.'));
}

} // namespace sharing
