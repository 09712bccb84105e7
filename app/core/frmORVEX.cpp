// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/frmORVEX.h"

#include "aprs/AprsStore.h"
#include "aprs/AprsTraffic.h"
#include "aprs/HeardListWindow.h"
#include "aprs/HeardStations.h"
#include "aprs/IgateClient.h"
#include "aprs/MessageTraffic.h"
#include "core/MainSettings.h"
#include "core/MonitorText.h"
#include "core/SatStatusPanel.h"
#include "database/StationDatabase.h"
#include "history/ChannelLimits.h"
#include "history/LogImportDialog.h"
#include "history/TelemetryHistory.h"
#include "map/frmMap.h"
#include "orbit/ElementProvenance.h"
#include "orbit/TrackingContext.h"
#include "orbit/clsSats.h"
#include "orbit/frmDownload.h"
#include "pklink/PKLINK.h"
#include "platform/DateTime.h"
#include "platform/MonitorView.h"
#include "platform/ProfileStore.h"
#include "platform/ScreenTwips.h"
#include "platform/SingleInstance.h"
#include "radio/StationSteering.h"
#include "settings/frmAbout.h"
#include "settings/frmAgwpeSetup.h"
#include "settings/frmCalls.h"
#include "settings/frmLocation.h"
#include "sharing/SidsUploader.h"
#include "telemetry/TelemetryDecoder.h"
#include "telemetry/TelemetryPanel.h"
#include "terminal/frmTerm.h"
#include "ui/ElidedLabel.h"
#include "ui/Help.h"
#include "ui/ScreenFit.h"
#include "ui/mb.h"
#include "version.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimeZone>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr const char *programTitle = "ORVEX Telemetry Decoder";
} // namespace

frmORVEX::frmORVEX(const QString &programFolder, QWidget *parent)
    : QMainWindow(parent),
      dataFolder_(programFolder.isEmpty() ? orvex::DataFolder::forThisProgram()
                                          : orvex::DataFolder::inFolder(programFolder))
{
    strAppPath_ = dataFolder_.path() + QLatin1Char('/');
    buildWindow();
    buildMenus();
}

frmORVEX::~frmORVEX() = default;

void frmORVEX::buildWindow()
{
    setObjectName(QStringLiteral("frmORVEX"));
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);

    telemetry_ = new TelemetryPanel(central);
    column->addWidget(telemetry_);

    auto *lower = new QHBoxLayout;
    status_ = new SatStatusPanel(central);
    lower->addWidget(status_);

    auto *about = new QVBoxLayout;
    label2_ = new QLabel(central);
    label2_->setObjectName(QStringLiteral("Label2"));
    about->addWidget(label2_);
    auto *more = new QLabel(QStringLiteral("For more information, go to -"), central);
    about->addWidget(more);
    auto *link =
        new QLabel(QStringLiteral("<a href=\"https://www.amsat.org/\">www.amsat.org</a>"), central);
    link->setObjectName(QStringLiteral("lnkInfo"));
    link->setOpenExternalLinks(true);
    about->addWidget(link);
    about->addStretch();
    lower->addLayout(about);
    lower->addStretch();
    column->addLayout(lower);

    txtMon_ = new QPlainTextEdit(central);
    txtMon_->setObjectName(QStringLiteral("txtMon"));
    txtMon_->setReadOnly(true);
    // Text cut from the start must not pile up as undo steps.
    txtMon_->setUndoRedoEnabled(false);
    txtMon_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Above 10000 characters the monitor is cut back to its last 5000
    // before more is added.
    monitorPending_ = std::make_unique<monitorview::PendingText>(
        *txtMon_,
        [](QStringView shown) -> qsizetype {
            return shown.size() > monitor::monitorLimit ? shown.size() - monitor::monitorKeep : 0;
        },
        monitor::monitorLimit);
    txtMon_->setMinimumHeight(160);
    // Enabled while the link is up.
    txtMon_->setEnabled(false);
    column->addWidget(txtMon_, 1);

    // The AGWPE link: the control is a part of the window but not shown.
    pklink_ = new PKLINK(central);
    pklink_->setObjectName(QStringLiteral("PKLINK1"));
    pklink_->hide();
    setCentralWidget(central);
    resize(760, 640);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(1000);
    timRetry_ = new QTimer(this);
    timRetry_->setObjectName(QStringLiteral("timRetry"));
    timRetry_->setInterval(30000);
    connect(timer1_, &QTimer::timeout, this, [this] {
        CheckSatUpdate(false);
        showLinkStatus();
        telemetry_->refreshAges(displayTime());
    });
    connect(timRetry_, &QTimer::timeout, this, &frmORVEX::onRetryTick);
    connect(status_->cmdChangeSat, &QPushButton::clicked, this, &frmORVEX::ChangeSat);
    connect(status_->cmdPassInfo, &QPushButton::clicked, this, &frmORVEX::showPassInfo);
    linkStatus_ = new ElidedLabel(linkState_.statusText(-1), this); // AGWPE's own words
    linkStatus_->setObjectName(QStringLiteral("linkStatus"));
    connectNowButton_ = new QToolButton(this);
    connectNowButton_->setObjectName(QStringLiteral("connectNow"));
    connectNowButton_->setText(QStringLiteral("Connect now"));
    connectNowButton_->setAutoRaise(true);
    statusBar()->addWidget(linkStatus_, 1);
    statusBar()->addPermanentWidget(connectNowButton_);
    connect(connectNowButton_, &QToolButton::clicked, this, &frmORVEX::connectNow);
    connectLinkEvents();
}

