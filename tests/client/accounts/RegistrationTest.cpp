#include "AccountsFixture.h"
#include "SlowProxy.h"
#include "client/controls/N_Shape.h"
#include "client/controls/N_TextBox.h"
#include "client/shell/GGCT.h"
#include "common/Statements.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <QTimer>

namespace {

class Registration : public AccountsFixture {
protected:
    void SetUp() override {
        AccountsFixture::SetUp();
        ShowRegistration();
    }
    void Fill(const QString& qq, const QString& password, const QString& again,
              const QString& phone) {
        if (!qq.isNull())
            Type(login->N_TextBox3, qq);
        if (!password.isNull())
            Type(login->N_TextBox4, password);
        if (!again.isNull())
            Type(login->N_TextBox5, again);
        if (!phone.isNull())
            Type(login->N_TextBox6, phone);
    }
    QString Register() {
        Click(login->N_Shape4);
        return login->Label3->text();
    }
    int Rows(const QString& user) const {
        return int(service.Query("SELECT 用户 FROM 用户管理 WHERE 用户='" + user + "'").size());
    }
};

TEST_F(Registration, PressesWhileTheLookupIsUnderWayStartNoSecondAttempt) {
    SlowProxy slow(service.Url(), 400);
    ASSERT_TRUE(::service::SetAddress(slow.Url()));
    Fill("123456789", "secret", "secret", "13800138000");
    Focus(login->N_Shape4);
    bool pressed = false;
    QTimer::singleShot(100, login, [&] {
        pressed = slow.requests.size() == 1;
        QTest::keyClick(login->N_Shape4, Qt::Key_Return);
        QTest::keyClick(login->N_TextBox6, Qt::Key_5);
    });
    QTest::keyClick(login->N_Shape4, Qt::Key_Return);

    EXPECT_TRUE(pressed);
    EXPECT_EQ(login->Label3->text(), "注册成功，请返回登陆");
    EXPECT_EQ(slow.requests.size(), 3);
    EXPECT_EQ(login->N_TextBox6->Text(), "13800138000");
    EXPECT_EQ(Rows("123456789"), 1);
    xmlhttp::Manager().clearConnectionCache();
}

TEST_F(Registration, ChecksRunInOrderAndSendNothing) {
    Press(login->N_Shape4);
    EXPECT_EQ(login->Label3->text(), "请输入QQ号码进行注册");
    ASSERT_EQ(waits.size(), 1);
    EXPECT_FALSE(waits[0].buttonEnabled);
    EXPECT_EQ(waits[0].cursor, Qt::WaitCursor);
    EXPECT_TRUE(login->N_Shape4->Enabled());

    Fill("1234", {}, {}, {});
    EXPECT_EQ(Register(), "请输入正确的QQ号码");
    Type(login->N_TextBox3, "5");
    EXPECT_EQ(Register(), "密码不能为空");
    Fill({}, "abc", {}, {});
    EXPECT_EQ(Register(), "请再次输入密码");
    Fill({}, {}, "abd", {});
    EXPECT_EQ(Register(), "两次密码输入不一致，请重新输入");
    // Typing into the password box puts the confirmation back to its hint.
    Type(login->N_TextBox4, "c");
    EXPECT_EQ(Register(), "请再次输入密码");
    Fill({}, {}, "abcc", {});
    EXPECT_EQ(Register(), "请输入手机号码以便日后找回密码");
    Fill({}, {}, {}, "1380013800");
    EXPECT_EQ(Register(), "手机号码格式不正确");
    EXPECT_EQ(login->N_TextBox6->Text(), "");
    EXPECT_EQ(Register(), "请输入手机号码以便日后找回密码");
    EXPECT_TRUE(requests.isEmpty());
}

TEST_F(Registration, NewAccountIsInsertedAndCanSignIn) {
    Fill("123456789", "it's 我的", "it's 我的", "13800138000");
    EXPECT_EQ(Register(), "注册成功，请返回登陆");
    ASSERT_EQ(requests.size(), 3);
    EXPECT_EQ(requests[0].statement, statements::RegistrationLookup(u"123456789"));
    EXPECT_EQ(requests[1].code, 3);
    EXPECT_TRUE(requests[2].statement.startsWith(
        "insert into 用户管理 (用户,密码,手机,注册时间) values ('123456789', 'it''s 我的', "
        "'13800138000', '"));
    const auto rows = service.Query(
        "SELECT 手机, 注册时间, 是否冻结, 文件名 FROM 用户管理 WHERE 用户='123456789'");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].value(0), "13800138000");
    EXPECT_EQ(rows[0].value(1).size(), 19);
    EXPECT_EQ(rows[0].value(2), "0");
    EXPECT_EQ(rows[0].value(3), "");
    // The boxes stay as they were; a second click finds the account.
    EXPECT_EQ(login->N_TextBox3->Text(), "123456789");
    EXPECT_EQ(Register(), "此QQ号码已被注册！");
    EXPECT_EQ(requests.size(), 4);

    // The password never reaches the database file as typed.
    QFile file(service.DatabasePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains(QStringLiteral("it's 我的").toUtf8()));

    Click(login->N_Shape5);
    Type(login->N_TextBox1, "123456789");
    Type(login->N_TextBox2, "it's 我的");
    Click(login->N_Shape2);
    QApplication::processEvents();
    EXPECT_FALSE(login);
    EXPECT_EQ(GGCT::Instance().YHM, "123456789");
    EXPECT_TRUE(window->FGZS->isEnabled());
}

