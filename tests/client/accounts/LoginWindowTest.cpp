#include "AccountsFixture.h"
#include "TextEntry.h"
#include "client/accounts/Disclaimer.h"
#include "client/controls/N_Image.h"
#include "client/controls/N_Shape.h"
#include "client/controls/N_TextBox.h"
#include "client/controls/OleColor.h"
#include "client/settings/Wini.h"
#include "client/shell/GGCT.h"

#include <QApplication>
#include <QTest>

namespace {

const quint32 kHintColor = controls::SystemColor(controls::kColorButtonShadow);
const quint32 kEntryColor = controls::OleFromRgb(0x008000);
const QString kCircle(QChar(0x25CF));

class LoginWindow : public AccountsFixture {
protected:
    QList<N_TextBox*> Boxes() const {
        return {login->N_TextBox1, login->N_TextBox2, login->N_TextBox3,
                login->N_TextBox4, login->N_TextBox5, login->N_TextBox6};
    }
    // Opens a second sign-in window the way the start-up does, after the settings changed.
    Login* Reopen() {
        delete login.data();
        login = new Login(window);
        login->show();
        if (!QTest::qWaitFor([this] { return login->Picture3 != nullptr; }))
            ADD_FAILURE() << "the hidden panels were not built";
        return login;
    }
    QWidget* TabFrom(QWidget* widget) {
        Focus(widget);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return QApplication::focusWidget();
    }
};

TEST_F(LoginWindow, OpensCentredOverTheMainWindowWithItsLayout) {
    EXPECT_EQ(login->size(), QSize(353, 380));
    EXPECT_TRUE(login->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(login->windowTitle(), "登陆");
    EXPECT_EQ(login->parentWidget(), window.data());
    EXPECT_EQ(login->Picture1->geometry(), QRect(0, 0, 353, 33));
    EXPECT_EQ(login->Picture1->palette().color(QPalette::Window), QColor(0x00, 0xC0, 0xC0));
    EXPECT_EQ(login->Label1->pos(), QPoint(8, 8));
    EXPECT_EQ(login->Label1->text(), "用户登陆");
    EXPECT_EQ(login->N_Image1->geometry(), QRect(296, 0, 48, 19));
    EXPECT_EQ(login->Shape1->geometry(), login->rect());
    for (QWidget* panel : {login->Picture2, login->Picture3, login->Picture4})
        EXPECT_EQ(panel->geometry(), QRect(16, 40, 321, 321));
    EXPECT_TRUE(login->Picture2->isVisible());
    EXPECT_FALSE(login->Picture3->isVisible());
    EXPECT_FALSE(login->Picture4->isVisible());

    EXPECT_EQ(login->N_TextBox1->geometry(), QRect(48, 72, 233, 25));
    EXPECT_EQ(login->N_TextBox6->geometry(), QRect(48, 168, 233, 25));
    EXPECT_EQ(login->Check1->geometry(), QRect(48, 160, 105, 17));
    EXPECT_EQ(login->N_Shape2->geometry(), QRect(48, 192, 233, 33));
    EXPECT_EQ(login->N_Shape3->geometry(), QRect(216, 280, 97, 33));
    EXPECT_EQ(login->N_Shape4->geometry(), QRect(48, 224, 233, 33));
    EXPECT_EQ(login->Text1->geometry(), QRect(8, 0, 305, 273));
    EXPECT_EQ(login->N_Shape2->Caption(), "登 陆");
    EXPECT_EQ(login->N_Shape6->Caption(), "免 责 声 明");
    EXPECT_EQ(login->N_Shape8->Caption(), "返 回 注 册");
    EXPECT_EQ(login->Label5->text(), "填写虚假信息永久禁止登陆");
    EXPECT_EQ(login->Text1->toPlainText(), QString(DisclaimerText()).replace("\r\n", "\n"));
    EXPECT_TRUE(DisclaimerText().contains("免责条款"));
    EXPECT_TRUE(DisclaimerText().contains("Zenri表白网页生成器"));
}

// The hidden panels come after the first paint; a switch before that finds them all the same.
// No user can click a window that is not up yet: the switch is asked for as the program would,
// by the button's signal.
TEST_F(LoginWindow, RegistrationIsThereWhenAskedForAtOnce) {
    delete login.data();
    login = new Login(window);
    EXPECT_EQ(login->Picture3, nullptr);
    emit login->N_Shape3->Click();
    ASSERT_TRUE(login->Picture3);
    EXPECT_FALSE(login->Picture2->isVisibleTo(login));
    EXPECT_TRUE(login->Picture3->isVisibleTo(login));
    EXPECT_EQ(login->Label1->text(), "用户注册");
    EXPECT_EQ(login->N_TextBox3->Text(), "请输入QQ号码");
    EXPECT_EQ(login->N_TextBox6->Text(), "请输入手机号码（找回密码时使用)");
    EXPECT_EQ(login->Shape1->parentWidget()->children().last(), login->Shape1);
}

TEST_F(LoginWindow, DisclaimerLinesFitTheirBox) {
    ShowDisclaimer();
    const QFontMetrics metrics(login->Text1->font());
    const int room =
        login->Text1->viewport()->width() - 2 * int(login->Text1->document()->documentMargin());
    const QStringList lines = DisclaimerText().split("\r\n");
    EXPECT_GE(lines.size(), 28);
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), room) << line.toStdString();
}

