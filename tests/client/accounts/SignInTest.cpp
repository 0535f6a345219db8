#include "AccountsFixture.h"
#include "SlowProxy.h"
#include "client/controls/N_Shape.h"
#include "client/controls/N_TextBox.h"
#include "client/settings/Wini.h"
#include "client/shell/GGCT.h"
#include "common/Statements.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {

class SignIn : public AccountsFixture {
protected:
    void Enter(const QString& account, const QString& password, bool remember = false) {
        Type(login->N_TextBox1, account);
        Type(login->N_TextBox2, password);
        login->Check1->setChecked(remember);
    }
    QStringList DemoRow() const {
        const auto rows = service.Query("SELECT 是否在线, 上次登陆时间 FROM 用户管理 WHERE 用户='" +
                                        kDemoUser + "'");
        return rows.empty() ? QStringList() : rows.front();
    }
    QString StoredAccount() const {
        return ReadIni(wini::Section(), QString::fromUtf16(wini::kAccountKey),
                       wini::SettingsFilePath());
    }
    // After a refusal: the window, the boxes and the shared state are as they were.
    void ExpectNothingChanged(const QString& account) {
        EXPECT_TRUE(login && login->isVisible());
        EXPECT_FALSE(window->FGZS->isEnabled());
        EXPECT_EQ(GGCT::Instance().YHM, "用户名");
        EXPECT_EQ(login->N_TextBox1->Text(), account);
        EXPECT_EQ(DemoRow().value(0), "0");
        EXPECT_EQ(programEnds, 0);
    }
};

TEST_F(SignIn, SucceedsThroughTheButtonAndHandsTheUserToTheProgram) {
    Enter(kDemoUser, kDemoPassword);
    Press(login->N_Shape2);

    ASSERT_EQ(waits.size(), 1);
    EXPECT_EQ(waits[0].milliseconds, 500);
    EXPECT_FALSE(waits[0].buttonEnabled);
    EXPECT_EQ(waits[0].cursor, Qt::WaitCursor);
    EXPECT_EQ(RequestStatements(), (QStringList{statements::SignInLookup(kDemoUser, kDemoPassword),
                                                "(server time)", requests.value(2).statement}));
    EXPECT_TRUE(requests.value(2).statement.startsWith(
        "update 用户管理 set 是否在线='－1',上次登陆时间='"));
    EXPECT_TRUE(requests.value(2).statement.endsWith("' where 用户='" + kDemoUser + "'"));

    QApplication::processEvents();
    EXPECT_FALSE(login);
    EXPECT_TRUE(window->FGZS->isEnabled());
    EXPECT_EQ(GGCT::Instance().YHM, kDemoUser);
    EXPECT_EQ(GGCT::Instance().WJM, "");
    const QStringList row = DemoRow();
    EXPECT_EQ(row.value(0), "－1");
    EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")
                    .match(row.value(1))
                    .hasMatch())
        << row.value(1).toStdString();
    EXPECT_EQ(wini::ReadRememberFlag(), "0");
    EXPECT_EQ(programEnds, 0);
}

TEST_F(SignIn, BoxesShowingTheirHintsSendNothing) {
    Press(login->N_Shape2);
    EXPECT_EQ(login->Label2->text(), "用户名或密码不能为空");
    Type(login->N_TextBox1, kDemoUser);
    Click(login->N_Shape2);
    EXPECT_EQ(login->Label2->text(), "用户名或密码不能为空");
    EXPECT_TRUE(requests.isEmpty());
    // The status line sits whole on its panel.
    EXPECT_GE(login->Label2->x(), 0);
    EXPECT_LE(login->Label2->geometry().right(), login->Picture2->width());
}

TEST_F(SignIn, WrongAccountOrPasswordIsRefusedAlike) {
    Enter("99999999", kDemoPassword);
    Click(login->N_Shape2);
    EXPECT_EQ(login->Label2->text(), "用户名或密码不正确");
    ExpectNothingChanged("99999999");

    login->N_TextBox1->SetText(kDemoUser);
    login->N_TextBox2->SetText("ZENRI520");
    Click(login->N_Shape2);
    EXPECT_EQ(login->Label2->text(), "用户名或密码不正确");
    // The lookup trims, the comparison does not.
    login->N_TextBox2->SetText(kDemoPassword + "  ");
    Click(login->N_Shape2);
    EXPECT_EQ(requests.back().statement, statements::SignInLookup(kDemoUser, kDemoPassword));
    EXPECT_EQ(login->Label2->text(), "用户名或密码不正确");
    ExpectNothingChanged(kDemoUser);
    // Every click starts with an empty status line, even when it ends in the same message.
    ASSERT_EQ(waits.size(), 3);
    EXPECT_EQ(waits[2].status, "");
}

TEST_F(SignIn, FrozenAccountIsToldSoOnlyWithTheRightPassword) {
    ASSERT_EQ(service.RunCommand({"users", "freeze", kDemoUser}).exitCode, 0);
    Enter(kDemoUser, "wrong");
    Click(login->N_Shape2);
    EXPECT_EQ(login->Label2->text(), "用户名或密码不正确");
    login->N_TextBox2->SetText(kDemoPassword);
    login->Check1->setChecked(true);
    Click(login->N_Shape2);
    EXPECT_EQ(login->Label2->text(), "帐号已被冻结，请联系客服解除");
    ExpectNothingChanged(kDemoUser);
    EXPECT_EQ(requests.size(), 2);
    EXPECT_EQ(wini::ReadRememberFlag(), "");
    EXPECT_FALSE(QFile::exists(wini::SettingsFilePath()));
}