void frmORVEX::buildMenus()
{
    QMenuBar *bar = menuBar();
    QAction *terminal = bar->addAction(QStringLiteral("&Terminal"));
    terminal->setObjectName(QStringLiteral("mnuTerminal"));
    connect(terminal, &QAction::triggered, this, &frmORVEX::showTerminal);
    QAction *map = bar->addAction(QStringLiteral("&Map"));
    map->setObjectName(QStringLiteral("mnuMap"));
    connect(map, &QAction::triggered, this, &frmORVEX::showMap);
    QAction *historyWindow = bar->addAction(QStringLiteral("Telemetry H&istory"));
    historyWindow->setObjectName(QStringLiteral("historyAction"));
    connect(historyWindow, &QAction::triggered, this, &frmORVEX::showHistory);
    QAction *sky = bar->addAction(QStringLiteral("Sky &View"));
    sky->setObjectName(QStringLiteral("skyViewAction"));
    connect(sky, &QAction::triggered, this, &frmORVEX::showSkyView);
    QAction *messages = bar->addAction(QStringLiteral("&APRS Messages"));
    messages->setObjectName(QStringLiteral("messagesAction"));
    connect(messages, &QAction::triggered, this, &frmORVEX::showMessages);
    QAction *heard = bar->addAction(QStringLiteral("Heard &Stations"));
    heard->setObjectName(QStringLiteral("heardStationsAction"));
    connect(heard, &QAction::triggered, this, &frmORVEX::showHeardStations);

    QMenu *options = bar->addMenu(QStringLiteral("&Options"));
    mnuUseLocalTime_ = options->addAction(QStringLiteral("&Use Local Time"));
    mnuUseLocalTime_->setObjectName(QStringLiteral("mnuUseLocalTime"));
    mnuUseLocalTime_->setCheckable(true);
    connect(mnuUseLocalTime_, &QAction::triggered, this, &frmORVEX::toggleUseLocalTime);
    mnuOnlyShowORVEX_ = options->addAction(QStringLiteral("&Only Show ORVEX"));
    mnuOnlyShowORVEX_->setObjectName(QStringLiteral("mnuOnlyShowORVEX"));
    mnuOnlyShowORVEX_->setCheckable(true);
    connect(mnuOnlyShowORVEX_, &QAction::triggered, this, &frmORVEX::toggleOnlyShowOrvex);
    // "Use Sapphire Keps" and "Sides" are kept from the old layout and do nothing.
    options->addAction(QStringLiteral("Use &Sapphire Keps"))->setEnabled(false);
    options->addSeparator();
    QAction *station = options->addAction(QStringLiteral("S&tation Information"));
    station->setObjectName(QStringLiteral("mnuStation"));
    connect(station, &QAction::triggered, this, [this] { frmLocation(*this, this).exec(); });
    QAction *agwpe = options->addAction(QStringLiteral("&AGWPE Setup"));
    agwpe->setObjectName(QStringLiteral("mnuAgwpeSetup"));
    connect(agwpe, &QAction::triggered, this, [this] { frmAgwpeSetup(*this, this).exec(); });
    options->addAction(QStringLiteral("&Sides"))->setEnabled(false);
    QAction *calls = options->addAction(QStringLiteral("ORVEX &Callsigns"));
    calls->setObjectName(QStringLiteral("mnuCallsigns"));
    connect(calls, &QAction::triggered, this, [this] { frmCalls(*this, this).DoCalls(); });
    options->addSeparator();
    QAction *download = options->addAction(QStringLiteral("&Download Keps"));
    download->setObjectName(QStringLiteral("mnuDownloadKeps"));
    connect(download, &QAction::triggered, this, &frmORVEX::downloadKeps);
    QAction *sids = options->addAction(QStringLiteral("SiDS Up&load..."));
    sids->setObjectName(QStringLiteral("sidsUploadAction"));
    connect(sids, &QAction::triggered, this, &frmORVEX::showSidsUpload);
    QAction *alarms = options->addAction(QStringLiteral("&Pass Alarms..."));
    alarms->setObjectName(QStringLiteral("passAlarmsAction"));
    connect(alarms, &QAction::triggered, this, &frmORVEX::showAlarmSettings);
    QAction *radio = options->addAction(QStringLiteral("&Radio..."));
    radio->setObjectName(QStringLiteral("radioAction"));
    connect(radio, &QAction::triggered, this, &frmORVEX::showRadioSettings);
    QAction *rotator = options->addAction(QStringLiteral("A&ntenna Rotator..."));
    rotator->setObjectName(QStringLiteral("rotatorAction"));
    connect(rotator, &QAction::triggered, this, &frmORVEX::showRotatorSettings);
    QAction *importLogs = options->addAction(QStringLiteral("&Import Logs..."));
    importLogs->setObjectName(QStringLiteral("importLogsAction"));
    connect(importLogs, &QAction::triggered, this, &frmORVEX::importLogs);

    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    QAction *contents = help->addAction(QStringLiteral("&Help Contents"));
    contents->setObjectName(QStringLiteral("mnuHelpContents"));
    contents->setShortcut(QKeySequence(Qt::Key_F1));
    connect(contents, &QAction::triggered, this, [] { ShowHelpContents(); });
    help->addSeparator();
    QAction *about = help->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    connect(about, &QAction::triggered, this,
            [this] { frmAbout(this, dataFolder_.path()).exec(); });

    QAction *exit = bar->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("mnuExit"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
}

void frmORVEX::setCaption()
{
    setWindowTitle(QStringLiteral("%1    V%2.%3%4%5")
                       .arg(QLatin1String(programTitle))
                       .arg(orvex::version::major)
                       .arg(orvex::version::minor)
                       .arg(orvex::version::revision)
                       .arg(QLatin1String(orvex::version::fileDescription)));
}

bool frmORVEX::Load()
{
    // The data folder first: the lock, the settings and the user's files
    // live there.
    if (const QString problem = dataFolder_.prepare(); !problem.isEmpty()) {
        mb::ShowMsg(this, problem, mb::vbCritical);
        return false;
    }
    // 1. Help, then 2. one program per folder.
    InitHelp(this, QFileInfo(dataFolder_.shippedFile(QStringLiteral("orvexdecode.html"))).path());
    setHelpDataFolder(dataFolder_.path());
    instance_ = std::make_unique<SingleInstance>(strAppPath_);
    if (!instance_->acquire()) {
        mb::ShowMsg(this, QStringLiteral("ORVEXDecode is already running. "), mb::vbInformation);
        return false;
    }
    // 3. to 5.
    setCaption();
    label2_->setText(QStringLiteral("The satellite is a cube.\nX+, X-, Y+, Y-, Z+ and Z- "
                                    "refer to the six sides of the cube."));
    // 6. and 7. The channel map is fixed; a formula file that cannot be read ends the program.
    const FormulaTable::LoadResult loaded =
        formulas_.LoadFormulae(strAppPath_ + QStringLiteral("formula.txt"));
    if (!loaded.ok) {
        mb::ShowMsg(
            this,
            QStringLiteral("An error occurred loading the formulae. The error message is '") +
                loaded.errorDescription + QLatin1Char('\''),
            mb::vbCritical);
        return false;
    }
    dataFileNotices_ = loaded.notices;
    decoder_ = std::make_unique<TelemetryDecoder>(formulas_);

    // 8. The settings file is named after the executable, beside the program.
    settings_ = std::make_unique<MainSettings>(strAppPath_ + orvex::DataFolder::settingsFileName());
    orvex::ProfileStore::removeLeftoverTemporaries(settings_->strFile());
    orvex::ProfileStore::setWriteFailureHook(
        [self = QPointer<frmORVEX>(this)](const QString &file, const QString &reason) {
            if (self)
                self->settingsWriteFailed(file, reason);
        });
    cSats_ = std::make_unique<clsSats>();
    tracking_ = std::make_unique<TrackingContext>(*cSats_);
    callsigns_ = std::make_unique<CallsignList>(settings_->ini());
    // 9. and 10.
    mb::SetMsgTitle(QLatin1String(programTitle));
    LoadSettings();
    tracking_->setCurrent(intObjIndex_);
    // 11. to 17.
    FindKeps();
    LoadCallsigns();
    twipsPerPixelX_ = qRound(ScreenTwips::twipsPerPixelX());
    twipsPerPixelY_ = qRound(ScreenTwips::twipsPerPixelY());
    ApplyStationLocation();
    cSats_->setStrKeplerPath(strAppPath_ + QStringLiteral("Keps"));
    ShowTimeMode();
    for (int index = 0; index < telemetry::gridCount; ++index)
        telemetry_->SizeGrid(index);
    // 18. The terminal window is loaded hidden; it forgets itself when it unloads.
    mfrmTerm_ = std::make_unique<frmTerm>(*this, strAppPath_, settings_->strFile(),
                                          dataFolder_.shippedFile(QStringLiteral("glyphix.ttf")));
    connect(mfrmTerm_.get(), &frmTerm::ImUnloading, this, [this] {
        // Not deleted here: the window is in the middle of its own unload.
        if (frmTerm *gone = mfrmTerm_.release())
            gone->deleteLater();
    });
    mfrmTerm_->Load();
    // The station database and the parts that keep records in it, before
    // any frame can arrive; a file that cannot be used is told after the
    // settings' own warning.
    database_ =
        std::make_unique<database::StationDatabase>(strAppPath_ + QStringLiteral("telemetry.db"));
    history_ = std::make_unique<history::TelemetryHistory>(*database_, strAppPath_);
    startSharing();
    startTracking();
    startSteering();
    startAprs();
    startMessages();
    auto *storeStatus = new QLabel(this);
    storeStatus->setObjectName(QStringLiteral("storeStatus"));
    statusBar()->addWidget(storeStatus);
    connect(database_.get(), &database::StationDatabase::statusChanged, storeStatus,
            &QLabel::setText);
    if (database_->open() == database::StationDatabase::State::Unusable)
        historyWarning_ =
            QStringLiteral("The telemetry history %1 cannot be used: %2. The program "
                           "goes on without it; the grids are not affected.")
                .arg(QDir::toNativeSeparators(database_->path()), database_->errorText());
    dataFileNotices_ << history_->open();
    // From now on the monitor and its log show times as the setting says.
    recordDisplayZone();
    loadHeardStations();
    telemetry_->setLimitCheck(
        [limits = history_->limits()](int grid, int row, int side, double value) {
            return limits.breach({grid, row, side}, value);
        });
    // The grids start from what the store kept of the last run.
    telemetry_->showStored(history_->lastValues([this](qint64 utcMs) {
        const QDateTime utc = QDateTime::fromMSecsSinceEpoch(utcMs, QTimeZone::utc());
        return cSats_ && cSats_->blnLocalTime()
                   ? orvex::wallClockToDate(utc.toTimeZone(orvex::Clock::localZone()))
                   : orvex::utcToDate(utc);
    }));
    // 19. to 21.
    ConnectToAgwpe();
    CheckSatUpdate(true);
    timer1_->start();
    // 22.
    show();
    showSettingsWarning();
    showHistoryWarning();
    showDataFileNotices();
    // 23.
    if (!blnLocationKnown_)
        mb::ShowMsg(this,
                    QStringLiteral("Pass predictions will not be available until you input your "
                                   "latitude and longitude in 'Station Information'."),
                    mb::vbInformation);
    // 24.
    QString missing;
    for (const SatObject &sat : sats_) {
        if (sat.elementSetFound)
            continue;
        if (!missing.isEmpty())
            missing += QStringLiteral(" and ");
        missing += sat.name;
    }
    if (!missing.isEmpty())
        mb::ShowMsg(this, QStringLiteral("No Keps found for ") + missing + QLatin1Char('.'),
                    mb::vbInformation);
    return true;
}

void frmORVEX::LoadSettings()
{
    // The window is centred unless the file says otherwise (twips). Its size
    // is final by now; its frame comes only once it is shown.
    const int tppX = qRound(ScreenTwips::twipsPerPixelX());
    const int tppY = qRound(ScreenTwips::twipsPerPixelY());
    adjustSize();
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->geometry()
                             : QRect(0, 0, 1024, 768);
    const QSize frame = frameGeometry().size();
    const int centredLeft = (screen.width() - frame.width()) / 2 * tppX;
    const int centredTop = (screen.height() - frame.height()) / 2 * tppY;
    settings_->Load(centredLeft, centredTop);

    sats_[0].name = QStringLiteral("ORVEX");
    sats_[1].name = QStringLiteral("ISS");
    sats_[0].objectNumber = settings_->orvexObjectNumber();
    sats_[1].objectNumber = settings_->issObjectNumber();
    intObjIndex_ = settings_->objIndex();
    const QPoint stored(static_cast<int>(static_cast<float>(settings_->left()) / tppX),
                        static_cast<int>(static_cast<float>(settings_->top()) / tppY));
    // The inside's corner, as SaveSettings keeps it: setGeometry places the
    // inside whatever happens to the window before it is shown, where move()
    // would place the frame or the inside as Qt sees fit.
    setGeometry(orvex::placementOnScreens(QRect(stored, size())));
    orvex::placeWhenFramed(this, settings_->left() == centredLeft && settings_->top() == centredTop
                                     ? orvex::WhenFramed::Centre
                                     : orvex::WhenFramed::KeepOnScreen);
    // USE_LOCAL_TIME goes to the orbit object's local-time flag.
    cSats_->setBlnLocalTime(settings_->useLocalTime());
    blnOnlyShowOrvex_ = settings_->onlyShowOrvex();
    mnuOnlyShowORVEX_->setChecked(blnOnlyShowOrvex_);
    for (SatObject &sat : sats_)
        sat.refreshPeriod = 10;
}

void frmORVEX::SaveSettings()
{
    const int tppX = qRound(ScreenTwips::twipsPerPixelX());
    const int tppY = qRound(ScreenTwips::twipsPerPixelY());
    // The inside's corner, not the frame's: LoadSettings places the inside,
    // before any window manager has framed the window.
    settings_->SavePlacement(geometry().x() * tppX, geometry().y() * tppY, intObjIndex_);
}

void frmORVEX::closeEvent(QCloseEvent *event)
{
    Unload();
    event->accept();
}

void frmORVEX::Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    CloseHelp();
    blnNoRetry_ = true;
    timer1_->stop();
    timRetry_->stop();
    if (mfrmTerm_) {
        std::unique_ptr<frmTerm> terminal = std::move(mfrmTerm_);
        terminal->Unload();
    }
    // Closing the map saves its position; it then forgets itself.
    if (mfrmMap_)
        mfrmMap_->close();
    stopMessages();
    stopSharing();
    stopTracking();
    stopSteering();
    closeHistory();
    tracking_.reset();
    cSats_.reset();
    history_.reset();
    aprsStore_.reset();
    // What waits is committed now, before the program ends.
    database_.reset();
    if (settings_ && !isMinimized())
        SaveSettings();
    callsigns_.reset();
    settings_.reset();
    orvex::ProfileStore::setWriteFailureHook({});
    // The last chance to say that the settings of this run were not kept.
    showSettingsWarning();
    instance_.reset();
    emit unloaded();
}

