// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace sharing {

class SidsUploader;
class WrappedText;

// The "SiDS Upload" window: sharing on or off, the server's address, what
// the queue holds, the last error and answer, "Send now", and a dry run that
// shows the next request without sending it. The frames held for the
// operator and those the server refused are listed with their reasons; the
// operator sends held frames and has refused ones tried again from there.
// Every text from outside is plain and wrapped, so none widens the window.
class SidsUploadWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SidsUploadWindow(SidsUploader &uploader, QWidget *parent = nullptr);

    // The most held and refused frames listed: the newest, oldest first.
    static constexpr int listedFrames = 500;
    enum Column { HeardColumn, FromColumn, StateColumn, ReasonColumn };

    QCheckBox *enabledCheck = nullptr;
    QLineEdit *urlEdit = nullptr;
    QLabel *countsLabel = nullptr;
    WrappedText *stateText = nullptr;
    WrappedText *lastErrorText = nullptr;
    WrappedText *lastAnswerText = nullptr;
    QTreeWidget *heldList = nullptr;
    QLabel *heldListNote = nullptr;
    WrappedText *frameReasonText = nullptr;
    QPushButton *sendHeldButton = nullptr;
    QPushButton *retryButton = nullptr;
    QPushButton *sendNowButton = nullptr;
    QPushButton *previewButton = nullptr;
    QPlainTextEdit *previewText = nullptr;

private:
    void refresh();
    void refreshList();
    void onSelectionChanged();
    // The ids of the selected frames in `state` (an UploadQueue::State).
    QList<qint64> selectedIds(int state) const;
    void onEnabledClicked(bool on);
    void onUrlEdited();

    SidsUploader &uploader_;
};

} // namespace sharing
