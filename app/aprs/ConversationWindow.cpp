// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/ConversationWindow.h"

#include "aprs/ConversationText.h"
#include "aprs/MessageTraffic.h"

#include <QCompleter>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStringListModel>
#include <QVBoxLayout>

namespace aprs {

namespace {

QPlainTextEdit *textView(QWidget *parent, const char *name)
{
    auto *view = new QPlainTextEdit(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    return view;
}

} // namespace

ConversationWindow::ConversationWindow(MessageTraffic &traffic, QWidget *parent)
    : QWidget(parent, Qt::Window), traffic_(traffic)
{
    setWindowTitle(QStringLiteral("APRS Messages"));
    conversation_ = textView(this, "conversation");
    ownPackets_ = textView(this, "ownPackets");

    to_ = new QLineEdit(this);
    to_->setObjectName(QStringLiteral("messageTo"));
    to_->setMaxLength(9);
    to_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[A-Za-z0-9-]{0,9}")), to_));
    stations_ = new QStringListModel(this);
    auto *completer = new QCompleter(stations_, to_);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    to_->setCompleter(completer);

    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("messageText"));
    text_->setMaxLength(67);
    send_ = new QPushButton(QStringLiteral("&Send"), this);
    send_->setObjectName(QStringLiteral("sendMessage"));
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("messageProblem"));

    auto *writeRow = new QHBoxLayout;
    writeRow->addWidget(new QLabel(QStringLiteral("&To"), this));
    writeRow->addWidget(to_);
    writeRow->addWidget(new QLabel(QStringLiteral("&Message"), this), 0);
    writeRow->addWidget(text_, 1);
    writeRow->addWidget(send_);
    qobject_cast<QLabel *>(writeRow->itemAt(0)->widget())->setBuddy(to_);
    qobject_cast<QLabel *>(writeRow->itemAt(2)->widget())->setBuddy(text_);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Messages"), this));
    layout->addWidget(conversation_, 2);
    layout->addLayout(writeRow);
    layout->addWidget(problem_);
    layout->addWidget(new QLabel(QStringLiteral("Own packets"), this));
    layout->addWidget(ownPackets_, 1);
    resize(720, 480);

    connect(send_, &QPushButton::clicked, this, &ConversationWindow::sendWritten);
    connect(text_, &QLineEdit::returnPressed, this, &ConversationWindow::sendWritten);
    connect(&traffic_, &MessageTraffic::changed, this, &ConversationWindow::refresh);
    refresh();
}

void ConversationWindow::refresh()
{
    conversation_->setPlainText(conversationText(traffic_));
    ownPackets_->setPlainText(ownPacketsText(traffic_));
    if (stations_->stringList() != traffic_.recentStations())
        stations_->setStringList(traffic_.recentStations());
}

void ConversationWindow::sendWritten()
{
    const QString error = traffic_.send(to_->text(), text_->text());
    problem_->setText(error);
    if (error.isEmpty())
        text_->clear();
}

} // namespace aprs