void frmORVEX::settingsWriteFailed(const QString &file, const QString &reason)
{
    if (settingsWarned_)
        return;
    settingsWarned_ = true;
    settingsWarning_ = QStringLiteral("The settings file ") + QDir::toNativeSeparators(file) +
                       QStringLiteral(" cannot be written: ") + reason +
                       QStringLiteral(". The program goes on with the settings it has; changes "
                                      "made now will not be kept.");
    QMetaObject::invokeMethod(this, &frmORVEX::showSettingsWarning, Qt::QueuedConnection);
}

void frmORVEX::showSettingsWarning()
{
    const QString text = std::exchange(settingsWarning_, QString());
    if (!text.isEmpty())
        mb::ShowMsg(this, text, mb::vbExclamation);
}

void frmORVEX::showHistoryWarning()
{
    const QString text = std::exchange(historyWarning_, QString());
    if (!text.isEmpty())
        mb::ShowMsg(this, text, mb::vbExclamation);
}

// The lines of formula.txt and limits.txt that were not taken, once, at start.
void frmORVEX::showDataFileNotices()
{
    constexpr qsizetype shownAtMost = 20;
    const QStringList notices = std::exchange(dataFileNotices_, QStringList());
    if (notices.isEmpty())
        return;
    QString text = notices.mid(0, shownAtMost).join(QLatin1Char('\n'));
    if (notices.size() > shownAtMost)
        text += QStringLiteral("\n... and %1 more.").arg(notices.size() - shownAtMost);
    mb::ShowMsg(this, text, mb::vbExclamation);
}

