// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/SidsReport.h"
#include "sharing/SidsOutcome.h"

#include <QUrlQuery>
#include <gtest/gtest.h>

using namespace sharing;

namespace {

SidsReport zurichReport()
{
    SidsReport report;
    report.noradId = QStringLiteral("26931");
    report.source = QStringLiteral("Q9ZZZ-5");
    report.heardUtc = QDateTime(QDate(2026, 12, 8), QTime(11, 15, 5, 123), Qt::UTC);
    report.frame = QByteArray("\xA8\x8a\x9a\x40\x40\x40\x60\x01+ \xff", 11);
    report.longitudeDeg = 8.54169;
    report.latitudeDeg = 47.37692;
    return report;
}

} // namespace

// The body goes to servers we do not control: every byte of it is fixed.
TEST(SidsRequestBody, FieldsInOrderPercentEncoded)
{
    struct Case
    {
        const char *name;
        std::function<void(SidsReport &)> change;
        QByteArray body;
    };
    const QByteArray common = "noradID=26931&source=Q9ZZZ-5&timestamp=2026-12-08T11%3A15%3A05.123Z"
                              "&frame=A88A9A40404060012B20FF&locator=longLat";
    const Case cases[] = {
        {"without look angles", [](SidsReport &) {},
         common + "&longitude=8.5417E&latitude=47.3769N"},
        {"west and south, with look angles",
         [](SidsReport &r) {
             r.longitudeDeg = -77.0205;
             r.latitudeDeg = -38.99166;
             r.azimuthDeg = 123.44;
             r.elevationDeg = -0.04;
         },
         common + "&longitude=77.0205W&latitude=38.9917S&azimuth=123.4&elevation=0.0"},
        {"a value just below zero is no western one",
         [](SidsReport &r) {
             r.longitudeDeg = -0.00001;
             r.latitudeDeg = 0;
         },
         common + "&longitude=0.0000E&latitude=0.0000N"},
        {"callsign text is encoded", [](SidsReport &r) { r.source = QStringLiteral("A B+&="); },
         QByteArray(common).replace("Q9ZZZ-5", "A%20B%2B%26%3D") +
             "&longitude=8.5417E&latitude=47.3769N"},
    };
    for (const Case &c : cases) {
        SidsReport report = zurichReport();
        c.change(report);
        EXPECT_EQ(sidsRequestBody(report), c.body) << c.name;
        // And any form decoder reads back what was meant.
        const QUrlQuery decoded(QString::fromLatin1(sidsRequestBody(report)));
        EXPECT_EQ(decoded.queryItemValue(QStringLiteral("source"), QUrl::FullyDecoded),
                  report.source)
            << c.name;
    }
}

TEST(SidsUrl, OnlyHttpAndHttpsWithAHost)
{
    EXPECT_EQ(sidsUrlProblem(QStringLiteral("https://db.satnogs.org/api/telemetry/")), QString());
    EXPECT_EQ(sidsUrlProblem(QStringLiteral("http://127.0.0.1:8080/x")), QString());
    for (const char *bad : {"", "ftp://example.org/", "file:///etc/passwd", "db.satnogs.org/api",
                            "javascript:alert(1)", "http://"})
        EXPECT_FALSE(sidsUrlProblem(QString::fromLatin1(bad)).isEmpty()) << bad;
}

TEST(SidsOutcome, StatusDecidesDeliveredRetryOrRefused)
{
    for (int status : {200, 201, 204, 299})
        EXPECT_EQ(outcomeOfStatus(status), Outcome::Delivered) << status;
    for (int status : {0, 301, 429, 500, 503, 599})
        EXPECT_EQ(outcomeOfStatus(status), Outcome::RetryLater) << status;
    for (int status : {400, 401, 403, 404, 413, 499})
        EXPECT_EQ(outcomeOfStatus(status), Outcome::Refused) << status;
}

TEST(SidsOutcome, RetryDelayDoublesFrom30SecondsUpTo30Minutes)
{
    using std::chrono::seconds;
    const seconds expected[] = {seconds(30),  seconds(60),  seconds(120),  seconds(240),
                                seconds(480), seconds(960), seconds(1800), seconds(1800)};
    for (int failures = 1; failures <= 8; ++failures)
        EXPECT_EQ(retryDelay(failures), expected[failures - 1]) << failures;
    EXPECT_EQ(retryDelay(1000), seconds(1800));
}
