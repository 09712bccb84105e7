// SPDX-License-Identifier: GPL-2.0-or-later
#include "terminal/frmTerm.h"

#include "platform/RichMonitor.h"
#include "platform/ScreenTwips.h"
#include "terminal/TerminalHost.h"
#include "terminal/TerminalLog.h"
#include "terminal/TerminalRules.h"
#include "ui/Caption.h"
#include "ui/DialogSupport.h"
#include "ui/FocusLeaveGuard.h"
#include "ui/clsWindowPos.h"
#include "ui/mb.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString terminalSection = QStringLiteral("TERMINAL");
const QString aprsSection = QStringLiteral("APRS");
const QString toTransmit = QStringLiteral("To be able to transmit, ");
constexpr int logTimerMs = 5000;
constexpr qint16 kindTransmitted = 4;

} // namespace

frmTerm::frmTerm(TerminalHost &host, const QString &programFolder, const QString &settingsFile,
                 const QString &fontFile, QWidget *parent)
    : QMainWindow(parent), host_(host), programFolder_(programFolder), fontFile_(fontFile),
      ini_(settingsFile), log_(std::make_unique<TerminalLog>(programFolder, ini_))
{
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Terminal"));
    buildWindow();
    resize(640, 440);
}

// An owner that destroys the window without unloading it first gets the
// unload without ImUnloading: it is forgetting the window already.
frmTerm::~frmTerm()
{
    unload(false);
}

void frmTerm::buildWindow()
{
    QMenu *options = menuBar()->addMenu(QStringLiteral("&Options"));
    mnuLogAllData_ = options->addAction(QStringLiteral("&Log All Data"));
    mnuLogAllData_->setObjectName(QStringLiteral("mnuLogAllData"));
    mnuLogAllData_->setCheckable(true);
    mnuClear_ = options->addAction(QStringLiteral("&Clear"));
    mnuClear_->setObjectName(QStringLiteral("mnuClear"));
    options->addSeparator();
    mnuClose_ = options->addAction(QStringLiteral("Cl&ose"));
    mnuClose_->setObjectName(QStringLiteral("mnuClose"));
    connect(mnuLogAllData_, &QAction::triggered, this, &frmTerm::mnuLogAllDataClick);
    connect(mnuClear_, &QAction::triggered, this, [this] { rtbMon_->clearAll(); });
    connect(mnuClose_, &QAction::triggered, this, &QWidget::hide);

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    rtbMon_ = new RichMonitor(central);
    rtbMon_->setObjectName(QStringLiteral("rtbMon"));
    rtbMon_->setCutRule(
        [](QStringView shown) -> qsizetype {
            return shown.size() > TerminalRules::monitorLimit
                       ? TerminalRules::monitorCutLength(shown)
                       : 0;
        },
        TerminalRules::monitorLimit);
    rtbMon_->setFocusPolicy(Qt::ClickFocus);
    column->addWidget(rtbMon_, 1);

    // The band under the monitor keeps its height; the monitor takes the rest.
    txtTx_ = new QLineEdit(central);
    txtTx_->setObjectName(QStringLiteral("txtTx"));
    txtTx_->setMaxLength(80);
    column->addWidget(txtTx_);

    auto *band = new QHBoxLayout;
    auto addField = [&](const QString &caption, const QString &name, int maxLength, int width) {
        auto *label = new Caption(caption, central);
        auto *box = new QLineEdit(central);
        box->setObjectName(name);
        box->setMaxLength(maxLength);
        box->setMinimumWidth(width);
        label->setBuddy(box);
        label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        band->addWidget(label);
        band->addWidget(box, width);
        return box;
    };
    const int charWidth = fontMetrics().horizontalAdvance(QLatin1Char('W'));
    txtTo_ = addField(QStringLiteral("&To"), QStringLiteral("txtTo"), 9, 8 * charWidth);
    txtVia_ = addField(QStringLiteral("&Via"), QStringLiteral("txtVia"), 40, 16 * charWidth);
    txtPort_ = addField(QStringLiteral("&Port"), QStringLiteral("txtPort"), 2, 3 * charWidth);
    cmdAprs_ = new QPushButton(QStringLiteral("&APRS beacon"), central);
    cmdAprs_->setObjectName(QStringLiteral("cmdAprs"));
    cmdLoc_ = new QPushButton(QStringLiteral("&Locator beacon"), central);
    cmdLoc_->setObjectName(QStringLiteral("cmdLoc"));
    band->addWidget(cmdAprs_);
    band->addWidget(cmdLoc_);
    column->addLayout(band);
    setCentralWidget(central);
    setTabOrder(txtTx_, txtTo_);
    setTabOrder(txtTo_, txtVia_);
    setTabOrder(txtVia_, txtPort_);
    setTabOrder(txtPort_, cmdAprs_);
    setTabOrder(cmdAprs_, cmdLoc_);

    // The field rules of every dialog: typed keys filtered and upper-cased,
    // the text selected on entry, and To, Via and Port checked on leaving.
    txtTx_->installEventFilter(this);
    for (QLineEdit *box : {txtTx_, txtTo_, txtVia_, txtPort_})
        orvex::selectAllOnFocus(box);
    orvex::filterKeys(txtTo_, orvex::callsignKey);
    // A path: callsigns parted by commas or blanks.
    orvex::filterKeys(txtVia_, [](int code) {
        return code == ',' || code == ' ' ? code : orvex::callsignKey(code);
    });
    orvex::filterKeys(txtPort_, orvex::digitKey);
    fieldGuard_ = new FocusLeaveGuard(this);
    for (QLineEdit *box : {txtTo_, txtVia_, txtPort_})
        fieldGuard_->addCheck(box, [this, box] { return fieldIsValid(box, false); });
    connect(txtTx_, &QLineEdit::textEdited, this, &frmTerm::transmitLineEdited);
    connect(cmdAprs_, &QPushButton::clicked, this, &frmTerm::cmdAprsClick);
    connect(cmdLoc_, &QPushButton::clicked, this, &frmTerm::cmdLocClick);

    // Esc anywhere in the window hides it.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::hide);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(logTimerMs);
    connect(timer1_, &QTimer::timeout, this, [this] { log_->Tick(); });
}

