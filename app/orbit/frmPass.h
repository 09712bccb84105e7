// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class QLabel;
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
    // The header line above the list: which element set, how old; in the
    // warning colour when it is old or unusable. Not part of the copied text.
    void setElementNote(const QString &text, bool warning);
    QLabel *elementsLabel() const { return elementsLabel_; }

    // Prints on the default printer; without one, offers a PDF file instead.
    void cmdPrint_Click();
    void cmdCopy_Click();

private:
    bool printTo(class QPrinter &printer);

    QLabel *elementsLabel_ = nullptr;
    QPlainTextEdit *txtInfo_ = nullptr;
    QPushButton *cmdCopy_ = nullptr;
    QPushButton *cmdPrint_ = nullptr;
    QPushButton *cmdFinished_ = nullptr;
    QString text_;
};
