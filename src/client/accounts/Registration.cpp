// The action of "立 即 注 册": check the four entries in order, make sure the QQ number is not
// an account yet, and insert the new row with the service's time.

#include "Gateway.h"
#include "Login.h"
#include "N_Shape.h"
#include "N_TextBox.h"
#include "Statements.h"

namespace {

constexpr int kShortestQQ = 5;
constexpr int kPhoneLength = 11;

bool NotFilledIn(const N_TextBox* box) {
    return Login::ShowsHint(box) || box->Text().isEmpty();
}

}  // namespace

void Login::Register() {
    BuildHiddenPanels();
    SetStatus(Label3, QString());
    if (!LockOut(N_Shape4))
        return;

    const QString qq = N_TextBox3->Text();
    const QString password = N_TextBox4->Text();
    const QString phone = N_TextBox6->Text();
    const char16_t* refusal = nullptr;
    if (NotFilledIn(N_TextBox3)) {
        refusal = u"请输入QQ号码进行注册";
    } else if (qq.size() < kShortestQQ) {
        refusal = u"请输入正确的QQ号码";
    } else if (NotFilledIn(N_TextBox4)) {
        refusal = u"密码不能为空";
    } else if (NotFilledIn(N_TextBox5)) {
        refusal = u"请再次输入密码";
    } else if (password != N_TextBox5->Text()) {
        refusal = u"两次密码输入不一致，请重新输入";
    } else if (NotFilledIn(N_TextBox6)) {
        refusal = u"请输入手机号码以便日后找回密码";
    } else if (phone.size() != kPhoneLength) {
        SetStatus(Label3, QStringLiteral("手机号码格式不正确"));
        N_TextBox6->SetText(QString());
        return;
    }
    if (refusal) {
        SetStatus(Label3, QString::fromUtf16(refusal));
        return;
    }

    const gateway::QueryReply lookup =
        gateway::Query(statements::RegistrationLookup(statements::TrimSpaces(qq)));
    if (!lookup.HasRecord(1)) {
        SetStatus(Label3, QString::fromUtf16(lookup.NoRowText()));
        return;
    }
    if (!lookup.records[1].isEmpty()) {
        SetStatus(Label3, QStringLiteral("此QQ号码已被注册！"));
        return;
    }
    const xmlhttp::PostReply time = gateway::ReadServerTimeReply();
    if (!time.delivered) {
        SetStatus(Label3, QString::fromUtf16(accounts::kCannotConnect));
        return;
    }
    const xmlhttp::PostReply insert =
        gateway::Execute(statements::RegistrationInsert(qq, password, phone, time.text));
    const char16_t* outcome = accounts::kRegistrationFailed;
    if (!insert.delivered) {
        outcome = accounts::kCannotConnect;
    } else if (insert.text == QLatin1String("OK")) {
        outcome = u"注册成功，请返回登陆";
    } else if (insert.text == QLatin1String("TAKEN")) {
        outcome = u"此QQ号码已被注册！";
    } else if (insert.text == QLatin1String("LIMIT")) {
        outcome = accounts::kTooManyAttempts;
    }
    SetStatus(Label3, QString::fromUtf16(outcome));
}
