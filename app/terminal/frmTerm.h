// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "shared/clsIni.h"

#include <QMainWindow>
#include <QString>

#include <memory>
#include <optional>

class QAction;
class QLineEdit;
class QPushButton;
class QTimer;
class RichMonitor;
class TerminalHost;
class TerminalLog;
class FocusLeaveGuard;
class clsWindowPos;

// The packet terminal: the monitor of everything the main window forwards,
// the daily log, and the transmit line with its addresses and the two APRS
// beacons. It reaches the main window only through TerminalHost.
//
// Life: construct, Load() (hidden), show() any number of times; Esc, the
// Close item and the close box only hide it. Unload() ends it for good:
// it writes TO and VIA, closes the log, saves the placement and emits
// ImUnloading as its last step. The destructor unloads, without
// ImUnloading, when that has not happened yet.
class frmTerm : public QMainWindow
{
    Q_OBJECT
public:
    // programFolder: where LOGS and USER.INI are;
    // settingsFile: the program's settings file (TERMINAL keys and the
    // TERMINAL_* placement in SETUP);
    // fontFile: the terminal font, glyphix.ttf in programFolder when empty.
    frmTerm(TerminalHost &host, const QString &programFolder, const QString &settingsFile,
            const QString &fontFile = QString(), QWidget *parent = nullptr);
    ~frmTerm() override;

    void Load();
    void Unload();

    // Shows `text` (lines ending in "\r\n") at the end of the monitor, cyan
    // for kind 4 (frames the engine transmitted), green for every other
    // kind, and logs it when logging is on. Works while hidden.
    void ShowData(const QString &text, qint16 kind);

    bool blnLogging() const;

signals:
    void ImUnloading();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    void unload(bool announce);
    void EnsureTerminalFont();
    void mnuLogAllDataClick();
    void reportLogFailure();

    void Transmit(const QString &text, const std::optional<QString> &destination = std::nullopt);
    void cmdAprsClick();
    void cmdLocClick();
    void ShowNeedPosition();
    void transmitLineEdited();
    void sendTypedLine();
    void recallLastLine();

    // The leave-field check of To, Via or Port; shows the refusal unless
    // `quiet`. A valid Via is rewritten in its normal form.
    bool fieldIsValid(QLineEdit *box, bool quiet);
    // True when To, Via and Port all pass; otherwise the first that does
    // not gets its message and the focus.
    bool fieldsAreValid();

    TerminalHost &host_;
    QString programFolder_;
    QString fontFile_;
    clsIni ini_;
    std::unique_ptr<TerminalLog> log_;
    std::unique_ptr<clsWindowPos> windowPos_;
    FocusLeaveGuard *fieldGuard_ = nullptr;
    bool loaded_ = false;
    bool unloading_ = false;
    bool wrapping_ = false;
    QString lastLine_;
    QChar symbol_ = QLatin1Char('-');
    QChar symbolTable_ = QLatin1Char('/');

    RichMonitor *rtbMon_ = nullptr;
    QLineEdit *txtTx_ = nullptr;
    QLineEdit *txtTo_ = nullptr;
    QLineEdit *txtVia_ = nullptr;
    QLineEdit *txtPort_ = nullptr;
    QPushButton *cmdAprs_ = nullptr;
    QPushButton *cmdLoc_ = nullptr;
    QAction *mnuLogAllData_ = nullptr;
    QAction *mnuClear_ = nullptr;
    QAction *mnuClose_ = nullptr;
    QTimer *timer1_ = nullptr;
};
