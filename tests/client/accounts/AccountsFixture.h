#pragma once
// The program started against a fresh service up to the sign-in window, with the half-second
// lock-outs recorded instead of waited.

#include "Click.h"
#include "DemoAccount.h"
#include "ShellFixture.h"
#include "client/accounts/Login.h"
#include "client/controls/N_Shape.h"
#include "client/gateway/ServiceAddress.h"
#include "client/gateway/XmlHttp.h"
#include "client/shell/Main.h"

#include <QNetworkAccessManager>

#include <QPointer>

class AccountsFixture : public ShellFixture {
protected:
    void SetUp() override;

    // Gives the box the focus as a click would, so its focus rules run.
    void Focus(QWidget* widget);
    // Focuses the box, types the text key by key after what it holds, then leaves the box.
    void Type(N_TextBox* box, const QString& text);
    // Stops the service at once (no kept-alive connection holds it up).
    void StopService();
    // Presses Enter on a button that has the focus, as a user would.
    void Press(N_Shape* button);
    // The buttons a user clicks to reach the registration panel and the disclaimer panel.
    void ShowRegistration() { Click(login->N_Shape3); }
    void ShowDisclaimer() {
        if (!login->Picture3 || !login->Picture3->isVisible())
            ShowRegistration();
        Click(login->N_Shape6);
    }
    // The text of the box as the user sees it (the mask applied).
    static QString Shown(const N_TextBox* box);

    QPointer<Main> window;
    QPointer<Login> login;
    // One entry per lock-out: the status line, the button's state and the pointer meanwhile.
    struct Wait {
        int milliseconds;
        QString status;
        bool buttonEnabled;
        Qt::CursorShape cursor;
    };
    QList<Wait> waits;
};
