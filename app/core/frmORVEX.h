// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/CallsignList.h"
#include "core/LinkState.h"
#include "core/MainSettings.h"
#include "map/MapHost.h"
#include "orbit/SatObject.h"
#include "platform/DataFolder.h"
#include "platform/DateTime.h"
#include "settings/StationSettings.h"
#include "telemetry/FormulaTable.h"
#include "terminal/TerminalHost.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

namespace monitorview {
class PendingText;
}
class PKLINK;
class QAction;
class QLabel;
class QPlainTextEdit;
class QTimer;
class QToolButton;
class KepsAutoUpdate;
class PassAlarms;
class SatStatusPanel;
class SkyViewWindow;
class TrackingContext;
class SingleInstance;
class TelemetryPanel;
class TelemetryDecoder;
class clsSats;
class frmMap;
class frmTerm;
namespace sharing {
class SidsUploader;
class SidsUploadWindow;
} // namespace sharing
namespace history {
class HistoryWindow;
class TelemetryHistory;
} // namespace history
namespace database {
class StationDatabase;
} // namespace database
namespace radio {
class StationSteering;
} // namespace radio
namespace aprs {
class AprsStore;
class AprsTraffic;
class ConversationWindow;
class IgateClient;
class MessageTraffic;
class HeardListWindow;
class HeardStations;
} // namespace aprs

// The main window: the program's start-up object and hub.
class frmORVEX : public QMainWindow, public StationSettings, public TerminalHost, public MapHost
{
    Q_OBJECT
public:
    // programFolder: where settings, formula.txt and Keps live; empty for
    // the data folder that DataFolder's rule picks for this program.
    explicit frmORVEX(const QString &programFolder = QString(), QWidget *parent = nullptr);
    ~frmORVEX() override;

    // The start-up sequence; false when the program must end at once.
    bool Load();

    // Settings properties: each write stores the value and its key at once.
    // They are kept by MainSettings; the window forwards them.
    QString strCallsign() const override;
    void setStrCallsign(const QString &value) override;
    QString strComment() const override;
    void setStrComment(const QString &value) override;
    QString strLoc() const override;
    void setStrLoc(const QString &value) override;
    QString strLat() const override;
    void setStrLat(const QString &value) override;
    QString strLong() const override;
    void setStrLong(const QString &value) override;
    QString strAgwHost() const override;
    void setStrAgwHost(const QString &value) override;
    qint16 intAgwPort() const override;
    void setIntAgwPort(qint16 value) override;
    QString strAgwLoginId() const override;
    void setStrAgwLoginId(const QString &value) override;
    QString strAgwPassword() const override;
    void setStrAgwPassword(const QString &value) override;

    // The settings file, for the map's placement; nullptr outside start-up and shutdown.
    clsIni *cIni() const override { return settings_ ? &settings_->ini() : nullptr; }
    clsSats *cSats() const override { return cSats_.get(); }
    qint16 intObjIndex() const override { return intObjIndex_; }
    QString strObject() const override { return sats_[static_cast<size_t>(intObjIndex_)].name; }
    QString strAprsDest() const override;
    frmTerm *terminal() const { return mfrmTerm_.get(); }
    frmMap *map() const;

    // Callsign list.
    void InitCallsigns() override;
    void LoadCallsigns() override;
    QList<clsCallsign> cCallsigns() const override;
    void setCCallsigns(const QList<clsCallsign> &list) override;

    // The AGWPE link.
    bool blnConectedToAgw() const override { return blnConnected_; }
    qint16 intPortCount() const override;
    // Sends a UI frame; the text goes out one byte per character.
    bool SendUnproto(qint16 intPort, const QString &strOurCall, const QString &strDest,
                     const QString &strText) override;
    // Closes the link and opens it again with the current settings.
    void AgwReconnect() override;
    PKLINK *pklink() const { return pklink_; }
    QPlainTextEdit *txtMon() const { return txtMon_; }
    // Shows `text` (CR LF lines) in the monitor and passes it to the
    // terminal; `intWhere` is one of the monitor kinds.
    void ShowMonitorText(const QString &text, qint32 intWhere);

    // The satellite status panel.
    void ChangeSat() override;
    QString MakeLocationCaption() const override;
    SatStatusPanel *statusPanel() const { return status_; }

    // Telemetry from a frame of one of the satellite's callsigns.
    void DecodeTelemetry(const QString &strFromCall, const QString &strLine);
    int intSideForCallsign(const QString &callsign) const;
    TelemetryPanel *telemetryPanel() const { return telemetry_; }
    // The telemetry history; null before Load and after Unload.
    history::TelemetryHistory *telemetryHistory() const { return history_.get(); }

    // The program's data folder, with a trailing separator.
    QString strAppPath() const override { return strAppPath_; }
    QString mapPictureFile() const override;
    const SatObject &satObject(int index) const { return sats_.at(static_cast<size_t>(index)); }
    bool blnOnlyShowOrvex() const { return blnOnlyShowOrvex_; }
    double stationLatitude() const;
    double stationLongitude() const;
    // The SiDS upload of the satellite's frames; its statusTextChanged()
    // gives the status bar's "SiDS: n queued". Null before Load().
    sharing::SidsUploader *sidsUploader() const { return sids_.get(); }

signals:
    // The shutdown has run; the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    void buildMenus();
    void setCaption();
    void LoadSettings();
    void SaveSettings();
    // A station coordinate has changed: new predictions.
    void stationMoved();
    void Unload();
    void toggleOnlyShowOrvex();
    // A settings write failed: the first time in a run, the user is told
    // (once control is back in the event loop, not inside the write).
    void settingsWriteFailed(const QString &file, const QString &reason);
    void showSettingsWarning();
    // The telemetry history's failure, said once.
    void showHistoryWarning();
    void showDataFileNotices();