TEST_F(LoginWindow, ButtonsUseTheirThreeColourSchemes) {
    const quint32 cyan = controls::OleFromRgb(0x00C0C0), green = controls::OleFromRgb(0x008000);
    const quint32 grey = controls::OleFromRgb(0xB3B3B3);
    for (N_Shape* b : {login->N_Shape2, login->N_Shape4}) {
        EXPECT_EQ(b->BorderColorNormal(), cyan);
        EXPECT_EQ(b->ForeColorNormal(), cyan);
        EXPECT_EQ(b->BorderColorDown(), grey);
    }
    for (N_Shape* b : {login->N_Shape3, login->N_Shape5, login->N_Shape8}) {
        EXPECT_EQ(b->BorderColorNormal(), green);
        EXPECT_EQ(b->ForeColorNormal(), green);
    }
    for (N_Shape* b : {login->N_Shape1, login->N_Shape6, login->N_Shape9}) {
        EXPECT_EQ(b->BorderColorNormal(), grey);
        EXPECT_EQ(b->ForeColorNormal(), 0u);
        EXPECT_EQ(b->BorderColorDown(), cyan);
        EXPECT_EQ(b->BackColorDown(), cyan);
        EXPECT_TRUE(b->Text_Visible());
    }
    // Every caption in 8-point regular Verdana.
    for (N_Shape* b : login->findChildren<N_Shape*>()) {
        EXPECT_EQ(b->FontSize(), 8) << b->objectName().toStdString();
        EXPECT_FALSE(b->FontBold()) << b->objectName().toStdString();
    }
    EXPECT_EQ(login->findChildren<N_Shape*>().size(), 8);
}

TEST_F(LoginWindow, FirstOpeningShowsEveryHintAndNoFocusedBox) {
    const QStringList hints = {"请输入用户名",   "请输入密码",
                               "请输入QQ号码",   "请输入密码(不要和QQ密码相同)",
                               "请再次输入密码", "请输入手机号码（找回密码时使用)"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Boxes()[i]->Text(), hints[i]);
        EXPECT_EQ(Shown(Boxes()[i]), hints[i]);
        EXPECT_EQ(Boxes()[i]->ForeColor(), kHintColor);
    }
    EXPECT_FALSE(login->Check1->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), login->Picture2);
    EXPECT_TRUE(login->Label2->text().isEmpty());
}

