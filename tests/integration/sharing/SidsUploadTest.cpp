// SPDX-License-Identifier: GPL-2.0-or-later
#include "Ax25TestFrames.h"
#include "SidsTestServer.h"
#include "platform/DateTime.h"
#include "shared/clsIni.h"
#include "sharing/SidsPoster.h"
#include "sharing/SidsUploader.h"
#include "support/Wait.h"

#include <QTemporaryDir>
#include <QUrlQuery>
#include <gtest/gtest.h>

using namespace sharing;
using orvex::test::waitUntil;

namespace {

const QDateTime heard(QDate(2026, 12, 8), QTime(12, 34, 56, 789), Qt::UTC);

// The station's own folder with its settings and telemetry.db.
class Station
{
public:
    explicit Station(const QUrl &url)
    {
        ini.SaveIniString(QStringLiteral("SIDS"), QStringLiteral("ENABLED"),
                          QStringLiteral("TRUE"));
        ini.SaveIniString(QStringLiteral("SIDS"), QStringLiteral("URL"), url.toString());
        orvex::Clock::setFixed(heard);
        start();
    }
    ~Station() { orvex::Clock::setSource({}); }

    // A new run of the program on the same files.
    void start()
    {
        uploader.reset();
        database.reset();
        database = std::make_unique<database::StationDatabase>(
            dir.filePath(QStringLiteral("telemetry.db")));
        uploader = std::make_unique<SidsUploader>(
            ini, *database,
            [] {
                return StationFacts{QStringLiteral("Q9ZZZ-5"), QStringLiteral("4722.62N"),
                                    QStringLiteral("00832.50E"), QStringLiteral("26931")};
            },
            [this](const QDateTime &) { return sighting; });
        database->open();
    }

    // The engine hands over a frame of ORVEX: raw first, then monitored.
    QByteArray hear(const QByteArray &info)
    {
        const QByteArray raw = orvex::test::ax25UiFrame("ORVEX-11", "TLM", info);
        uploader->rawFrame(raw);
        uploader->monitoredFrame("ORVEX-11", orvex::test::monitorText("ORVEX-11", "TLM", info));
        return raw;
    }

    // Where ORVEX stands when a frame is heard.
    Sighting sighting{Sighting::Elements::Real, LookAngles{123.45, 10.0}};
    QTemporaryDir dir;
    clsIni ini{dir.filePath(QStringLiteral("orvexdecode.INI"))};
    std::unique_ptr<database::StationDatabase> database;
    std::unique_ptr<SidsUploader> uploader;
};

QByteArray frameField(const SidsTestServer::Request &request)
{
    return QUrlQuery(QString::fromLatin1(request.body))
        .queryItemValue(QStringLiteral("frame"))
        .toLatin1();
}

} // namespace

