// The whole journey through the real windows against a real service: a new user registers,
// signs in, opens a style from the gallery, makes the page, publishes it under a name of his
// own, copies the address and renames the page. And the addresses it hands out keep working
// when the service comes back.

#include "DemoAccount.h"
#include "HttpGet.h"
#include "ShellFixture.h"
#include "client/accounts/Login.h"
#include "client/controls/N_Shape.h"
#include "client/controls/N_TextBox.h"
#include "client/gateway/ServiceAddress.h"
#include "client/gateway/XmlHttp.h"
#include "client/pages/StyleEditor.h"
#include "client/platform/Platform.h"
#include "client/publish/SCCT.h"
#include "client/settings/Wini.h"
#include "client/shell/GGCT.h"
#include "client/shell/Main.h"
#include "common/Codepage936.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

namespace {

class Journey : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        wini::WriteRememberFlag(QString());
        platform::Current().wait = [](int) {};
    }
    // Opens the sign-in window when the main window asks for it, as main() does.
    void OpenSignInFor(Main* window) {
        QObject::connect(window, &Main::SignInRequested, window, [this](Main* owner) {
            login = new Login(owner);
            QObject::connect(login, &Login::SignedIn, owner, &Main::EnableGallery);
            login->show();
        });
    }
    // The program's windows wired as main() wires them: the gallery opens the editors, the
    // editors the upload window.
    Main* WiredMain() {
        auto* window = new Main();
        OpenSignInFor(window);
        QObject::connect(window, &Main::EditorRequested, &EditorDesk::Instance(),
                         &EditorDesk::Open);
        QObject::connect(&EditorDesk::Instance(), &EditorDesk::UploadRequested, &SCCT::ShowWindow);
        return window;
    }
    // The main window loaded, and the demo account signed in through the sign-in window.
    Main* SignInDemo() {
        Main* window = WiredMain();
        EXPECT_EQ(window->Load(), Main::Start::AwaitingSignIn);
        Type(login->N_TextBox1, kDemoUser);
        Type(login->N_TextBox2, kDemoPassword);
        Press(login->N_Shape2);
        EXPECT_TRUE(window->FGZS->isEnabled());
        return window;
    }
    static void Focus(QWidget* widget) {
        widget->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
    }
    // Keys as a user types them into a box, then the focus moves on.
    static void Type(QWidget* box, const QString& text) {
        Focus(box);
        QWidget* target = QApplication::focusWidget();
        for (QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(target, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        }
    }
    // A shaped button pressed from the keyboard, as a user who tabbed to it.
    static void Press(N_Shape* button) {
        Focus(button);
        QTest::keyClick(button, Qt::Key_Return);
        QApplication::processEvents();
    }

    QPointer<Login> login;
};

TEST_F(Journey, RegisterSignInMakePublishCopyAndRename) {
    Main* window = WiredMain();
    ASSERT_EQ(window->Load(), Main::Start::AwaitingSignIn);
    ASSERT_TRUE(login);

    // Registration.
    Press(login->N_Shape3);
    Type(login->N_TextBox3, "123456789");
    Type(login->N_TextBox4, "love2026");
    Type(login->N_TextBox5, "love2026");
    Type(login->N_TextBox6, "13800138000");
    Press(login->N_Shape4);
    EXPECT_EQ(login->Label3->text(), "注册成功，请返回登陆");

    // Sign-in.
    Press(login->N_Shape5);
    Type(login->N_TextBox1, "123456789");
    Type(login->N_TextBox2, "love2026");
    Press(login->N_Shape2);
    QApplication::processEvents();
    ASSERT_FALSE(login);
    ASSERT_TRUE(window->FGZS->isEnabled());

    // The first tile's editor, one entry changed, then "上传网页".
    ClickablePicture* tile = window->Image1[0];
    QTest::mouseClick(tile, Qt::LeftButton, {}, tile->rect().center());
    StyleEditor* editor = EditorDesk::Instance().Find(1);
    ASSERT_TRUE(editor && editor->isVisible());
    EXPECT_EQ(GGCT::Instance().YMFG, "文字+MV效果");
    auto* partner = qobject_cast<QLineEdit*>(editor->Box(1));
    ASSERT_TRUE(partner);
    partner->clear();
    Type(partner, "小美");
    QTest::mouseClick(editor->Command2, Qt::LeftButton);
    SCCT* upload = SCCT::Instance();
    ASSERT_TRUE(upload && upload->isVisible());

    // A name typed with capitals and a hyphen arrives in small letters without the hyphen.
    Type(upload->Text1, "My-Love2");
    EXPECT_EQ(upload->Text1->text(), "mylove2");
    Press(upload->N_Shape2);
    EXPECT_EQ(upload->TS->text(), "上传成功！");
    const QString address = service.Url() + "/love/mylove2";
    EXPECT_EQ(upload->Text3->toPlainText(), address);
    const HttpResult page = HttpGet(address);
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.body, cp936::Encode(GGCT::Instance().FGN));
    EXPECT_TRUE(GGCT::Instance().FGN.contains("小美"));
    const auto row =
        service.Query("SELECT 文件名, 页面风格, 上传时间 FROM 用户管理 WHERE 用户='123456789'");
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0], (QStringList{"mylove2", "文字+MV效果", row[0].value(2)}));
    EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")
                    .match(row[0][2])
                    .hasMatch());

    // Copy, then rename.
    Press(upload->N_Shape4);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), address);
    Press(upload->N_Shape3);
    Type(upload->Text4, "Ours2026");
    Press(upload->N_Shape5);
    EXPECT_EQ(upload->TS->text(), "专属名称修改成功");
    EXPECT_EQ(HttpGet(service.Url() + "/love/ours2026").body, page.body);
    EXPECT_EQ(HttpGet(address).status, 404);
    Press(upload->N_Shape4);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), service.Url() + "/love/ours2026");
}

