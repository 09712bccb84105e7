// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStringListModel;

namespace aprs {

class MessageTraffic;

// The station's APRS messages: the conversation, the station's own frames
// and whether each was heard back, and a line to write a message to a
// station typed or picked from those heard lately.
class ConversationWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ConversationWindow(MessageTraffic &traffic, QWidget *parent = nullptr);

private:
    void refresh();
    void sendWritten();

    MessageTraffic &traffic_;
    QPlainTextEdit *conversation_ = nullptr;
    QPlainTextEdit *ownPackets_ = nullptr;
    QLineEdit *to_ = nullptr;
    QLineEdit *text_ = nullptr;
    QPushButton *send_ = nullptr;
    QLabel *problem_ = nullptr;
    QStringListModel *stations_ = nullptr;
};

} // namespace aprs
