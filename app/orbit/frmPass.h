// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The pass prediction window: the coming passes of one satellite, to copy or
// print. Modal; built afresh for each opening.
class frmPass : public QDialog
{
    Q_OBJECT
public:
    explicit frmPass(QWidget *parent = nullptr);

    // The list text, with CR LF line ends as it is copied.
    void setPassText(const QString &text);
    QString passText() const { return text_; }
    QPlainTextEdit *txtInfo() const { return txtInfo_; }

    // Prints on the default printer; without one, offers a PDF file instead.
    void cmdPrint_Click();
    void cmdCopy_Click();

private:
    bool printTo(class QPrinter &printer);

    QPlainTextEdit *txtInfo_ = nullptr;
    QPushButton *cmdCopy_ = nullptr;
    QPushButton *cmdPrint_ = nullptr;
    QPushButton *cmdFinished_ = nullptr;
    QString text_;
};
