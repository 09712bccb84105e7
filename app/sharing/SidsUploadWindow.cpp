// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/SidsUploadWindow.h"

#include "sharing/RawFrameMatcher.h"
#include "sharing/SidsUploader.h"
#include "sharing/WrappedText.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace sharing {

namespace {

constexpr int idRole = Qt::UserRole;
constexpr int stateRole = Qt::UserRole + 1;
constexpr int reasonRole = Qt::UserRole + 2;

WrappedText *wrapped(int lines, const char *name, QWidget *parent)
{
    auto *text = new WrappedText(lines, parent);
    text->setObjectName(QLatin1String(name));
    return text;
}

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *pushButton = new QPushButton(text, parent);
    pushButton->setObjectName(QLatin1String(name));
    return pushButton;
}

// The satellite's callsign in the frame, as the engine's monitor names it.
QString senderOf(const QByteArray &frame)
{
    const std::optional<Ax25UiFrame> ui = parseUiFrame(frame);
    return ui ? ui->source : QStringLiteral("?");
}

} // namespace

SidsUploadWindow::SidsUploadWindow(SidsUploader &uploader, QWidget *parent)
    : QWidget(parent, Qt::Window), uploader_(uploader)
{
    setObjectName(QStringLiteral("SidsUploadWindow"));
    setWindowTitle(QStringLiteral("SiDS Upload"));
    auto *column = new QVBoxLayout(this);

    enabledCheck =
        new QCheckBox(QStringLiteral("&Share ORVEX's frames with the SiDS server"), this);
    enabledCheck->setObjectName(QStringLiteral("enabledCheck"));
    column->addWidget(enabledCheck);

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignTop);
    urlEdit = new QLineEdit(this);
    urlEdit->setObjectName(QStringLiteral("urlEdit"));
    form->addRow(QStringLiteral("Server &URL:"), urlEdit);
    countsLabel = new QLabel(this);
    countsLabel->setObjectName(QStringLiteral("countsLabel"));
    form->addRow(QStringLiteral("Frames:"), countsLabel);
    // The server's and the network's words: plain, wrapped, never wider than the window.
    stateText = wrapped(2, "stateText", this);
    form->addRow(QStringLiteral("State:"), stateText);
    lastErrorText = wrapped(4, "lastErrorText", this);
    form->addRow(QStringLiteral("Last error:"), lastErrorText);
    lastAnswerText = wrapped(4, "lastAnswerText", this);
    form->addRow(QStringLiteral("Last answer:"), lastAnswerText);
    column->addLayout(form);

    auto *listTitle = new QLabel(QStringLiteral("&Held and refused frames:"), this);
    column->addWidget(listTitle);
    heldList = new QTreeWidget(this);
    heldList->setObjectName(QStringLiteral("heldList"));
    listTitle->setBuddy(heldList);
    heldList->setHeaderLabels({QStringLiteral("Heard (UTC)"), QStringLiteral("From"),
                               QStringLiteral("State"), QStringLiteral("Reason")});
    heldList->setRootIsDecorated(false);
    heldList->setUniformRowHeights(true);
    heldList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Time, callsign and state are short; the reason takes the rest, cut to one line.
    for (const int shortColumn : {HeardColumn, FromColumn, StateColumn})
        heldList->header()->setSectionResizeMode(shortColumn, QHeaderView::ResizeToContents);
    heldList->header()->setStretchLastSection(true);
    column->addWidget(heldList, 1);
    heldListNote = new QLabel(this);
    heldListNote->setObjectName(QStringLiteral("heldListNote"));
    heldListNote->setWordWrap(true);
    heldListNote->hide();
    column->addWidget(heldListNote);
    frameReasonText = wrapped(4, "frameReasonText", this);
    frameReasonText->setPlaceholderText(QStringLiteral("Select a frame to read the whole reason."));
    column->addWidget(frameReasonText);
    auto *decisions = new QHBoxLayout;
    sendHeldButton = button(QStringLiteral("Send the held &frames"), "sendHeldButton", this);
    decisions->addWidget(sendHeldButton);
    retryButton = button(QStringLiteral("&Retry the refused frames"), "retryButton", this);
    decisions->addWidget(retryButton);
    decisions->addStretch();
    column->addLayout(decisions);

    auto *buttons = new QHBoxLayout;
    sendNowButton = button(QStringLiteral("Send &now"), "sendNowButton", this);
    buttons->addWidget(sendNowButton);
    previewButton = button(QStringLiteral("&What would be sent"), "previewButton", this);
    buttons->addWidget(previewButton);
    buttons->addStretch();
    column->addLayout(buttons);

    previewText = new QPlainTextEdit(this);
    previewText->setObjectName(QStringLiteral("previewText"));
    previewText->setReadOnly(true);
    previewText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    column->addWidget(previewText, 1);
    resize(600, 620);

    connect(enabledCheck, &QCheckBox::clicked, this, &SidsUploadWindow::onEnabledClicked);
    connect(urlEdit, &QLineEdit::editingFinished, this, &SidsUploadWindow::onUrlEdited);
    connect(sendNowButton, &QPushButton::clicked, &uploader_, &SidsUploader::sendNow);
    connect(previewButton, &QPushButton::clicked, this,
            [this] { previewText->setPlainText(uploader_.preview()); });
    connect(heldList, &QTreeWidget::itemSelectionChanged, this,
            &SidsUploadWindow::onSelectionChanged);
    connect(sendHeldButton, &QPushButton::clicked, this, [this] {
        uploader_.sendHeld(selectedIds(static_cast<int>(UploadQueue::State::Held)));
    });
    connect(retryButton, &QPushButton::clicked, this, [this] {
        uploader_.retryRefused(selectedIds(static_cast<int>(UploadQueue::State::Refused)));
    });
    connect(&uploader_, &SidsUploader::changed, this, &SidsUploadWindow::refresh);
    connect(&uploader_, &SidsUploader::heldAndRefusedChanged, this, &SidsUploadWindow::refreshList);
    urlEdit->setText(uploader_.url());
    refreshList();
    refresh();
}