TEST_F(LoginWindow, RemembersASignInOnlyWithTheFlagAndTheFile) {
    wini::CreateSettingsFolder();
    WriteIni(wini::Section(), QString::fromUtf16(wini::kAccountKey), "12345678",
             wini::SettingsFilePath());
    WriteIni(wini::Section(), QString::fromUtf16(wini::kPasswordKey),
             ScramblePassword("pa'ss 密码", "ZuKoMarn"), wini::SettingsFilePath());

    wini::WriteRememberFlag("0");
    Reopen();
    EXPECT_EQ(login->N_TextBox1->Text(), "请输入用户名");
    EXPECT_FALSE(login->Check1->isChecked());

    wini::WriteRememberFlag("1");
    Reopen();
    EXPECT_EQ(login->N_TextBox1->Text(), "12345678");
    EXPECT_EQ(login->N_TextBox1->ForeColor(), kEntryColor);
    EXPECT_EQ(login->N_TextBox2->Text(), "pa'ss 密码");
    EXPECT_EQ(Shown(login->N_TextBox2), kCircle.repeated(8));
    EXPECT_EQ(login->N_TextBox2->PasswordChar(), "l");
    EXPECT_TRUE(login->Check1->isChecked());
    Focus(login->N_TextBox2);
    EXPECT_EQ(login->N_TextBox2->Text(), "pa'ss 密码");
    Focus(login->Picture2);
    EXPECT_EQ(login->N_TextBox2->Text(), "pa'ss 密码");

    QFile::remove(wini::SettingsFilePath());
    Reopen();
    EXPECT_EQ(login->N_TextBox2->Text(), "请输入密码");
}

