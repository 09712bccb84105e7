// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/frmCalls.h"

#include "settings/CallsignListLines.h"
#include "settings/StationSettings.h"
#include "shared/ORXUtil.h"
#include "ui/DialogSupport.h"
#include "ui/FocusLeaveGuard.h"
#include "ui/Help.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include <algorithm>

frmCalls::frmCalls(StationSettings &settings, QWidget *parent)
    : QDialog(parent), settings_(settings)
{
    setWindowTitle(QStringLiteral("ORVEX Callsigns"));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    lstCalls = new QListWidget(this);
    lstCalls->setObjectName(QStringLiteral("lstCalls"));
    lstCalls->setFont(fixed);
    lstCalls->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(22, QLatin1Char('M'))));
    txtCall = new QLineEdit(this);
    txtCall->setObjectName(QStringLiteral("txtCall"));
    txtCall->setFont(fixed);
    txtCall->setMaxLength(9);
    optA = new QRadioButton(QStringLiteral("A"), this);
    optA->setObjectName(QStringLiteral("optA"));
    optB = new QRadioButton(QStringLiteral("B"), this);
    optB->setObjectName(QStringLiteral("optB"));
    // A group that allows no selection, so both options can be cleared.
    auto *sides = new QButtonGroup(this);
    sides->setExclusive(false);
    sides->addButton(optA);
    sides->addButton(optB);
    connect(optA, &QRadioButton::clicked, this, [this] {
        optB->setChecked(false);
        optA->setChecked(true);
        EnableAdd();
    });
    connect(optB, &QRadioButton::clicked, this, [this] {
        optA->setChecked(false);
        optB->setChecked(true);
        EnableAdd();
    });

    const auto makeButton = [this](const QString &caption, const char *name) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false); // the return key belongs to the box and the list
        return button;
    };
    cmdAdd = makeButton(QStringLiteral("&Put In List"), "cmdAdd");
    cmdAdd->setEnabled(false);
    cmdOk = makeButton(QStringLiteral("&Ok"), "cmdOk");
    cmdCancel = makeButton(QStringLiteral("&Cancel"), "cmdCancel");
    cmdDefaults = makeButton(QStringLiteral("&Defaults"), "cmdDefaults");

    auto *entry = new QGridLayout;
    auto *callLabel = new QLabel(QStringLiteral("Callsign"), this);
    callLabel->setBuddy(txtCall);
    entry->addWidget(callLabel, 0, 0);
    entry->addWidget(txtCall, 0, 1);
    entry->addWidget(new QLabel(QStringLiteral("Side"), this), 1, 0);
    auto *options = new QHBoxLayout;
    options->addWidget(optA);
    options->addWidget(optB);
    options->addStretch();
    entry->addLayout(options, 1, 1);
    auto *right = new QVBoxLayout;
    right->addLayout(entry);
    right->addWidget(cmdAdd);
    right->addStretch();
    right->addWidget(new QLabel(QStringLiteral("Press F1 and read the help!"), this));
    right->addWidget(cmdOk);
    right->addWidget(cmdCancel);
    right->addWidget(cmdDefaults);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(lstCalls);
    layout->addLayout(right);
    setTabOrder(lstCalls, txtCall);
    setTabOrder(txtCall, optA);
    setTabOrder(optA, optB);
    setTabOrder(optB, cmdAdd);
    setTabOrder(cmdAdd, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    setTabOrder(cmdCancel, cmdDefaults);

    orvex::selectAllOnFocus(txtCall);
    orvex::filterKeys(txtCall, orvex::callsignKey);
    txtCall->installEventFilter(this);
    lstCalls->installEventFilter(this);
    guard_ = new FocusLeaveGuard(this);
    guard_->exempt(cmdCancel);
    guard_->addCheck(txtCall, [this] { return checkCallsign(); });

    connect(txtCall, &QLineEdit::textChanged, this, &frmCalls::EnableAdd);
    connect(cmdAdd, &QPushButton::clicked, this, &frmCalls::cmdAddClicked);
    connect(cmdOk, &QPushButton::clicked, this, &frmCalls::cmdOkClicked);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdDefaults, &QPushButton::clicked, this, &frmCalls::cmdDefaultsClicked);
    connect(lstCalls, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { EditCall(lstCalls->row(item)); });
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [this] { showHelpTopic(this, QStringLiteral("callsigns")); });

    orvex::centreOnScreen(this);
}