void SidsUploadWindow::refresh()
{
    enabledCheck->setChecked(uploader_.enabled());
    const UploadQueue::Counts counts = uploader_.counts();
    QString text = QStringLiteral("%1 queued, %2 held, %3 sent, %4 refused")
                       .arg(counts.queued)
                       .arg(counts.held)
                       .arg(counts.sent)
                       .arg(counts.refused);
    if (const qint64 missing = uploader_.framesWithoutRaw(); missing > 0)
        text += QStringLiteral(" (%1 heard without their raw frame, not shared)").arg(missing);
    countsLabel->setText(text);

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
        if (counts.held > 0)
            state += QStringLiteral(" Held frames go only when you send them.");
    }
    stateText->setText(state);
    lastErrorText->setText(
        uploader_.lastError().isEmpty()
            ? QStringLiteral("None")
            : uploader_.lastErrorUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss 'UTC' - ")) +
                  uploader_.lastError());
    lastAnswerText->setText(uploader_.lastAnswer().isEmpty() ? QStringLiteral("None")
                                                             : uploader_.lastAnswer());
    sendNowButton->setEnabled(uploader_.enabled() && counts.queued > 0 && !uploader_.sending());
    const qint64 listed = counts.held + counts.refused;
    heldListNote->setVisible(listed > listedFrames);
    heldListNote->setText(
        QStringLiteral("The newest %1 of %2 are listed.").arg(listedFrames).arg(listed));
}

void SidsUploadWindow::refreshList()
{
    // The list is made anew; what the operator was looking at stays put.
    QSet<qint64> selected;
    for (const QTreeWidgetItem *item : heldList->selectedItems())
        selected.insert(item->data(HeardColumn, idRole).toLongLong());
    const QTreeWidgetItem *current = heldList->currentItem();
    const qint64 currentId = current ? current->data(HeardColumn, idRole).toLongLong() : 0;
    const int scrolled = heldList->verticalScrollBar()->value();
    const QSignalBlocker quiet(heldList);
    heldList->clear();
    // Oldest first, as they were heard: a frame heard now comes below and
    // moves none of the rows in view.
    const std::vector<UploadQueue::Entry> entries = uploader_.heldAndRefused(listedFrames);
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        const bool held = entry->state == UploadQueue::State::Held;
        const QString reason = held ? entry->holdReason : entry->lastError;
        auto *item = new QTreeWidgetItem(heldList);
        item->setText(HeardColumn,
                      entry->report.heardUtc.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        item->setText(FromColumn, senderOf(entry->report.frame));
        item->setText(StateColumn, held ? QStringLiteral("Held") : QStringLiteral("Refused"));
        // One line in the list; the whole reason below it.
        item->setText(ReasonColumn, reason.simplified());
        item->setData(HeardColumn, idRole, entry->id);
        item->setData(HeardColumn, stateRole, static_cast<int>(entry->state));
        item->setData(HeardColumn, reasonRole, reason);
        if (entry->id == currentId)
            heldList->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
        item->setSelected(selected.contains(entry->id));
    }
    heldList->verticalScrollBar()->setValue(scrolled);
    onSelectionChanged();
}

QList<qint64> SidsUploadWindow::selectedIds(int state) const
{
    QList<qint64> ids;
    for (const QTreeWidgetItem *item : heldList->selectedItems())
        if (item->data(HeardColumn, stateRole).toInt() == state)
            ids << item->data(HeardColumn, idRole).toLongLong();
    return ids;
}

void SidsUploadWindow::onSelectionChanged()
{
    const QList<QTreeWidgetItem *> items = heldList->selectedItems();
    frameReasonText->setText(
        items.isEmpty() ? QString() : items.front()->data(HeardColumn, reasonRole).toString());
    sendHeldButton->setEnabled(!selectedIds(static_cast<int>(UploadQueue::State::Held)).isEmpty());
    retryButton->setEnabled(!selectedIds(static_cast<int>(UploadQueue::State::Refused)).isEmpty());
}

void SidsUploadWindow::onEnabledClicked(bool on)
{
    // Refused without callsign and position: the state line says why.
    const QString refused = uploader_.setEnabled(on);
    refresh();
    if (!refused.isEmpty())
        stateText->setText(refused);
}

void SidsUploadWindow::onUrlEdited()
{
    if (urlEdit->text().trimmed() == uploader_.url())
        return;
    const QString problem = uploader_.setUrl(urlEdit->text());
    if (!problem.isEmpty())
        stateText->setText(problem + QStringLiteral(" The address in use stays ") +
                           uploader_.url() + QLatin1Char('.'));
}

} // namespace sharing