TEST_F(LoginWindow, HintsComeAndGoWithTheFocus) {
    N_TextBox* account = login->N_TextBox1;
    Focus(account);
    EXPECT_EQ(account->Text(), "");
    EXPECT_EQ(account->ForeColor(), kEntryColor);
    Focus(login->Picture2);
    EXPECT_EQ(account->Text(), "请输入用户名");
    EXPECT_EQ(account->ForeColor(), kHintColor);
    Type(account, "123");
    EXPECT_EQ(account->Text(), "123");
    EXPECT_EQ(account->ForeColor(), kEntryColor);
    Focus(account);
    EXPECT_EQ(account->Text(), "123");

    N_TextBox* password = login->N_TextBox2;
    Focus(password);
    EXPECT_EQ(password->Text(), "");
    EXPECT_EQ(password->PasswordChar(), "l");
    QTest::keyClicks(QApplication::focusWidget(), "ab");
    EXPECT_EQ(Shown(password), kCircle.repeated(2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    Focus(login->Picture2);
    EXPECT_EQ(password->Text(), "请输入密码");
    EXPECT_EQ(password->PasswordChar(), "");
    EXPECT_EQ(Shown(password), "请输入密码");
    EXPECT_EQ(password->ForeColor(), kHintColor);
}

TEST_F(LoginWindow, NumberBoxesTakeDigitsAndBackspaceOnly) {
    for (N_TextBox* box : {login->N_TextBox1, login->N_TextBox3, login->N_TextBox6}) {
        if (box == login->N_TextBox3)
            ShowRegistration();
        Focus(box);
        QTest::keyClicks(QApplication::focusWidget(), "1a-2 .3");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        EXPECT_EQ(box->Text(), "12") << box->objectName().toStdString();
    }
    EXPECT_TRUE(requests.isEmpty());
    Type(login->N_TextBox4, "a-b 1");
    EXPECT_EQ(login->N_TextBox4->Text(), "a-b 1");
}

// A Chinese input method, a paste or a drop brings whole strings at once; the number boxes
// keep only their digits, the other boxes take everything.
TEST_F(LoginWindow, NumberBoxesKeepDigitsOnlyHoweverTextComesIn) {
    for (N_TextBox* box : {login->N_TextBox1, login->N_TextBox3, login->N_TextBox6}) {
        if (box == login->N_TextBox3)
            ShowRegistration();
        Focus(box);
        text_entry::Commit(box->txt(), "一二三四五六七八九十壹");
        EXPECT_EQ(box->Text(), "") << box->objectName().toStdString();
        text_entry::Commit(box->txt(), "１2三4");
        text_entry::Paste(box->txt(), "5六\n7-");
        text_entry::Drop(box->txt(), "八8 ");
        EXPECT_EQ(box->Text(), "24578") << box->objectName().toStdString();
        Focus(box->parentWidget());
    }
    Focus(login->N_TextBox4);
    text_entry::Commit(login->N_TextBox4->txt(), "密码");
    text_entry::Paste(login->N_TextBox4->txt(), "a-1");
    EXPECT_EQ(login->N_TextBox4->Text(), "密码a-1");
}

// Eleven Chinese characters in the phone box never make a registration.
TEST_F(LoginWindow, PastedCharactersCannotRegisterAsAPhoneNumber) {
    ShowRegistration();
    Type(login->N_TextBox3, "123456");
    Type(login->N_TextBox4, "secret");
    Type(login->N_TextBox5, "secret");
    Focus(login->N_TextBox6);
    text_entry::Paste(login->N_TextBox6->txt(), "一二三四五六七八九十壹");
    Focus(login->Picture3);
    Click(login->N_Shape4);
    EXPECT_EQ(login->Label3->text(), "请输入手机号码以便日后找回密码");
    EXPECT_TRUE(requests.isEmpty());
}

TEST_F(LoginWindow, RegistrationBoxesKeepTheirLimits) {
    ShowRegistration();
    Type(login->N_TextBox3, "123456789012");
    EXPECT_EQ(login->N_TextBox3->Text(), "1234567890");
    Type(login->N_TextBox4, QString(25, QLatin1Char('x')));
    EXPECT_EQ(login->N_TextBox4->Text().size(), 20);

    Focus(login->N_TextBox6);
    EXPECT_EQ(login->N_TextBox6->MaxLength(), 11);
    QTest::keyClicks(QApplication::focusWidget(), "1380013800099");
    EXPECT_EQ(login->N_TextBox6->Text(), "13800138000");
    login->N_TextBox6->SetText("");
    Focus(login->Picture3);
    EXPECT_EQ(login->N_TextBox6->MaxLength(), 0);
    EXPECT_EQ(login->N_TextBox6->Text(), "请输入手机号码（找回密码时使用)");
}

TEST_F(LoginWindow, ChangingThePasswordResetsItsConfirmation) {
    ShowRegistration();
    Type(login->N_TextBox4, "abc");
    Type(login->N_TextBox5, "abc");
    EXPECT_EQ(login->N_TextBox5->Text(), "abc");
    Focus(login->N_TextBox4);
    QTest::keyClicks(QApplication::focusWidget(), "d");
    EXPECT_EQ(login->N_TextBox5->Text(), "请再次输入密码");
    EXPECT_EQ(login->N_TextBox5->PasswordChar(), "");
    EXPECT_EQ(login->N_TextBox5->Font().family(), "Arial");
    EXPECT_EQ(login->N_TextBox5->ForeColor(), kHintColor);
}

TEST_F(LoginWindow, PanelsSwitchWithTheirTitlesAndKeepWhatWasTyped) {
    Type(login->N_TextBox1, "123456");
    login->Check1->setChecked(true);
    Click(login->N_Shape3);
    EXPECT_TRUE(login->Picture3->isVisible());
    EXPECT_FALSE(login->Picture2->isVisible());
    EXPECT_EQ(login->Label1->text(), "用户注册");
    Type(login->N_TextBox3, "7654321");
    Click(login->N_Shape6);
    EXPECT_TRUE(login->Picture4->isVisible());
    EXPECT_EQ(login->Label1->text(), "免责声明");
    Click(login->N_Shape8);
    EXPECT_TRUE(login->Picture3->isVisible());
    EXPECT_EQ(login->Label1->text(), "用户注册");
    Click(login->N_Shape6);
    Click(login->N_Shape9);
    EXPECT_TRUE(login->Picture2->isVisible());
    EXPECT_EQ(login->Label1->text(), "用户登陆");
    Click(login->N_Shape3);
    Focus(login->N_TextBox4);
    Click(login->N_Shape5);
    EXPECT_TRUE(login->Picture2->isVisible());
    EXPECT_FALSE(login->Picture3->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), login->Picture2);

    EXPECT_EQ(login->N_TextBox1->Text(), "123456");
    EXPECT_TRUE(login->Check1->isChecked());
    EXPECT_EQ(login->N_TextBox3->Text(), "7654321");
    EXPECT_EQ(login->N_TextBox4->Text(), "请输入密码(不要和QQ密码相同)");
}

TEST_F(LoginWindow, TabMovesThroughEachPanelInItsOrder) {
    EXPECT_EQ(TabFrom(login->N_TextBox1), login->N_TextBox2->focusProxy());
    EXPECT_EQ(TabFrom(login->N_TextBox2), login->N_Shape2);
    EXPECT_EQ(TabFrom(login->N_Shape2), login->N_Shape3);
    EXPECT_EQ(TabFrom(login->N_Shape3), login->N_Shape1);
    EXPECT_EQ(TabFrom(login->N_Shape1), login->Check1);

    ShowRegistration();
    EXPECT_EQ(TabFrom(login->N_TextBox3), login->N_TextBox4->focusProxy());
    EXPECT_EQ(TabFrom(login->N_TextBox4), login->N_TextBox5->focusProxy());
    EXPECT_EQ(TabFrom(login->N_TextBox5), login->N_TextBox6->focusProxy());
    EXPECT_EQ(TabFrom(login->N_TextBox6), login->N_Shape4);
    EXPECT_EQ(TabFrom(login->N_Shape4), login->N_Shape5);
    EXPECT_EQ(TabFrom(login->N_Shape5), login->N_Shape6);

    ShowDisclaimer();
    EXPECT_EQ(TabFrom(login->N_Shape8), login->N_Shape9);
    EXPECT_EQ(TabFrom(login->N_Shape9), login->Text1);
}

TEST_F(LoginWindow, TitleStripMovesTheWindowWithTheLeftButtonOnly) {
    const auto drag = [this](QWidget* surface, Qt::MouseButton button) {
        const QPoint local(120, 10);
        const QPoint global = surface->mapToGlobal(local);
        const QPoint by(25, 15);
        QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
        QApplication::sendEvent(surface, &press);
        QMouseEvent move(QEvent::MouseMove, local + by, global + by, Qt::NoButton, button,
                         Qt::NoModifier);
        QApplication::sendEvent(surface, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, local + by, global + by, button,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(surface, &release);
    };
    const QPoint start = login->pos();
    drag(login->Picture1, Qt::RightButton);
    drag(login->Picture1, Qt::MiddleButton);
    EXPECT_EQ(login->pos(), start);
    drag(login->Picture1, Qt::LeftButton);
    EXPECT_EQ(login->pos(), start + QPoint(25, 15));
}

TEST_F(LoginWindow, ForgottenPasswordOpensTheCustomerServicePage) {
    Press(login->N_Shape1);
    EXPECT_EQ(openedDocuments, QStringList{service.Url() + "/shop/kefu"});
    EXPECT_TRUE(login->isVisible());
}

TEST_F(LoginWindow, CloseImageEndsTheProgramWithoutTheExitStatement) {
    Click(login->N_Image1);
    QApplication::processEvents();
    EXPECT_FALSE(login);
    EXPECT_EQ(programEnds, 1);
    EXPECT_FALSE(window && window->isVisible());
    EXPECT_TRUE(requests.isEmpty());
}

}  // namespace