TEST_F(Registration, ExistingAccountIsNotInsertedAgain) {
    Fill(kDemoUser, "x", "x", "13800138000");
    EXPECT_EQ(Register(), "此QQ号码已被注册！");
    EXPECT_EQ(requests.size(), 1);
    EXPECT_EQ(Rows(kDemoUser), 1);
}

TEST_F(Registration, UnreachableServiceSendsNoInsertAndSaysSo) {
    Fill("55555", "pw", "pw", "13800138000");
    StopService();
    EXPECT_EQ(Register(), "无法连接服务器，请稍后再试");
    EXPECT_EQ(requests.size(), 1);
}

TEST_F(Registration, RefusedInsertIsNotReportedAsSuccess) {
    ServiceProcess::Options options;
    options.registrationPerMinute = 1;
    ServiceProcess limited(options);
    ASSERT_TRUE(limited.Start()) << limited.Error().toStdString();
    ASSERT_TRUE(::service::SetAddress(limited.Url()));
    Fill("55555", "pw", "pw", "13800138000");
    EXPECT_EQ(Register(), "注册成功，请返回登陆");
    Type(login->N_TextBox3, "666666");
    EXPECT_EQ(Register(), "尝试次数过多，请稍后再试");
    EXPECT_EQ(limited.Query("SELECT 用户 FROM 用户管理 WHERE 用户='55555666666'").size(), 0u);
    xmlhttp::Manager().clearConnectionCache();
}

// A lookup the service refuses for too many attempts is told as such, not as a lost service.
TEST_F(Registration, LimitedLookupSaysSo) {
    ServiceProcess::Options options;
    options.lookupsPerMinute = 1;
    ServiceProcess limited(options);
    ASSERT_TRUE(limited.Start()) << limited.Error().toStdString();
    ASSERT_TRUE(::service::SetAddress(limited.Url()));
    Fill(kDemoUser, "pw", "pw", "13800138000");
    EXPECT_EQ(Register(), "此QQ号码已被注册！");
    login->N_TextBox3->SetText("55555");
    EXPECT_EQ(Register(), "尝试次数过多，请稍后再试");
    EXPECT_EQ(limited.Query("SELECT 用户 FROM 用户管理 WHERE 用户='55555'").size(), 0u);
    xmlhttp::Manager().clearConnectionCache();
}

}  // namespace