void frmORVEX::showTerminal()
{
    if (!mfrmTerm_)
        return;
    if (mfrmTerm_->isMinimized())
        mfrmTerm_->showNormal();
    mfrmTerm_->show();
    mfrmTerm_->raise();
    mfrmTerm_->activateWindow();
}

void frmORVEX::downloadKeps()
{
    std::vector<ElementSetChange> changes;
    for (size_t i = 0; i < sats_.size(); ++i)
        changes.push_back({::MakeLocationCaption(static_cast<int>(i), QString()),
                           cSats_->elementProvenance(sats_[i].name),
                           {}});
    frmDownload window(strAppPath_, this);
    bool reread = false;
    window.setAfterInstall([this, &changes, &reread](const QStringList &installedFiles) {
        readKepsAgain();
        reread = true;
        for (size_t i = 0; i < sats_.size(); ++i)
            changes[i].after = cSats_->elementProvenance(sats_[i].name);
        return elementChangeText(installedFiles, changes, cSats_->datGmtTime(), strAppPath_);
    });
    if (!window.DownloadKeps())
        return;
    if (!reread)
        readKepsAgain();
    elementSetsChanged();
}

void frmORVEX::readKepsAgain()
{
    // The engine reads the folder again, and the scan finds the new names.
    cSats_->setStrKeplerPath(strAppPath_ + QStringLiteral("Keps"));
    FindKeps();
}