// The page's absolute addresses (the page itself and everything it loads) still answer after
// the service stopped and came back on its fixed address.
TEST_F(Journey, PublishedAddressesLastAcrossARestart) {
    Main* window = SignInDemo();
    ASSERT_TRUE(window->FGZS->isEnabled());
    ClickablePicture* tile = window->Image1[1];
    QTest::mouseClick(tile, Qt::LeftButton, {}, tile->rect().center());
    StyleEditor* editor = EditorDesk::Instance().Find(2);
    ASSERT_TRUE(editor);
    editor->Check1->setChecked(true);
    QTest::mouseClick(editor->Command2, Qt::LeftButton);
    SCCT* upload = SCCT::Instance();
    ASSERT_TRUE(upload);
    Type(upload->Text1, "lasting");
    Press(upload->N_Shape2);
    ASSERT_EQ(upload->TS->text(), "上传成功！");

    const QString page = upload->Text3->toPlainText();
    QStringList addresses{page};
    static const QRegularExpression loaded(QStringLiteral("(?:src|href)=\"(http://[^\"]+)\""));
    for (const auto& match : loaded.globalMatch(GGCT::Instance().FGN)) {
        if (match.captured(1).startsWith(service.Url() + "/biaobai/"))
            addresses << match.captured(1);
    }
    EXPECT_GE(addresses.size(), 5);

    const QString before = service.Url();
    xmlhttp::Manager().clearConnectionCache();
    ASSERT_TRUE(service.RestartOnSamePort()) << service.Error().toStdString();
    EXPECT_EQ(service.Url(), before);
    for (const QString& a : addresses)
        EXPECT_EQ(HttpGet(a).status, 200) << a.toStdString();
}

// Several services on one PostgreSQL database, as behind a load balancer: every request may
// reach another one. The client signs in through the first, publishes through the second and
// renames through the third; all three serve the page at once.
TEST_F(Journey, ThreeServicesOnOneDatabaseServeOneJourney) {
    ServiceProcess::Options options;
    options.store = TestDatabase::Kind::Postgres;
    ServiceProcess first(options);
    if (!TestDatabase::PostgresServer())
        GTEST_SKIP() << "no test PostgreSQL server: run the tests through ctest";
    ASSERT_TRUE(first.Start()) << first.Error().toStdString();
    options.shareWith = &first;
    ServiceProcess second(options), third(options);
    ASSERT_TRUE(second.Start()) << second.Error().toStdString();
    ASSERT_TRUE(third.Start()) << third.Error().toStdString();

    ASSERT_TRUE(service::SetAddress(first.Url()));
    Main* window = SignInDemo();
    ASSERT_TRUE(window->FGZS->isEnabled());

    ASSERT_TRUE(service::SetAddress(second.Url()));
    ClickablePicture* tile = window->Image1[2];
    QTest::mouseClick(tile, Qt::LeftButton, {}, tile->rect().center());
    StyleEditor* editor = EditorDesk::Instance().Find(3);
    ASSERT_TRUE(editor);
    QTest::mouseClick(editor->Command2, Qt::LeftButton);
    SCCT* upload = SCCT::Instance();
    ASSERT_TRUE(upload);
    Type(upload->Text1, "three");
    Press(upload->N_Shape2);
    ASSERT_EQ(upload->TS->text(), "上传成功！");

    ASSERT_TRUE(service::SetAddress(third.Url()));
    Press(upload->N_Shape3);
    Type(upload->Text4, "threeways");
    Press(upload->N_Shape5);
    EXPECT_EQ(upload->TS->text(), "专属名称修改成功");

    // Each did its part of the journey ...
    EXPECT_TRUE(first.LogContains("\"sign-in-lookup (signed in)\" 200"));
    EXPECT_TRUE(second.LogContains("zc=4 \"upload "));
    EXPECT_TRUE(third.LogContains("zc=5 \"rename"));
    EXPECT_FALSE(first.LogContains("zc=4"));
    EXPECT_FALSE(second.LogContains("zc=5"));
    // ... and each serves the result.
    const QByteArray bytes = cp936::Encode(GGCT::Instance().FGN);
    for (const ServiceProcess* s : {&first, &second, &third}) {
        const HttpResult page = HttpGet(s->Url() + "/love/threeways");
        EXPECT_EQ(page.status, 200) << s->Url().toStdString();
        EXPECT_EQ(page.body, bytes) << s->Url().toStdString();
        EXPECT_EQ(HttpGet(s->Url() + "/love/three").status, 404) << s->Url().toStdString();
    }
    EXPECT_EQ(first.Query("SELECT 文件名 FROM 用户管理 WHERE 用户='88888888'"),
              (std::vector<QStringList>{{"threeways"}}));
    xmlhttp::Manager().clearConnectionCache();
}

}  // namespace
