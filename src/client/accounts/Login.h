#pragma once
// The sign-in window: a frameless window owned by the main window, with three panels in one
// place (sign-in, registration, disclaimer) and a title strip to move and close it by. A
// successful sign-in is told by SignedIn; the owner opens its gallery on it.

#include "client/controls/OutlineShape.h"
#include "client/gateway/Gateway.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QString>
#include <QWidget>

#include <optional>

class N_Image;
class N_Shape;
class N_TextBox;

namespace accounts {

// The texts of the window and of its two actions.
inline constexpr char16_t kHintAccount[] = u"请输入用户名";
inline constexpr char16_t kHintPassword[] = u"请输入密码";
inline constexpr char16_t kHintQQ[] = u"请输入QQ号码";
inline constexpr char16_t kHintNewPassword[] = u"请输入密码(不要和QQ密码相同)";
inline constexpr char16_t kHintConfirm[] = u"请再次输入密码";
inline constexpr char16_t kHintPhone[] = u"请输入手机号码（找回密码时使用)";

using gateway::kCannotConnect;
using gateway::kTooManyAttempts;

// The customer-service page behind "忘记密码?".
QString CustomerServiceAddress();

}  // namespace accounts

class Login : public QWidget {
    Q_OBJECT
public:
    explicit Login(QWidget* owner);

    // Title strip.
    QWidget* Picture1;
    QLabel* Label1;
    N_Image* N_Image1;
    OutlineShape* Shape1;  // the one-pixel outline along the window's four edges
    // Sign-in panel.
    QWidget* Picture2;
    N_TextBox* N_TextBox1;
    N_TextBox* N_TextBox2;
    QCheckBox* Check1;
    N_Shape* N_Shape2;
    QLabel* Label2;
    N_Shape* N_Shape1;
    N_Shape* N_Shape3;
    // Registration panel and disclaimer panel: built once the window is up
    // (BuildHiddenPanels), null before.
    QWidget* Picture3 = nullptr;
    QLabel* Label5 = nullptr;
    N_TextBox* N_TextBox3 = nullptr;
    N_TextBox* N_TextBox4 = nullptr;
    N_TextBox* N_TextBox5 = nullptr;
    N_TextBox* N_TextBox6 = nullptr;
    QLabel* Label3 = nullptr;
    N_Shape* N_Shape4 = nullptr;
    N_Shape* N_Shape6 = nullptr;
    N_Shape* N_Shape5 = nullptr;
    // Disclaimer panel.
    QWidget* Picture4 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    N_Shape* N_Shape9 = nullptr;
    N_Shape* N_Shape8 = nullptr;

    // The actions of "登 陆" and "立 即 注 册".
    void SignIn();
    void Register();

    // Builds the registration and disclaimer panels if they are not there yet.
    void BuildHiddenPanels();

    // The hint of one of the six boxes, and whether the box shows it.
    static QString HintOf(const N_TextBox* box);
    static bool ShowsHint(const N_TextBox* box);
    // What the user entered in the box: nothing while it shows its hint.
    static std::optional<QString> EntryOf(const N_TextBox* box);

signals:
    // The account signed in (and is marked online); the window closes right after.
    void SignedIn(const QString& account);

protected:
    bool event(QEvent* event) override;

private:
    void BuildTitleStrip();
    void BuildSignInPanel();
    void BuildRegistrationPanel();
    void BuildDisclaimerPanel();
    void WatchBox(N_TextBox* box);
    void ShowHint(N_TextBox* box);
    void SetTabOrders();
    void Open();

    void BoxGotFocus(N_TextBox* box);
    void BoxLostFocus(N_TextBox* box);
    void ResetConfirmation();
    void ShowPanel(QWidget* panel, const QString& title);
    void CloseAndEnd();

    // Sets a status line, keeping it centred on its panel.
    void SetStatus(QLabel* line, const QString& text);
    // The half-second lock-out of a button with the wait pointer; false when the window went
    // away meanwhile.
    bool LockOut(N_Shape* button);
};