void frmCalls::DoCalls()
{
    FillList();
    exec();
}

bool frmCalls::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (watched == txtCall && enter) {
        // The return key follows the button's rule: nothing while it is disabled.
        if (cmdAdd->isEnabled())
            cmdAddClicked();
        return true;
    }
    if (watched == lstCalls && lstCalls->currentRow() >= 0 &&
        lstCalls->currentItem()->isSelected()) {
        if (enter) {
            EditCall(lstCalls->currentRow());
            return true;
        }
        if (key == Qt::Key_Delete) {
            RemoveCall(lstCalls->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmCalls::EnableAdd()
{
    cmdAdd->setEnabled(!txtCall->text().isEmpty() && (optA->isChecked() || optB->isChecked()));
}

void frmCalls::RemoveCall(int index)
{
    delete lstCalls->takeItem(index);
    if (lstCalls->count() == 0)
        return;
    lstCalls->setCurrentRow(std::min(index, lstCalls->count() - 1));
}

void frmCalls::EditCall(int index)
{
    const QString line = lstCalls->item(index)->text();
    const bool sideA = orvex::lineSide(line) == QLatin1String("A");
    optA->setChecked(sideA);
    optB->setChecked(!sideA);
    txtCall->setText(orvex::lineCallsign(line));
    txtCall->setFocus(Qt::OtherFocusReason);
    EnableAdd();
}

void frmCalls::FillList()
{
    lstCalls->clear();
    const QList<clsCallsign> calls = settings_.cCallsigns();
    for (const clsCallsign &call : calls)
        lstCalls->addItem(orvex::callsignLine(call.strCallsign(), call.strSide()));
    SortList();
}

QStringList frmCalls::lines() const
{
    QStringList result;
    for (int i = 0; i < lstCalls->count(); ++i)
        result.append(lstCalls->item(i)->text());
    return result;
}

void frmCalls::SortList()
{
    const QStringList sorted = orvex::sortedCallsignLines(lines());
    lstCalls->clear();
    lstCalls->addItems(sorted);
}

bool frmCalls::checkCallsign()
{
    const QString text = txtCall->text();
    if (text.isEmpty() || ORXUtil::IsValidCallsign(text))
        return true;
    orvex::showStopMessage(this, text + QStringLiteral(" is not a valid callsign."));
    txtCall->setFocus(Qt::OtherFocusReason);
    return false;
}

void frmCalls::cmdAddClicked()
{
    const QString text = txtCall->text();
    if (!ORXUtil::IsValidCallsign(text)) {
        orvex::showStopMessage(this, text + QStringLiteral(" is not a valid callsign."));
        txtCall->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The text as typed names the line: Q9ZZZ-05 is not the listed Q9ZZZ-5
    // and goes in as a line of its own, which the sort then shows as -5.
    const QString line =
        orvex::callsignLine(text, optA->isChecked() ? QStringLiteral("A") : QStringLiteral("B"));
    int found = -1;
    for (int i = 0; i < lstCalls->count() && found < 0; ++i)
        if (orvex::lineCallsign(lstCalls->item(i)->text()) == text)
            found = i;
    if (found >= 0) {
        lstCalls->item(found)->setText(line);
    } else {
        lstCalls->addItem(line);
        SortList();
    }
    txtCall->clear();
    optA->setChecked(false);
    optB->setChecked(false);
    EnableAdd();
}

void frmCalls::cmdOkClicked()
{
    if (!guard_->checkFocusedBox())
        return;
    if (lstCalls->count() == 0) {
        orvex::showStopMessage(this, QStringLiteral("You cannot delete all the callsigns."));
        return;
    }
    settings_.setCCallsigns(orvex::callsignsFromLines(lines()));
    accept();
}

void frmCalls::cmdDefaultsClicked()
{
    settings_.InitCallsigns();
    settings_.LoadCallsigns();
    FillList();
}
