// The checks of the sign-in window's actions, without a window or a service: the values the
// user entered and the replies the service gave go in, the status line's text comes out.

#include "QtPrinters.h"
#include "client/accounts/AccountChecks.h"
#include "common/Columns.h"
#include "common/GatewayProtocol.h"

#include <gtest/gtest.h>

using accounts::CheckRegistrationEntries;
using accounts::CheckRegistrationLookup;
using accounts::CheckSignInEntries;
using accounts::CheckSignInRow;
using accounts::RegistrationEntries;
using accounts::RegistrationOutcome;

namespace {

QString Text(const char16_t* text) {
    return QString::fromUtf16(text);
}

// A query reply as the client reads it, from rows the service sends.
gateway::QueryReply Reply(const std::vector<QStringList>& rows) {
    return {gateway::SplitRecords(gateway::BuildQueryReply(rows)), true};
}

// A row of 用户管理 for the account, its other fields as a new account has them.
QStringList UserRow(const QString& user, const QString& password, const QString& frozen) {
    QStringList row(columns::kUserCount);
    row[columns::kUser] = user;
    row[columns::kPassword] = password;
    row[columns::kPhone] = "13912345678";
    row[columns::kPageName] = "xiaoyu520";
    row[columns::kFrozen] = frozen;
    return row;
}

TEST(SignInChecks, BothEntriesAreNeeded) {
    EXPECT_EQ(CheckSignInEntries(std::nullopt, QString("pw")), Text(accounts::kSignInEmpty));
    EXPECT_EQ(CheckSignInEntries(QString("12345"), std::nullopt), Text(accounts::kSignInEmpty));
    EXPECT_EQ(CheckSignInEntries(std::nullopt, std::nullopt), Text(accounts::kSignInEmpty));
    EXPECT_EQ(CheckSignInEntries(QString("12345"), QString("pw")), std::nullopt);
}

TEST(SignInChecks, AMatchingRowThatIsNotFrozenSignsIn) {
    const auto reply = Reply({UserRow("12345", "pw", "False")});
    EXPECT_EQ(CheckSignInRow(reply, "12345", "pw"), std::nullopt);
    EXPECT_EQ(CheckSignInRow(Reply({UserRow("12345", "pw", "0")}), "12345", "pw"), std::nullopt);
}

TEST(SignInChecks, NoRowAndAMismatchAreTheSameRefusal) {
    const QString wrong = Text(accounts::kSignInWrong);
    EXPECT_EQ(CheckSignInRow(Reply({QStringList()}), "12345", "pw"), wrong);
    // The lookup matched the values without blanks; the user typed them with blanks.
    const auto row = Reply({UserRow("12345", "pw", "False")});
    EXPECT_EQ(CheckSignInRow(row, "12345 ", "pw"), wrong);
    EXPECT_EQ(CheckSignInRow(row, "12345", "p w"), wrong);
    EXPECT_EQ(CheckSignInRow(row, "12345", "PW"), wrong);
}

TEST(SignInChecks, AFrozenAccountIsToldSoEvenWithTheRightPassword) {
    for (const char* frozen : {"True", "-1"}) {
        EXPECT_EQ(CheckSignInRow(Reply({UserRow("12345", "pw", frozen)}), "12345", "pw"),
                  Text(accounts::kSignInFrozen))
            << frozen;
    }
    EXPECT_TRUE(accounts::IsTrue("True"));
    EXPECT_TRUE(accounts::IsTrue("-1"));
    EXPECT_FALSE(accounts::IsTrue("False"));
    EXPECT_FALSE(accounts::IsTrue("0"));
    EXPECT_FALSE(accounts::IsTrue("true"));
}

TEST(SignInChecks, AnUnreadableAnswerIsAConnectionFailureUnlessTheServiceSaidLimit) {
    const QString cannot = Text(gateway::kCannotConnect);
    EXPECT_EQ(CheckSignInRow({{}, false}, "12345", "pw"), cannot);
    EXPECT_EQ(CheckSignInRow({{"<html>"}, true}, "12345", "pw"), cannot);
    EXPECT_EQ(CheckSignInRow({{"LIMIT"}, true}, "12345", "pw"), Text(gateway::kTooManyAttempts));
    EXPECT_EQ(CheckSignInRow({{"LIMIT"}, false}, "12345", "pw"), cannot);
    // A row shorter than 用户管理's columns cannot be read either.
    EXPECT_EQ(CheckSignInRow(Reply({{"12345", "pw"}}), "12345", "pw"), cannot);
}

TEST(RegistrationChecks, EntriesAreCheckedInOrder) {
    RegistrationEntries e;
    EXPECT_EQ(CheckRegistrationEntries(e), Text(accounts::kNoQQ));
    e.qq = "1234";
    EXPECT_EQ(CheckRegistrationEntries(e), Text(accounts::kBadQQ));
    e.qq = "12345";
    EXPECT_EQ(CheckRegistrationEntries(e), Text(accounts::kNoPassword));
    e.password = "abc";
    EXPECT_EQ(CheckRegistrationEntries(e), Text(accounts::kNoConfirmation));
    e.confirmation = "abd";
    EXPECT_EQ(CheckRegistrationEntries(e), Text(accounts::kPasswordsDiffer));
    e.confirmation = "abc";
    EXPECT_EQ(CheckRegistrationEntries(e), Text(accounts::kNoPhone));
    e.phone = "1380000000";
    EXPECT_EQ(CheckRegistrationEntries(e), Text(accounts::kBadPhone));
    e.phone = "138000000000";
    EXPECT_EQ(CheckRegistrationEntries(e), Text(accounts::kBadPhone));
    e.phone = "13912345678";
    EXPECT_EQ(CheckRegistrationEntries(e), std::nullopt);
}

TEST(RegistrationChecks, AnEmptyEntryCountsAsNotEntered) {
    EXPECT_EQ(CheckRegistrationEntries({QString(""), {}, {}, {}}), Text(accounts::kNoQQ));
    EXPECT_EQ(CheckRegistrationEntries({"12345", "", "", "13912345678"}),
              Text(accounts::kNoPassword));
    EXPECT_EQ(CheckRegistrationEntries({"12345", "a", "", "13912345678"}),
              Text(accounts::kNoConfirmation));
    EXPECT_EQ(CheckRegistrationEntries({"12345", "a", "a", ""}), Text(accounts::kNoPhone));
    // The first failing check is told, whatever follows.
    EXPECT_EQ(CheckRegistrationEntries({"1", "a", "b", ""}), Text(accounts::kBadQQ));
}

TEST(RegistrationChecks, TheLookupFindsTheNumberFreeOrTaken) {
    EXPECT_EQ(CheckRegistrationLookup(Reply({QStringList()})), std::nullopt);
    EXPECT_EQ(CheckRegistrationLookup(Reply({UserRow("12345", "pw", "False")})),
              Text(accounts::kQQTaken));
    EXPECT_EQ(CheckRegistrationLookup({{}, false}), Text(gateway::kCannotConnect));
    EXPECT_EQ(CheckRegistrationLookup({{"LIMIT"}, true}), Text(gateway::kTooManyAttempts));
}

TEST(RegistrationChecks, TheInsertAnswerIsToldInWords) {
    EXPECT_EQ(RegistrationOutcome(true, "OK"), Text(accounts::kRegistered));
    EXPECT_EQ(RegistrationOutcome(true, "TAKEN"), Text(accounts::kQQTaken));
    EXPECT_EQ(RegistrationOutcome(true, "LIMIT"), Text(gateway::kTooManyAttempts));
    EXPECT_EQ(RegistrationOutcome(true, "REFUSED"), Text(accounts::kRegistrationFailed));
    EXPECT_EQ(RegistrationOutcome(true, ""), Text(accounts::kRegistrationFailed));
    EXPECT_EQ(RegistrationOutcome(false, "OK"), Text(gateway::kCannotConnect));
}

}  // namespace