TEST(SidsUpload, AFrameHeardIsDeliveredOnceWithExactlyTheSiDSFields)
{
    SidsTestServer server;
    ASSERT_TRUE(server.listen());
    Station station(server.url());
    const QByteArray raw = station.hear("T#417,101,102\r");

    ASSERT_TRUE(waitUntil([&] { return station.uploader->counts().sent == 1; }));
    waitUntil([] { return false; }, 300); // time for a second request, which must not come
    ASSERT_EQ(server.requests.size(), 1);
    const SidsTestServer::Request &request = server.requests[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/api/telemetry/");
    EXPECT_EQ(request.contentType, "application/x-www-form-urlencoded");
    EXPECT_EQ(request.body, "noradID=26931&source=Q9ZZZ-5&timestamp=2026-12-08T12%3A34%3A56.789Z"
                            "&frame=" +
                                raw.toHex().toUpper() +
                                "&locator=longLat&longitude=8.5417E&latitude=47.3770N"
                                "&azimuth=123.5&elevation=10.0");
    EXPECT_EQ(station.uploader->counts().queued, 0);
    EXPECT_EQ(station.uploader->statusText(), QString());
}

TEST(SidsUpload, FramesHeardWhileTheServerIsDownArriveInOrderAfterARestart)
{
    SidsTestServer server;
    ASSERT_TRUE(server.listen());
    const quint16 port = server.port();
    server.close();

    Station station(server.url());
    QList<QByteArray> sent;
    for (const char *info : {"T#1", "T#2", "T#3"})
        sent << station.hear(info);
    ASSERT_TRUE(waitUntil([&] { return station.uploader->nextAttemptUtc().isValid(); }));
    EXPECT_EQ(station.uploader->nextAttemptUtc(), heard.addSecs(30));
    EXPECT_EQ(station.uploader->statusText(), "SiDS: 3 queued");
    EXPECT_FALSE(station.uploader->lastError().isEmpty());

    // Closed and started again, still offline: nothing is lost.
    station.start();
    ASSERT_TRUE(waitUntil([&] { return station.uploader->nextAttemptUtc().isValid(); }));
    EXPECT_EQ(station.uploader->counts().queued, 3);

    ASSERT_TRUE(server.listen(port));
    station.uploader->sendNow();
    ASSERT_TRUE(waitUntil([&] { return station.uploader->counts().sent == 3; }));
    ASSERT_EQ(server.requests.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(frameField(server.requests[i]), sent[i].toHex().toUpper()) << i;
    EXPECT_EQ(station.uploader->statusText(), QString());
}

// Frames that may be invented are held with their reason and never sent by
// themselves, also not after a restart.
TEST(SidsUpload, FramesThatMayBeInventedAreHeldAndNotSent)
{
    SidsTestServer server;
    ASSERT_TRUE(server.listen());
    Station station(server.url());
    station.sighting = {Sighting::Elements::Demo, LookAngles{123.45, 10.0}};
    station.hear("T#1");
    station.sighting = {Sighting::Elements::Real, LookAngles{200.0, -80.9}};
    station.hear("T#2");
    ASSERT_TRUE(waitUntil([&] { return station.uploader->counts().held == 2; }));
    EXPECT_EQ(station.uploader->statusText(), "SiDS: 2 held");
    station.start();
    waitUntil([] { return false; }, 300); // time for a request, which must not come
    EXPECT_TRUE(server.requests.isEmpty());
    const std::vector<UploadQueue::Entry> held = station.uploader->heldAndRefused(10);
    ASSERT_EQ(held.size(), 2u);
    EXPECT_TRUE(held[0].holdReason.contains("below the horizon"))
        << held[0].holdReason.toStdString();
    EXPECT_TRUE(held[1].holdReason.contains("demo")) << held[1].holdReason.toStdString();
}

TEST(SidsUpload, ARefusalStopsThatFrameOnlyAndKeepsTheReason)
{
    SidsTestServer server;
    ASSERT_TRUE(server.listen());
    SidsTestServer::Answer refusal;
    refusal.status = 400;
    refusal.reason = "Bad Request";
    refusal.body = R"({"frame":["Not a valid frame."]})";
    server.script(refusal);

    Station station(server.url());
    station.hear("T#1");
    const QByteArray second = station.hear("T#2");
    ASSERT_TRUE(waitUntil([&] { return station.uploader->counts().sent == 1; }));
    EXPECT_EQ(station.uploader->counts().refused, 1);
    EXPECT_EQ(station.uploader->counts().queued, 0);
    ASSERT_EQ(server.requests.size(), 2);
    EXPECT_EQ(frameField(server.requests[1]), second.toHex().toUpper());
    EXPECT_TRUE(station.uploader->lastError().contains("400 Bad Request"));
    EXPECT_TRUE(station.uploader->lastError().contains("Not a valid frame."));
}

// Servers that misbehave: each ends in a clear outcome, bounded in time and
// memory, and a redirect that would turn the POST into a GET is not followed.
TEST(SidsPoster, HostileServersEndInAClearOutcome)
{
    struct Case
    {
        const char *name;
        SidsTestServer::Answer answer;
        Outcome outcome;
        const char *reasonPart;
    };
    SidsTestServer::Answer silent;
    silent.neverAnswer = true;
    SidsTestServer::Answer trickle;
    trickle.status = 200;
    trickle.reason = "OK";
    trickle.body = QByteArray(1000, 'x');
    trickle.trickleEveryMs = 50;
    SidsTestServer::Answer huge;
    huge.status = 200;
    huge.reason = "OK";
    huge.body = QByteArray(1024 * 1024, 'x');
    huge.bodyRepeat = 10;
    SidsTestServer::Answer webPage;
    webPage.status = 200;
    webPage.reason = "OK";
    webPage.contentType = "text/html";
    webPage.body = "<html><body>Welcome</body></html>";
    SidsTestServer::Answer toFtp;
    toFtp.status = 307;
    toFtp.reason = "Temporary Redirect";
    toFtp.extraHeaders = "Location: ftp://127.0.0.1/upload\r\n";
    SidsTestServer::Answer toGet;
    toGet.status = 302;
    toGet.reason = "Found";
    toGet.extraHeaders = "Location: /elsewhere\r\n";
    SidsTestServer::Answer busy;
    busy.status = 429;
    busy.reason = "Too Many Requests";

    const Case cases[] = {
        {"never answers", silent, Outcome::RetryLater, "No answer within"},
        {"answers a byte at a time", trickle, Outcome::Delivered, "did not come within"},
        {"answers 10 MB", huge, Outcome::Delivered, "only its start was read"},
        {"a web page with 200", webPage, Outcome::Delivered, "200"},
        {"redirect to ftp", toFtp, Outcome::RetryLater, ""},
        {"302 would turn the POST into a GET", toGet, Outcome::RetryLater, "not followed"},
        {"too many requests", busy, Outcome::RetryLater, "429"},
    };
    for (const Case &c : cases) {
        SidsTestServer server;
        ASSERT_TRUE(server.listen());
        server.script(c.answer);
        SidsPoster poster;
        poster.setTimeoutMs(500);
        std::optional<SidsPoster::Result> result;
        QObject::connect(&poster, &SidsPoster::finished,
                         [&](const SidsPoster::Result &r) { result = r; });
        poster.post(server.url(), "noradID=1");
        ASSERT_TRUE(waitUntil([&] { return result.has_value(); }, 20000)) << c.name;
        EXPECT_EQ(result->outcome, c.outcome) << c.name;
        EXPECT_TRUE(result->reason.contains(QLatin1String(c.reasonPart)))
            << c.name << ": " << result->reason.toStdString();
        EXPECT_LE(result->answer.size(), 300) << c.name;
        EXPECT_EQ(result->webPage, c.answer.contentType == "text/html") << c.name;
        EXPECT_EQ(server.requests.size(), 1) << c.name;
        EXPECT_FALSE(poster.busy()) << c.name;
    }
}

TEST(SidsPoster, A307RedirectOnTheSameSchemeIsFollowedWithTheBody)
{
    SidsTestServer server;
    ASSERT_TRUE(server.listen());
    SidsTestServer::Answer moved;
    moved.status = 307;
    moved.reason = "Temporary Redirect";
    moved.extraHeaders = "Location: /api/telemetry/v2/\r\n";
    server.script(moved);
    SidsPoster poster;
    std::optional<SidsPoster::Result> result;
    QObject::connect(&poster, &SidsPoster::finished,
                     [&](const SidsPoster::Result &r) { result = r; });
    poster.post(server.url(), "noradID=1");
    ASSERT_TRUE(waitUntil([&] { return result.has_value(); }));
    EXPECT_EQ(result->outcome, Outcome::Delivered);
    ASSERT_EQ(server.requests.size(), 2);
    EXPECT_EQ(server.requests[1].method, "POST");
    EXPECT_EQ(server.requests[1].path, "/api/telemetry/v2/");
    EXPECT_EQ(server.requests[1].body, "noradID=1");
}

// A certificate that is not trusted fails the attempt: nothing is sent and
// the frame waits, with the reason in words.
TEST(SidsPoster, AnUntrustedCertificateIsAFailureNeverIgnored)
{
    SidsTestServer server(true);
    ASSERT_TRUE(server.listen());
    SidsPoster poster;
    std::optional<SidsPoster::Result> result;
    QObject::connect(&poster, &SidsPoster::finished,
                     [&](const SidsPoster::Result &r) { result = r; });
    poster.post(server.url(), "noradID=1");
    ASSERT_TRUE(waitUntil([&] { return result.has_value(); }));
    EXPECT_EQ(result->outcome, Outcome::RetryLater);
    EXPECT_TRUE(result->reason.startsWith("The server's certificate is not accepted: "))
        << result->reason.toStdString();
    EXPECT_TRUE(server.requests.isEmpty());
}
