#include "AccountsFixture.h"

#include "client/controls/N_Shape.h"
#include "client/controls/N_TextBox.h"
#include "client/platform/Platform.h"
#include "client/settings/Wini.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

void AccountsFixture::SetUp() {
    ShellFixture::SetUp();
    wini::WriteRememberFlag(QString());
    window = new Main();
    QObject::connect(window, &Main::SignInRequested, window, [this](Main* owner) {
        login = new Login(owner);
        QObject::connect(login, &Login::SignedIn, owner, &Main::EnableGallery);
        login->show();
    });
    ASSERT_EQ(window->Load(), Main::Start::AwaitingSignIn);
    ASSERT_TRUE(login);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(login));
    login->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(login));
    // The registration and disclaimer panels follow once the window has been painted.
    ASSERT_TRUE(QTest::qWaitFor([&] { return login->Picture3 != nullptr; }));
    platform::Current().wait = [this](int milliseconds) {
        const bool registering = login->Picture3->isVisible();
        waits.append({milliseconds, (registering ? login->Label3 : login->Label2)->text(),
                      (registering ? login->N_Shape4 : login->N_Shape2)->Enabled(),
                      login->cursor().shape()});
    };
    requests.clear();
}

void AccountsFixture::Focus(QWidget* widget) {
    widget->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
}

void AccountsFixture::Type(N_TextBox* box, const QString& text) {
    Focus(box);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    for (QChar c : text) {
        // QTest's key table knows ASCII only; other characters come as a key with a text.
        if (c.unicode() < 0x80)
            QTest::keyClick(QApplication::focusWidget(), char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                                QString(c), Qt::NoModifier);
    }
    Focus(box->parentWidget());
}

void AccountsFixture::StopService() {
    xmlhttp::Manager().clearConnectionCache();
    ASSERT_TRUE(service.Stop());
}

void AccountsFixture::Press(N_Shape* button) {
    Focus(button);
    QTest::keyClick(button, Qt::Key_Return);
    QApplication::processEvents();
}

QString AccountsFixture::Shown(const N_TextBox* box) {
    const auto* edit = box->findChild<QLineEdit*>();
    return edit ? edit->displayText() : QString();
}
