// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

class QMessageBox;
class QWidget;

// The program's one message box routine. Styles are the classic message box
// style numbers: buttons 0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore,
// 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel; icons 16 stop, 32 question,
// 48 exclamation, 64 information; 256 and 512 make the second or third
// button the default. The result is the classic button number: 1 OK,
// 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No.
namespace mb {

constexpr qint16 vbOKOnly = 0;
constexpr qint16 vbOKCancel = 1;
constexpr qint16 vbYesNo = 4;
constexpr qint16 vbCritical = 16;
constexpr qint16 vbQuestion = 32;
constexpr qint16 vbExclamation = 48;
constexpr qint16 vbInformation = 64;

constexpr int vbOK = 1;
constexpr int vbCancel = 2;
constexpr int vbYes = 6;
constexpr int vbNo = 7;

// A box owned by `owner` with the default title unless one is given. With a
// help context other than -1 it also carries a Help button that opens the
// help without closing the box. The text is plain text, never HTML, since
// it often carries text from outside (element set names, server answers,
// callsigns); the box stays on the screen however long the text.
int ShowMsg(QWidget *owner, const QString &text, qint16 style = vbOKOnly,
            const QString &title = QString(), qint32 helpContext = -1);

// The same box with one OK button, but not modal: it is shown and left to
// the operator, and deletes itself when closed. Nothing waits for it.
QMessageBox *ShowNotice(QWidget *owner, const QString &text, qint16 style = vbInformation,
                        const QString &title = QString());

void SetMsgTitle(const QString &title);
QString msgTitle();

} // namespace mb