    // The link and the monitor.
    void connectLinkEvents();
    void ConnectToAgwpe();
    void onRetryTick();
    // `text` is the monitor's event line, `reason` the cause in few words.
    void onLinkDown(const QString &text, const QString &reason);
    void showLinkStatus();
    void connectNow();
    void onMonUFrame(const QString &strFromCall, const QByteArray &bData);
    void ShowMonitoredFrame(const QByteArray &bData, qint32 intWhere);

    // The telemetry history window (frmORVEXHistory.cpp).
    void showHistory();
    void closeHistory();

    // The sky view and the pass alarms (frmORVEXTracking.cpp).
    void startTracking();
    // The Keps folder changed (a download, an automatic update).
    void readKepsAgain();
    void elementSetsChanged();
    void stopTracking();
    void showSkyView();
    void showAlarmSettings();

    // The radio and the rotator (frmORVEXRadio.cpp).
    void startSteering();
    void stopSteering();
    void showRadioSettings();
    void showRotatorSettings();

    // The APRS traffic heard and sent (frmORVEXAprs.cpp).
    void startAprs();
    // The heard list from the packets kept, once the database is open.
    void loadHeardStations();
    void showHeardStations();
    // ms since 1970-01-01 UTC: the start of the pass in progress or of the last one.
    qint64 passStartMs() const;
    QList<MapStation> heardStations() const override;

    // APRS messages, own frames heard back, the APRS-IS gateway
    // (frmORVEXMessages.cpp).
    void startMessages();
    void stopMessages();
    // A frame was handed to the engine.
    void noteSent(const QString &source, const QString &destination, const QString &info);
    void showMessages();

    // Sharing frames with a SiDS server (frmORVEXSharing.cpp).
    void startSharing();
    void stopSharing();
    void showSidsUpload();

    // The status panel.
    void ApplyStationLocation();
    void CheckSatUpdate(bool force);
    void UpdateSatStatus();
    void ShowTimeMode();
    void toggleUseLocalTime();
    void recordDisplayZone();
    void FindKeps();
    void showPassInfo();
    void showTerminal();
    void showMap();
    void downloadKeps();
    void importLogs();
    orvex::Date displayTime() const;

    orvex::DataFolder dataFolder_;
    QString strAppPath_;
    std::unique_ptr<SingleInstance> instance_;
    std::unique_ptr<MainSettings> settings_;
    std::unique_ptr<clsSats> cSats_;
    std::unique_ptr<TrackingContext> tracking_;
    std::unique_ptr<frmTerm> mfrmTerm_;
    QPointer<frmMap> mfrmMap_;
    std::unique_ptr<CallsignList> callsigns_;
    FormulaTable formulas_;
    std::unique_ptr<TelemetryDecoder> decoder_;
    std::unique_ptr<database::StationDatabase> database_;
    std::unique_ptr<history::TelemetryHistory> history_;
    SatTable sats_;
    qint16 intObjIndex_ = 0;
    bool blnOnlyShowOrvex_ = true; // the monitor's mode, as in the settings
    bool blnLocationKnown_ = false;
    bool blnNoRetry_ = false;
    bool blnConnected_ = false;
    bool unloaded_ = false;
    bool settingsWarned_ = false;
    QString settingsWarning_;     // waiting to be shown
    QString historyWarning_;      // waiting to be shown
    QStringList dataFileNotices_; // formula.txt's and limits.txt's ignored lines, to be shown

    int twipsPerPixelX_ = 15;
    int twipsPerPixelY_ = 15;

    TelemetryPanel *telemetry_ = nullptr;
    SatStatusPanel *status_ = nullptr;
    PKLINK *pklink_ = nullptr;
    QPlainTextEdit *txtMon_ = nullptr;
    // Monitor text waiting for the next turn of the event loop.
    std::unique_ptr<monitorview::PendingText> monitorPending_;
    bool monitorFlushScheduled_ = false;
    QLabel *label2_ = nullptr;
    QTimer *timer1_ = nullptr;
    QTimer *timRetry_ = nullptr;
    LinkState linkState_;
    QLabel *linkStatus_ = nullptr;
    QToolButton *connectNowButton_ = nullptr;
    QAction *mnuOnlyShowORVEX_ = nullptr;
    QAction *mnuUseLocalTime_ = nullptr;
    QPointer<history::HistoryWindow> historyWindow_;
    QPointer<PassAlarms> alarms_;
    QPointer<KepsAutoUpdate> kepsUpdate_;
    QPointer<SkyViewWindow> skyView_;
    std::unique_ptr<sharing::SidsUploader> sids_;
    std::unique_ptr<radio::StationSteering> steering_;
    std::unique_ptr<aprs::AprsTraffic> aprsTraffic_;
    std::unique_ptr<aprs::MessageTraffic> messages_;
    std::unique_ptr<aprs::IgateClient> igate_;
    QPointer<aprs::ConversationWindow> messagesWindow_;
    std::unique_ptr<aprs::AprsStore> aprsStore_;
    std::unique_ptr<aprs::HeardStations> heardStations_;
    QPointer<aprs::HeardListWindow> heardWindow_;
    QPointer<sharing::SidsUploadWindow> sidsWindow_;
};