TEST_F(SignIn, RememberedSignInIsWrittenAndShownAtTheNextOpening) {
    Enter(kDemoUser, kDemoPassword, true);
    Click(login->N_Shape2);
    EXPECT_EQ(wini::ReadRememberFlag(), "1");
    EXPECT_EQ(StoredAccount(), kDemoUser);
    const QString stored =
        ReadIni(wini::Section(), QString::fromUtf16(wini::kPasswordKey), wini::SettingsFilePath());
    EXPECT_NE(stored, kDemoPassword);
    EXPECT_EQ(UnscramblePassword(stored, "ZuKoMarn"), kDemoPassword);

    auto* again = new Login(window);
    again->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return again->Picture3 != nullptr; }));
    EXPECT_EQ(again->N_TextBox1->Text(), kDemoUser);
    EXPECT_EQ(again->N_TextBox2->Text(), kDemoPassword);
    EXPECT_TRUE(again->Check1->isChecked());

    // Signing in again without the tick forgets the flag but leaves the file alone.
    again->Check1->setChecked(false);
    login = again;
    Click(login->N_Shape2);
    QApplication::processEvents();
    EXPECT_FALSE(login);
    EXPECT_EQ(wini::ReadRememberFlag(), "0");
    EXPECT_EQ(StoredAccount(), kDemoUser);
}

TEST_F(SignIn, UnreachableServiceSaysSoAndChangesNothing) {
    StopService();
    Enter(kDemoUser, kDemoPassword, true);
    Click(login->N_Shape2);
    EXPECT_EQ(login->Label2->text(), "无法连接服务器，请稍后再试");
    EXPECT_TRUE(login && login->isVisible());
    EXPECT_FALSE(window->FGZS->isEnabled());
    EXPECT_EQ(GGCT::Instance().YHM, "用户名");
    EXPECT_EQ(wini::ReadRememberFlag(), "");
    EXPECT_EQ(requests.size(), 1);
    EXPECT_EQ(programEnds, 0);
}

TEST_F(SignIn, TooManyAttemptsAreToldApart) {
    ServiceProcess::Options options;
    options.signInPerMinute = 2;
    ServiceProcess limited(options);
    ASSERT_TRUE(limited.Start()) << limited.Error().toStdString();
    ASSERT_TRUE(::service::SetAddress(limited.Url()));
    Enter(kDemoUser, "wrong");
    Click(login->N_Shape2);
    Click(login->N_Shape2);
    EXPECT_EQ(login->Label2->text(), "用户名或密码不正确");
    Click(login->N_Shape2);
    EXPECT_EQ(login->Label2->text(), "尝试次数过多，请稍后再试");
    xmlhttp::Manager().clearConnectionCache();
}

// A user on a slow network presses the button again while the lookup is under way: the
// presses are dropped, one attempt runs to its end and the program carries on.
TEST_F(SignIn, PressesWhileTheLookupIsUnderWayStartNoSecondAttempt) {
    SlowProxy slow(service.Url(), 400);
    ASSERT_TRUE(::service::SetAddress(slow.Url()));
    Enter(kDemoUser, kDemoPassword);
    Focus(login->N_Shape2);
    int pressesDuringLookup = 0;
    QTimer::singleShot(100, login, [&] {
        pressesDuringLookup = slow.requests.size() == 1 ? 2 : -1;
        QTest::keyClick(login->N_Shape2, Qt::Key_Return);
        QTest::keyClick(login->N_Shape2, Qt::Key_Space);
    });
    QTest::keyClick(login->N_Shape2, Qt::Key_Return);
    QApplication::processEvents();

    EXPECT_EQ(pressesDuringLookup, 2);
    EXPECT_EQ(waits.size(), 1);
    EXPECT_EQ(slow.requests.size(), 3);
    const QStringList sent = RequestStatements();
    ASSERT_EQ(sent.size(), 3);
    EXPECT_EQ(sent[0], statements::SignInLookup(kDemoUser, kDemoPassword));
    EXPECT_EQ(sent[1], "(server time)");
    EXPECT_TRUE(sent[2].startsWith("update 用户管理 set 是否在线='－1'"));
    EXPECT_FALSE(login);
    EXPECT_TRUE(window->FGZS->isEnabled());
    EXPECT_EQ(GGCT::Instance().YHM, kDemoUser);
    EXPECT_EQ(DemoRow().value(0), "－1");
    EXPECT_EQ(programEnds, 0);
    xmlhttp::Manager().clearConnectionCache();
}

TEST_F(SignIn, ClosingTheWindowDuringTheLockOutStopsTheAttempt) {
    Enter(kDemoUser, kDemoPassword);
    platform::Current().wait = [this](int) { login->close(); };
    Click(login->N_Shape2);
    EXPECT_TRUE(requests.isEmpty());
    EXPECT_FALSE(window->FGZS->isEnabled());
}

}  // namespace