void frmORVEX::elementSetsChanged()
{
    CheckSatUpdate(true);
    if (mfrmMap_)
        mfrmMap_->ElementsChanged();
}

QString frmORVEX::mapPictureFile() const
{
    return dataFolder_.shippedFile(QStringLiteral("world.gif"));
}

void frmORVEX::showMap()
{
    if (!mfrmMap_) {
        mfrmMap_ = new frmMap(*this, this);
        mfrmMap_->setAttribute(Qt::WA_DeleteOnClose);
        connect(mfrmMap_, &frmMap::ImUnloading, this, [this] { mfrmMap_ = nullptr; });
    } else if (mfrmMap_->isMinimized()) {
        mfrmMap_->showNormal();
    }
    mfrmMap_->show();
    mfrmMap_->raise();
    mfrmMap_->activateWindow();
}

void frmORVEX::toggleOnlyShowOrvex()
{
    blnOnlyShowOrvex_ = !blnOnlyShowOrvex_;
    mnuOnlyShowORVEX_->setChecked(blnOnlyShowOrvex_);
    settings_->setOnlyShowOrvex(blnOnlyShowOrvex_);
}

QString frmORVEX::strAprsDest() const
{
    return aprsDestination(orvex::version::major, orvex::version::minor, orvex::version::revision);
}

