#pragma once
// The checks of the sign-in window's two actions, apart from the window: each takes the values
// the user entered (and what the service answered) and returns what the status line says, or
// nothing when the action goes on. The window only reads its boxes and shows the result.
//
// An entry is nothing when its box shows its hint: the user has not typed anything there.

#include "client/gateway/Gateway.h"

#include <QString>

#include <optional>

namespace accounts {

// ---- Sign-in ("登 陆").

inline constexpr char16_t kSignInEmpty[] = u"用户名或密码不能为空";
inline constexpr char16_t kSignInWrong[] = u"用户名或密码不正确";
inline constexpr char16_t kSignInFrozen[] = u"帐号已被冻结，请联系客服解除";

// Both entries are needed before the service is asked.
std::optional<QString> CheckSignInEntries(const std::optional<QString>& account,
                                          const std::optional<QString>& password);

// The row the sign-in lookup found for what the user typed (the lookup compares the values
// with blanks taken out; this compares them exactly): nothing when the user may sign in, and
// the row's fields are then in record 1 of the reply.
std::optional<QString> CheckSignInRow(const gateway::QueryReply& reply, const QString& account,
                                      const QString& password);

// The gateway renders the frozen flag as "True"/"False" or "-1"/"0".
bool IsTrue(const QString& field);

// ---- Registration ("立 即 注 册").

inline constexpr int kShortestQQ = 5;
inline constexpr int kPhoneLength = 11;

inline constexpr char16_t kNoQQ[] = u"请输入QQ号码进行注册";
inline constexpr char16_t kBadQQ[] = u"请输入正确的QQ号码";
inline constexpr char16_t kNoPassword[] = u"密码不能为空";
inline constexpr char16_t kNoConfirmation[] = u"请再次输入密码";
inline constexpr char16_t kPasswordsDiffer[] = u"两次密码输入不一致，请重新输入";
inline constexpr char16_t kNoPhone[] = u"请输入手机号码以便日后找回密码";
// Said when the phone number has not eleven characters; the window also empties its box.
inline constexpr char16_t kBadPhone[] = u"手机号码格式不正确";
inline constexpr char16_t kQQTaken[] = u"此QQ号码已被注册！";
inline constexpr char16_t kRegistered[] = u"注册成功，请返回登陆";
// Said when the service received the new account but did not store it.
inline constexpr char16_t kRegistrationFailed[] = u"注册失败，请稍后再试";

// The four entries of the registration panel; an empty text counts as not entered.
struct RegistrationEntries {
    std::optional<QString> qq, password, confirmation, phone;
};

// The entries in the order the panel checks them: nothing when they may be sent.
std::optional<QString> CheckRegistrationEntries(const RegistrationEntries& entries);

// The lookup of the QQ number before the insert: nothing when the number is free.
std::optional<QString> CheckRegistrationLookup(const gateway::QueryReply& lookup);

// What the insert's answer means for the user (delivered: a reply came at all).
QString RegistrationOutcome(bool delivered, const QString& reply);

}  // namespace accounts