void frmTerm::Load()
{
    if (loaded_)
        return;
    loaded_ = true;
    windowPos_ = std::make_unique<clsWindowPos>();
    windowPos_->Init(this, QStringLiteral("TERMINAL"), &ini_);

    EnsureTerminalFont();
    QFont monitorFont{QLatin1String(TerminalRules::terminalFace)};
    monitorFont.setStyleHint(QFont::TypeWriter);
    monitorFont.setPointSizeF(TerminalRules::NearestFontSize(
        monitorFont.family(), TerminalRules::terminalFontPoints, ScreenTwips::twipsPerPixelY()));
    rtbMon_->setFont(monitorFont);

    const bool logOpened = log_->Load();
    mnuLogAllData_->setChecked(log_->blnLogging());

    txtTo_->setText(
        ini_.GetIniStringWriteDefault(terminalSection, QStringLiteral("TO"), QStringLiteral("CQ")));
    txtVia_->setText(ini_.GetIniStringWriteDefault(terminalSection, QStringLiteral("VIA"),
                                                   QStringLiteral("ORVEX-1")));
    txtPort_->setText(ini_.GetIniStringWriteDefault(terminalSection, QStringLiteral("PORT"),
                                                    QStringLiteral("1")));
    const QString userIni = QDir(programFolder_).filePath(QStringLiteral("USER.INI"));
    symbol_ = TerminalRules::symbolFromSetting(ini_.GetIniStringWriteDefault(
        aprsSection, QStringLiteral("APRS_SYMBOL_CHARACTER"), QStringLiteral("-"), userIni));
    symbolTable_ = TerminalRules::symbolFromSetting(ini_.GetIniStringWriteDefault(
        aprsSection, QStringLiteral("APRS_SYMBOL_TABLE_CHARACTER"), QStringLiteral("/"), userIni));

    timer1_->start();
    if (!logOpened)
        reportLogFailure();
}

void frmTerm::Unload()
{
    unload(true);
}

void frmTerm::unload(bool announce)
{
    if (!loaded_ || unloading_)
        return;
    unloading_ = true;
    ini_.SaveIniString(terminalSection, QStringLiteral("TO"), txtTo_->text());
    ini_.SaveIniString(terminalSection, QStringLiteral("VIA"), txtVia_->text());
    timer1_->stop();
    log_->CloseLog();
    // The placement is read from the window as it stands now.
    windowPos_.reset();
    close();
    if (announce)
        emit ImUnloading();
}

bool frmTerm::blnLogging() const
{
    return log_->blnLogging();
}

// The face is looked for first; only when it is missing is the file beside
// the program registered for this process.
void frmTerm::EnsureTerminalFont()
{
    const QString face = QLatin1String(TerminalRules::terminalFace);
    if (QFontDatabase::families().contains(face, Qt::CaseInsensitive))
        return;
    QFontDatabase::addApplicationFont(
        fontFile_.isEmpty() ? QDir(programFolder_).filePath(QStringLiteral("glyphix.ttf"))
                            : fontFile_);
}

void frmTerm::ShowData(const QString &text, qint16 kind)
{
    const QColor colour = kind == kindTransmitted ? QColor(0, 255, 255) : QColor(0, 255, 0);
    // Cut by the monitor's rule before the text goes in, which happens
    // once per turn of the event loop, or when the window is opened.
    rtbMon_->appendColoured(text, colour);
    if (log_->blnLogging() && !log_->WriteLog(text))
        reportLogFailure();
}

void frmTerm::mnuLogAllDataClick()
{
    log_->ToggleLogging();
    mnuLogAllData_->setChecked(log_->blnLogging());
}

void frmTerm::reportLogFailure()
{
    mnuLogAllData_->setChecked(false);
    mb::ShowMsg(this, log_->failure(), mb::vbExclamation);
}

void frmTerm::closeEvent(QCloseEvent *event)
{
    if (unloading_) {
        event->accept();
        return;
    }
    event->ignore();
    hide();
}