// Settings properties, kept by MainSettings. Before the start-up and after
// the shutdown there are none to read.
QString frmORVEX::strCallsign() const
{
    return settings_ ? settings_->strCallsign() : QString();
}
void frmORVEX::setStrCallsign(const QString &value)
{
    settings_->setStrCallsign(value);
}
QString frmORVEX::strComment() const
{
    return settings_ ? settings_->strComment() : QString();
}
void frmORVEX::setStrComment(const QString &value)
{
    settings_->setStrComment(value);
}
QString frmORVEX::strLoc() const
{
    return settings_ ? settings_->strLoc() : QString();
}
void frmORVEX::setStrLoc(const QString &value)
{
    settings_->setStrLoc(value);
}
QString frmORVEX::strLat() const
{
    return settings_ ? settings_->strLat() : QString();
}
void frmORVEX::setStrLat(const QString &value)
{
    settings_->setStrLat(value);
    stationMoved();
}
QString frmORVEX::strLong() const
{
    return settings_ ? settings_->strLong() : QString();
}
void frmORVEX::setStrLong(const QString &value)
{
    settings_->setStrLong(value);
    stationMoved();
}
double frmORVEX::stationLatitude() const
{
    return settings_ ? settings_->dblLat() : 0;
}
double frmORVEX::stationLongitude() const
{
    return settings_ ? settings_->dblLong() : 0;
}
void frmORVEX::stationMoved()
{
    ApplyStationLocation();
    CheckSatUpdate(true);
}
QString frmORVEX::strAgwHost() const
{
    return settings_ ? settings_->strAgwHost() : QString();
}
void frmORVEX::setStrAgwHost(const QString &value)
{
    settings_->setStrAgwHost(value);
}
qint16 frmORVEX::intAgwPort() const
{
    return settings_ ? settings_->intAgwPort() : qint16(8000);
}
void frmORVEX::setIntAgwPort(qint16 value)
{
    settings_->setIntAgwPort(value);
}
QString frmORVEX::strAgwLoginId() const
{
    return settings_ ? settings_->strAgwLoginId() : QString();
}
void frmORVEX::setStrAgwLoginId(const QString &value)
{
    settings_->setStrAgwLoginId(value);
}
QString frmORVEX::strAgwPassword() const
{
    return settings_ ? settings_->strAgwPassword() : QString();
}
void frmORVEX::setStrAgwPassword(const QString &value)
{
    settings_->setStrAgwPassword(value);
}

