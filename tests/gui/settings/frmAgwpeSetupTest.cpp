// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/frmAgwpeSetup.h"

#include "DialogDriver.h"
#include "FakeStationSettings.h"
#include "MessageBoxRecorder.h"
#include "QStringPrinter.h"

#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

const char *const portMessage = "'Port' must be a numeric value between 1 and 32767";

class frmAgwpeSetupTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    void open()
    {
        dialog = std::make_unique<frmAgwpeSetup>(settings);
        driver::showAndActivate(dialog.get());
        txtHostAddr = driver::child<QLineEdit>(dialog.get(), "txtHostAddr");
        txtPort = driver::child<QLineEdit>(dialog.get(), "txtPort");
        txtLoginId = driver::child<QLineEdit>(dialog.get(), "txtLoginId");
        txtPassword = driver::child<QLineEdit>(dialog.get(), "txtPassword");
        cmdOk = driver::child<QPushButton>(dialog.get(), "cmdOk");
        cmdCancel = driver::child<QPushButton>(dialog.get(), "cmdCancel");
    }
    QString stored(const char *key) { return settings.ini.GetIniString("AGWPE", key, "<missing>"); }

    QTemporaryDir dir;
    FakeStationSettings settings{dir.filePath(QStringLiteral("orvexdecode.INI"))};
    MessageBoxRecorder messages;
    std::unique_ptr<frmAgwpeSetup> dialog;
    QLineEdit *txtHostAddr = nullptr;
    QLineEdit *txtPort = nullptr;
    QLineEdit *txtLoginId = nullptr;
    QLineEdit *txtPassword = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace

TEST_F(frmAgwpeSetupTest, OpensWithTheMainWindowsValues)
{
    settings.host = "agw.example";
    settings.port = 8001;
    settings.loginId = "Q9ZZZ";
    settings.password = "secret";
    open();
    EXPECT_EQ(dialog->windowTitle(), "AGWPE Setup");
    EXPECT_EQ(txtHostAddr->text(), "agw.example");
    EXPECT_EQ(txtPort->text(), "8001");
    EXPECT_EQ(txtLoginId->text(), "Q9ZZZ");
    EXPECT_EQ(txtPassword->text(), "secret");
    EXPECT_EQ(txtPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(txtHostAddr->maxLength(), 80);
    EXPECT_EQ(txtPort->maxLength(), 5);
    EXPECT_EQ(txtLoginId->maxLength(), 80);
    EXPECT_EQ(txtPassword->maxLength(), 80);
    EXPECT_TRUE(txtHostAddr->hasFocus());
}

TEST_F(frmAgwpeSetupTest, PortOutsideTheRangeIsRefused)
{
    for (const char *typed : {"0", "32768", "", "99999"}) {
        open();
        driver::retype(txtPort, QString::fromLatin1(typed));
        messages.seen.clear();
        driver::tab(txtPort);
        ASSERT_EQ(messages.seen.size(), 1) << typed;
        EXPECT_EQ(messages.lastText(), portMessage);
        EXPECT_EQ(messages.lastIcon(), QMessageBox::Critical);
        EXPECT_EQ(messages.lastTitle(), "ORVEX Telemetry Decoder");
        EXPECT_TRUE(txtPort->hasFocus()) << typed;
    }
}

TEST_F(frmAgwpeSetupTest, PortBoxTakesDigitsOnly)
{
    open();
    driver::retype(txtPort, "8a0-0 .1");
    EXPECT_EQ(txtPort->text(), "8001");
}

TEST_F(frmAgwpeSetupTest, BlankHostIsRefused)
{
    open();
    driver::retype(txtHostAddr, "   ");
    driver::click(cmdOk);
    EXPECT_EQ(messages.lastText(), "'Host address' cannot be blank.");
    EXPECT_EQ(messages.lastIcon(), QMessageBox::Critical);
    EXPECT_TRUE(txtHostAddr->hasFocus());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(settings.writes.isEmpty());
}

TEST_F(frmAgwpeSetupTest, OkReconnectsOnlyOnARealChange)
{
    const struct
    {
        const char *name;
        const char *host;
        const char *port;
        const char *login;
        const char *password;
        bool reconnects;
    } cases[] = {
        {"nothing changed", "localhost", "8000", "id", "pw", false},
        {"host case only", "LOCALHOST", "8000", "id", "pw", false},
        {"host", "otherhost", "8000", "id", "pw", true},
        {"port", "localhost", "8001", "id", "pw", true},
        {"port written differently", "localhost", "08000", "id", "pw", false},
        {"login case", "localhost", "8000", "ID", "pw", true},
        {"password", "localhost", "8000", "id", "pw2", true},
        {"blanks around the password", "localhost", "8000", "id", " pw ", false},
    };
    for (const auto &c : cases) {
        settings.host = "localhost";
        settings.port = 8000;
        settings.loginId = "id";
        settings.password = "pw";
        settings.reconnects = 0;
        settings.writes.clear();
        open();
        driver::retype(txtHostAddr, QString::fromLatin1(c.host));
        driver::retype(txtPort, QString::fromLatin1(c.port));
        driver::retype(txtLoginId, QString::fromLatin1(c.login));
        driver::retype(txtPassword, QString::fromLatin1(c.password));
        driver::click(cmdOk);
        EXPECT_FALSE(dialog->isVisible()) << c.name;
        EXPECT_EQ(settings.reconnects, c.reconnects ? 1 : 0) << c.name;
        EXPECT_EQ(settings.writes,
                  (QStringList{"HOST_ADDRESS", "PASSWORD", "LOGIN_ID", "HOST_PORT"}))
            << c.name;
        EXPECT_EQ(stored("HOST_ADDRESS"), QString::fromLatin1(c.host)) << c.name;
        EXPECT_EQ(stored("HOST_PORT"), QString::number(settings.port)) << c.name;
        EXPECT_EQ(stored("LOGIN_ID"), QString::fromLatin1(c.login)) << c.name;
        EXPECT_EQ(stored("PASSWORD"), QString::fromLatin1(c.password).trimmed()) << c.name;
    }
    EXPECT_TRUE(messages.seen.isEmpty());
}

TEST_F(frmAgwpeSetupTest, OkWithARefusedPortDoesNotAct)
{
    open();
    driver::retype(txtPort, "0");
    driver::key(txtPort, Qt::Key_Return);
    EXPECT_EQ(messages.lastText(), portMessage);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(settings.writes.isEmpty());
    EXPECT_EQ(settings.reconnects, 0);
}

TEST_F(frmAgwpeSetupTest, CancelChangesNothing)
{
    open();
    driver::retype(txtPort, "0");
    driver::click(cmdCancel);
    EXPECT_TRUE(messages.seen.isEmpty());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(settings.writes.isEmpty());
    EXPECT_EQ(settings.reconnects, 0);
}

TEST_F(frmAgwpeSetupTest, BoxesSelectTheirTextOnGainingTheFocus)
{
    settings.loginId = "id";
    settings.password = "pw";
    open();
    EXPECT_EQ(txtHostAddr->selectedText(), "localhost");
    driver::tab(txtHostAddr);
    EXPECT_EQ(txtPort->selectedText(), "8000");
    driver::tab(txtPort);
    EXPECT_TRUE(txtLoginId->hasFocus());
    driver::tab(txtLoginId);
    EXPECT_EQ(txtPassword->selectedText(), "pw");
    // A click into the box selects everything as well.
    driver::click(txtHostAddr);
    QApplication::processEvents();
    EXPECT_EQ(txtHostAddr->selectedText(), "localhost");
}