void frmTerm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (windowPos_ && !isMinimized()) {
        windowPos_->blnBeenInResize = true;
        windowPos_->RecordPosition();
    }
}

void frmTerm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    // A field that still fails its check keeps the focus.
    auto *box = qobject_cast<QLineEdit *>(focusWidget());
    if (box && box != txtTx_ && !fieldIsValid(box, true))
        return;
    txtTx_->setFocus(Qt::ActiveWindowFocusReason);
}

// The transmit line: Enter sends it, Ctrl+R brings the last line back.
bool frmTerm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != txtTx_ || event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        sendTypedLine();
        return true;
    }
    if ((key->key() == Qt::Key_R && key->modifiers().testFlag(Qt::ControlModifier)) ||
        key->text() == QString(QChar(18))) {
        recallLastLine();
        return true;
    }
    return false;
}

bool frmTerm::fieldIsValid(QLineEdit *box, bool quiet)
{
    QString refusal;
    if (box == txtTo_) {
        if (!TerminalRules::isValidTo(box->text()))
            refusal = QStringLiteral("That is not a valid AX25 address.");
    } else if (box == txtVia_) {
        const TerminalRules::ViaResult via = TerminalRules::ValidateVia(box->text());
        if (!via.valid)
            refusal = TerminalRules::viaRefusal(via.badPiece);
        else if (!quiet && via.path != box->text())
            box->setText(via.path);
    } else if (box == txtPort_) {
        if (!TerminalRules::isValidPort(box->text(), host_.intPortCount()))
            refusal = TerminalRules::portRefusal(host_.intPortCount());
    }
    if (refusal.isEmpty())
        return true;
    if (!quiet)
        mb::ShowMsg(this, refusal, mb::vbCritical);
    return false;
}

bool frmTerm::fieldsAreValid()
{
    for (QLineEdit *box : {txtTo_, txtVia_, txtPort_}) {
        if (fieldIsValid(box, true))
            continue;
        fieldIsValid(box, false);
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
        return false;
    }
    return true;
}

void frmTerm::Transmit(const QString &text, const std::optional<QString> &destination)
{
    const QString dest = destination ? *destination : host_.strAprsDest();
    const QString callsign = host_.strCallsign();
    if (callsign.isEmpty()) {
        mb::ShowMsg(this,
                    toTransmit + QStringLiteral("you must input your callsign in ") +
                        QStringLiteral("'Station Information'."),
                    mb::vbInformation);
        return;
    }
    if (dest.isEmpty()) {
        mb::ShowMsg(this,
                    toTransmit +
                        QStringLiteral("you must put a valid AX25 callsign or alias in 'To'."),
                    mb::vbInformation);
        return;
    }
    // Without the link the control refuses the frame; it is handed on all
    // the same, as the control is the one that knows.
    if (!host_.blnConectedToAgw())
        mb::ShowMsg(this, toTransmit + QStringLiteral("you must be connected to AGWPE."),
                    mb::vbInformation);
    host_.SendUnproto(TerminalRules::transmitPort(txtPort_->text()), callsign,
                      TerminalRules::destinationWithPath(dest, txtVia_->text()),
                      text + QLatin1Char('\r'));
}

void frmTerm::cmdAprsClick()
{
    if (!fieldsAreValid())
        return;
    const QString lat = host_.strLat();
    const QString lon = host_.strLong();
    if (lat.isEmpty() || lon.isEmpty()) {
        ShowNeedPosition();
        return;
    }
    Transmit(TerminalRules::positionBeacon(lat, lon, symbolTable_, symbol_, host_.strComment()));
}

void frmTerm::cmdLocClick()
{
    if (!fieldsAreValid())
        return;
    const QString locator = host_.strLoc();
    if (locator.isEmpty()) {
        ShowNeedPosition();
        return;
    }
    Transmit(TerminalRules::locatorBeacon(locator, symbolTable_, symbol_, host_.strComment()));
}

void frmTerm::ShowNeedPosition()
{
    mb::ShowMsg(this,
                QStringLiteral("To be able to transmit a beacon, ") +
                    QStringLiteral("you must input your latitude and longitude ") +
                    QStringLiteral("in 'Station Information'."),
                mb::vbInformation);
}

void frmTerm::sendTypedLine()
{
    if (!fieldsAreValid())
        return;
    lastLine_ = txtTx_->text();
    Transmit(lastLine_, txtTo_->text());
    txtTx_->clear();
}

void frmTerm::recallLastLine()
{
    txtTx_->setText(lastLine_);
    txtTx_->end(false);
}

// A line that reaches the wrap width is sent on by itself, up to its last
// space near the end; the rest stays to be typed on.
void frmTerm::transmitLineEdited()
{
    if (wrapping_)
        return;
    wrapping_ = true;
    while (txtTx_->text().size() >= TerminalRules::transmitWrapWidth && fieldsAreValid()) {
        const TerminalRules::WrappedLine line =
            TerminalRules::WrapLine(txtTx_->text(), TerminalRules::transmitWrapWidth);
        lastLine_ = line.first;
        Transmit(line.first, txtTo_->text());
        txtTx_->setText(line.rest);
        txtTx_->end(false);
    }
    wrapping_ = false;
}