// Callsign list.
void frmORVEX::InitCallsigns()
{
    callsigns_->InitCallsigns();
}
void frmORVEX::LoadCallsigns()
{
    callsigns_->LoadCallsigns();
}
QList<clsCallsign> frmORVEX::cCallsigns() const
{
    return callsigns_->cCallsigns();
}
void frmORVEX::setCCallsigns(const QList<clsCallsign> &list)
{
    callsigns_->setCCallsigns(list);
}
int frmORVEX::intSideForCallsign(const QString &callsign) const
{
    return callsigns_->intSideForCallsign(callsign);
}

void frmORVEX::DecodeTelemetry(const QString &strFromCall, const QString &strLine)
{
    // Decoded once, for the grids and the history alike.
    const std::optional<TelemetryDecoder::Frame> frame =
        decoder_->decodeFrame(intSideForCallsign(strFromCall), strLine);
    if (!frame)
        return;
    telemetry_->showFrame(*frame, displayTime());
    if (history_)
        history_->record(strFromCall, strLine, frame);
}

void frmORVEX::importLogs()
{
    if (!history_ || !history_->available() || !decoder_) {
        mb::ShowMsg(this, QStringLiteral("The telemetry history is not available in this run."),
                    mb::vbExclamation);
        return;
    }
    const auto sideOf = [this](const QString &callsign) -> std::optional<int> {
        if (!callsigns_ || !callsigns_->contains(callsign))
            return std::nullopt;
        return callsigns_->intSideForCallsign(callsign);
    };
    history::importLogs(this, history_->store(), *decoder_, sideOf,
                        strAppPath_ + QStringLiteral("LOGS"));
}

orvex::Date frmORVEX::displayTime() const
{
    return cSats_ ? cSats_->datTime() : orvex::utcToDate(orvex::Clock::nowUtc());
}

frmMap *frmORVEX::map() const
{
    return mfrmMap_.data();
}
