#pragma once
// What the client keeps on the user's machine: the settings file "Zrrj/Zrwysc.ini" under the
// program folder (a remembered sign-in and the program's file name) and the remember flag in
// the per-user settings store.

#include "client/settings/IniFile.h"
#include "client/settings/PasswordScrambling.h"

#include <QString>

namespace wini {

inline constexpr char16_t kSection[] = u"Zenri表白网页生成";
inline constexpr char16_t kProgramNameKey[] = u"软件名称";
inline constexpr char16_t kAccountKey[] = u"登陆帐号";
inline constexpr char16_t kPasswordKey[] = u"登陆密码";
inline constexpr char kScrambleKey[] = "ZuKoMarn";

QString Section();

// The folder of the executable (platform::Current().programFolder: tests put their own in
// place).
QString ProgramFolder();

// "<program folder>/Zrrj", or the same relative path under the per-user data folder when the
// program folder cannot be written (an installed program).
QString SettingsFolder();
QString SettingsFilePath();   // SettingsFolder() + "/Zrwysc.ini"
bool CreateSettingsFolder();  // creates it when missing; true when it exists afterwards

// The remember flag "Wyscrj" (application "Zrrj", section "Zrrj"); empty when never written.
QString ReadRememberFlag();
void WriteRememberFlag(const QString& value);

}  // namespace wini
