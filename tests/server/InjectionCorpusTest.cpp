// An injection corpus through the real gateway: every payload of the tables below in every value
// slot of every statement the client sends, from the client's own gateway routines to the real
// service program on a database of its own.
//
// Three accounts exist besides the demo account: the other account (kOther), whose values no
// reply may ever carry; the attacker (kAttacker), whose session sends most requests; and a second
// account of the attacker (kClaimer), kept without a page name so that it can claim one. Each
// payload gets accounts of its own as well: one registered with the payload as its user name,
// and one each with the payload as its password, phone and registration time.
//
// Every request is checked three ways:
// - the reply: a statement built by the builders is recognised as its own kind (never REFUSED)
//   and answered exactly as the service's rules say for the values it carries: stored (read
//   back from the database), found (the row a lookup answers), or refused with the word of a
//   rule the value breaks; a statement with the payload spliced in by hand, whose value a lone
//   quote ends early, is REFUSED;
// - the database: every table is read before and after the request; only the row and the
//   columns the statement targets may differ, and nothing at all for refusals and queries (a
//   successful sign-in adds its session, leaving ends it, coming online counts the sign-in);
// - the other accounts: no reply contains any of their values.
//
// The rules the answers follow: an account name is 5 to 10 ASCII digits, a phone 11, a page
// name 1 to 30 small ASCII letters and digits (BADNAME otherwise); no value over the length
// limit is taken, and no stored value holds a control character, a line or paragraph
// separator or a reply separator (BADVALUE). The times of registration, coming online and
// upload are the service's own, whatever the statement carries. A write about an account
// needs that account's session, a page name is moved and recorded only by the account that
// holds it (DENIED), and a name in use is TAKEN. A request that breaks several rules is refused
// for one of them.

#include "DemoAccount.h"
#include "ServiceProcess.h"
#include "client/gateway/Gateway.h"
#include "client/gateway/ServiceAddress.h"
#include "client/gateway/XmlHttp.h"
#include "common/Codepage936.h"
#include "common/GatewayProtocol.h"
#include "common/Statements.h"
#include "common/ValueEncoding.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QVariant>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace st = statements;
using namespace std::string_literals;
using K = st::Kind;

namespace {

// The other account: its values must never reach the attacker.
const QString kOther = QStringLiteral("73194628");
const QString kOtherPassword = QStringLiteral("Other-Pass-4417");
const QString kOtherPhone = QStringLiteral("13987654321");
const QString kOtherRegisteredAt = QStringLiteral("2031-07-19 04:56:37");
const QString kOtherSignedInAt = QStringLiteral("2032-02-29 23:11:05");
const QString kOtherPage = QStringLiteral("otherpage7319");
const QString kOtherStyle = QStringLiteral("维多利亚之心VX");
const QString kOtherUploadedAt = QStringLiteral("2033-03-03 03:33:33");
const QString kOtherRemark = QStringLiteral("note-of-the-operator-5510");
const QString kOtherLetter = QStringLiteral("<p>OTHER-LOVE-LETTER-5511 给小美</p>");

const QString kAttacker = QStringLiteral("52013140");
const QString kAttackerPassword = QStringLiteral("Attacker-Pass-0001");
const QString kAttackerPage = QStringLiteral("atkpage");
const QString kClaimer = QStringLiteral("52013141");
const QString kClaimerPassword = QStringLiteral("Claimer-Pass-0002");
// The user a client without a sign-in marks offline when it closes.
const QString kNobody = QStringLiteral("用户名");

constexpr int kMaxValueLength = 200;  // the service's limit for one value
constexpr int kTypedLength = 30;      // the longest value a window of the client takes

QString Q(const std::u16string& s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

// ---------------------------------------------------------------------------------------------
// The payloads.

struct TextFamily {
    const char* name;
    std::vector<std::u16string> values;
};

// Every C0 control code and DEL between two letters, then a few that matter on their own.
std::vector<std::u16string> ControlCharacters() {
    std::vector<std::u16string> out;
    for (char16_t c = 0; c < 0x20; ++c)
        out.push_back(u"a"s + c + u"b");
    out.push_back(u"a"s + char16_t{0x7F} + u"b");
    out.push_back(u"\0"s);
    out.push_back(u"\0' OR '1'='1"s);
    out.push_back(u"52013140\0' --"s);
    out.push_back(u"line one\r\nline two"s);
    out.push_back(u"\x1A"s);
    return out;
}

// The service's limit, one over it, and far over it; with quotes, whose doubling makes the
// statement longer than the value.
std::vector<std::u16string> OverLongValues() {
    return {
        std::u16string(kTypedLength, u'7'),
        std::u16string(kMaxValueLength, u'7'),
        std::u16string(kMaxValueLength + 1, u'7'),
        std::u16string(kMaxValueLength, u'a'),
        std::u16string(kMaxValueLength + 1, u'a'),
        std::u16string(kMaxValueLength - 1, u'a') + u"'",
        std::u16string(kMaxValueLength, u'\''),
        std::u16string(kMaxValueLength + 1, u'\''),
        std::u16string(kMaxValueLength, u'我'),
        std::u16string(10000, u'x'),
        std::u16string(10000, u'9'),
        std::u16string(10000, u'\''),
    };
}

const std::vector<TextFamily>& TextFamilies() {
    static const std::vector<TextFamily> families{
        {"quotes",
         {u"'",
          u"''",
          u"'''",
          u"''''",
          u"\\'",
          u"\\''",
          u"\\\\'",
          u"\\",
          u"`",
          u"\"",
          u"'\"`",
          u"＇",
          u"＂",
          u"‘",
          u"’",
          u"“",
          u"”",
          u"′",
          u"″",
          u"〃",
          u"「」『』",
          u"x'",
          u"'x",
          u"x'y",
          u"it's",
          u"O'Brien",
          u"''x''",
          u"'''x'''",
          u"＇ OR ＇1＇=＇1",
          u"` OR 1=1 --",
          u"\" OR \"\"=\""}},
        {"comments",
         {u"--", u"-- ", u"x'--", u"x' -- ", u"/*", u"*/", u"/**/", u"x'/*", u"*/'", u"#", u"x'#",
          u"x' # ", u"';--", u"'/*!50000UNION*/SELECT", u"--\n'", u"/* ' */"}},
        {"union",
         {u"' UNION SELECT 密码 FROM 用户管理 --",
          u"' union select * from 用户管理 where 用户='73194628",
          u"x' UNION ALL SELECT 1,2,3,4,5,6,7,8,9,10,11,12,13 --",
          u" UNION SELECT sqlite_version()", u"' UNION SELECT token_digest FROM sessions --",
          u"1 UNION SELECT 1", u"') UNION SELECT name FROM sqlite_master --",
          u"' UNION SELECT 手机 FROM 用户管理 WHERE 用户<>'"}},
        {"stacked",
         {u"; DROP TABLE 用户管理; --", u"'; DROP TABLE 用户管理; --",
          u"x'; DELETE FROM 用户管理; --", u"'; UPDATE 用户管理 SET 密码='' --",
          u"'; INSERT INTO sessions VALUES('x','73194628',9999999999); --",
          u"'; ATTACH DATABASE '/tmp/zr-injection' AS x; --", u"'); DROP TABLE pages; --",
          u"'; PRAGMA writable_schema=1; --", u"'; UPDATE 用户管理 SET 文件名='x' WHERE 1=1; --"}},
        {"boolean",
         {u"' OR '1'='1", u"' OR 1=1 --", u"' OR ''='", u"x' AND 0 --", u"' OR 用户 LIKE '%",
          u"1' OR '1'='1' /*", u"admin' --", u"' OR 1=1 LIMIT 1 --", u"') OR ('1'='1",
          u"' OR 用户='73194628' --", u"52013140' OR 用户='73194628",
          u"' OR 文件名='otherpage7319"}},
        {"wildcards",
         {u"%", u"_", u"%%", u"__", u"7319462_", u"7319%", u"%3194628", u"otherpage731_",
          u"otherpage%", u"[a-z]%", u"*", u"\\%", u"%'", u"_' OR 用户 LIKE '_"}},
        {"gbk-text",
         {u"縗'", u"縗\\'", u"縗''", u"乗'", u"丂'", u"縗' OR '1'='1", u"＇＂", u"€'", u"€"}},
        {"control", ControlCharacters()},
        {"over-long", OverLongValues()},
        {"scripts",
         {u"张三",
          u"我爱你一生一世",
          u"心形",
          u"ほげほげ",
          u"カタカナ",
          u"ｱｲｳ",
          u"한국어 텍스트",
          u"Ελληνικά",
          u"Русский",
          u"עברית",
          u"العربية",
          u"\u200Fabc\u200E",
          u"\u202Eevil",
          u"😀",
          u"👨‍👩‍👧",
          u"e\u0301",
          u"\uFEFFbom",
          u"\u00A0nbsp",
          u"\u3000全角空格",
          u"é",
          u"中文English日本語"}},
        {"separators",
         {u"い", u"ゼ", u"いゼ", u"aいb", u"ゼ' OR '1'='1", u"いいい", u"ゼい", u"52013140い"}},
        {"format",
         {u"%s", u"%s%s%s%s%s", u"%n", u"%1", u"%1%2%3", u"%%", u"%d", u"%x", u"{}", u"{0}",
          u"'{}'", u"$1", u"?", u":user", u"@p", u"\\n", u"&amp;", u"<script>alert(1)</script>",
          u"${jndi:ldap://x}"}},
        {"kinds",
         {u"0",
          u"1",
          u"-1",
          u"00000000",
          u"12345678",
          u"4294967296",
          u"9223372036854775808",
          u"-9223372036854775809",
          u"1e308",
          u"3.14",
          u"0x1F",
          u"NaN",
          u"+86 13912345678",
          u"13912345678",
          u"2026-02-14 09:05:03",
          u"2026-02-30 25:61:61",
          u"0000-00-00 00:00:00",
          u"9999-12-31 23:59:59",
          u"1970-01-01",
          u"now()",
          u"datetime('now')",
          u"CURRENT_TIMESTAMP",
          u"abc",
          u"iloveyou2026",
          u"a",
          u"zzzzzzzzzzzzzzzzzzzzzzzzzzzzzz",
          u"ABC",
          u"abc-def",
          u"abc.html",
          u"../etc/passwd",
          u"a/b",
          u"null",
          u"文本切换",
          u"FG2",
          u"",
          u" ",
          u"  x  ",
          u"用户名",  // the user a client without a sign-in marks offline
          u"True",
          u"－1"}},
    };
    return families;
}

// A value piece by piece, as a request body carries it: a text piece goes as the client encodes
// it (its quotes doubled in a built statement), a number piece goes into the body as it stands.
struct Unit {
    QString text;
    QByteArray number;
    bool IsNumber() const { return !number.isNull(); }
};
Unit Text(const char16_t* text) {
    return {QString::fromUtf16(text), {}};
}
Unit Code(int code) {
    return {{}, QByteArray::number(code)};
}
Unit Number(const char* digits) {
    return {{}, QByteArray(digits, static_cast<qsizetype>(std::strlen(digits)))};
}

struct CodedValue {
    const char* what;
    std::vector<Unit> units;
    // What the service must read; none when the statement must be refused with `refusal`.
    std::optional<std::u16string> arrives;
    const char* refusal = "";
};

// Values whose codes the client's table never gives: lead bytes of two-byte characters alone,
// the two bytes of a character as two numbers, two-byte codes whose second byte is a quote,
// and numbers that are no code at all. A quote byte (0x27) is never the second byte of a GBK
// character, so a lead byte cannot take the quote that follows it away; a code that smuggles a
// quote byte of its own leaves that quote undoubled and the statement unrecognised.
const std::vector<CodedValue>& CodedValues() {
    static const std::vector<CodedValue> values{
        {"lead byte 0xBF before a quote", {Code(0xBF), Text(u"' OR '1'='1")}, u"\uFFFD' OR '1'='1"},
        {"lead byte 0x81 before a quote", {Code(0x81), Text(u"'--")}, u"\uFFFD'--"},
        {"lead byte 0xFE before a quote", {Text(u"x"), Code(0xFE), Text(u"'")}, u"x\uFFFD'"},
        {"lead byte 0xA3 before a quote", {Code(0xA3), Text(u"' OR 1=1 --")}, u"\uFFFD' OR 1=1 --"},
        {"lead byte 0xBF before the closing quote", {Text(u"abc"), Code(0xBF)}, u"abc\uFFFD"},
        {"lead byte 0x81 alone", {Code(0x81)}, u"\uFFFD"},
        {"啊 as two one-byte numbers, then a quote", {Code(0xB0), Code(0xA1), Text(u"'")}, u"啊'"},
        {"full-width quote as two one-byte numbers", {Code(0xA3), Code(0xA7)}, u"＇"},
        {"縗 (0xBF 0x5C) as two numbers, then a quote",
         {Code(0xBF), Code(0x5C), Text(u"'")},
         u"縗'"},
        {"bytes 0x80 0x00 from one code", {Number("-32768")}, u"€\0"s},
        {"code 0xBF27: second byte a quote",
         {Text(u"a"), Code(0xBF27 - 65536), Text(u" OR 1=1 --")},
         std::nullopt,
         "REFUSED"},
        {"code 0x8127 in place of the closing quote",
         {Code(0x8127 - 65536)},
         std::nullopt,
         "REFUSED"},
        {"code 0xA327 before a stacked statement",
         {Code(0xA327 - 65536), Text(u"; DROP TABLE 用户管理; --")},
         std::nullopt,
         "REFUSED"},
        {"number 256, no byte", {Text(u"a"), Number("256"), Text(u"'")}, std::nullopt, "BADNUMBER"},
        {"number -0", {Number("-0")}, std::nullopt, "BADNUMBER"},
        {"number -32769", {Number("-32769")}, std::nullopt, "BADNUMBER"},
        {"an empty number", {Text(u"a"), Number(""), Text(u"b")}, std::nullopt, "BADNUMBER"},
    };
    return values;
}

struct Payload {
    std::string family;
    std::string label;        // for messages
    QString text;             // text payloads: the value as the builders take it
    std::vector<Unit> units;  // coded payloads
    std::optional<QString> arrives;
    QString refusal;  // when nothing arrives

    bool Coded() const { return !units.empty(); }
};

std::string Printable(const QString& text) {
    QString out;
    for (QChar c : text.left(48)) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    if (text.size() > 48)
        out += QStringLiteral("…(%1)").arg(text.size());
    return out.toStdString();
}

// The text the service reads from what the client sends: code page 936 holds no emoji, no
// right-to-left marks, no combining marks; the client sends "?" for each of their units.
QString AsSent(const QString& text) {
    return cp936::Decode(cp936::Encode(text));
}

std::vector<Payload> Corpus() {
    std::vector<Payload> out;
    for (const TextFamily& family : TextFamilies()) {
        for (const std::u16string& value : family.values) {
            Payload p;
            p.family = family.name;
            p.text = Q(value);
            p.label = family.name + " «"s + Printable(p.text) + "»";
            p.arrives = AsSent(p.text);
            out.push_back(p);
        }
    }
    for (const CodedValue& value : CodedValues()) {
        Payload p;
        p.family = "gbk-codes";
        p.label = "gbk-codes " + std::string(value.what);
        p.units = value.units;
        if (value.arrives)
            p.arrives = Q(*value.arrives);
        p.refusal = QLatin1String(value.refusal);
        out.push_back(p);
    }
    return out;
}

std::vector<std::string> FamilyNames() {
    std::vector<std::string> names;
    for (const TextFamily& family : TextFamilies())
        names.push_back(family.name);
    names.push_back("gbk-codes");
    return names;
}

// True when a value written between quotes without doubling its own would end early: a run of
// quotes of odd length.
bool HasLoneQuote(const QString& text) {
    int run = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] == QLatin1Char('\'')) {
            ++run;
            continue;
        }
        if (run % 2 == 1)
            return true;
        run = 0;
    }
    return false;
}

bool HasLoneQuote(const Payload& p) {
    if (!p.Coded())
        return HasLoneQuote(p.text);
    for (const Unit& u : p.units) {
        if (!u.IsNumber() && HasLoneQuote(u.text))
            return true;
    }
    return false;
}

// The service's rules for values, written out here on their own.
bool AllDigits(const QString& text) {
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}
bool ValidAccountName(const QString& text) {
    return text.size() >= 5 && text.size() <= 10 && AllDigits(text);
}
bool ValidPhone(const QString& text) {
    return text.size() == 11 && AllDigits(text);
}
bool ValidPageName(const QString& text) {
    if (text.isEmpty() || text.size() > 30)
        return false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z')))
            return false;
    }
    return true;
}
// No control character (C0, DEL, C1), no line or paragraph separator, no reply separator.
bool Storable(const QString& text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029 || u == u'い' ||
            u == u'ゼ')
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// The statements.

QString Built(K kind, const QStringList& v) {
    switch (kind) {
        case K::SelectSystemSettings:
            return st::SelectSystemSettings();
        case K::SelectAdvertImages:
            return st::SelectAdvertImages();
        case K::SelectAdvertLinks:
            return st::SelectAdvertLinks();
        case K::MarkOffline:
            return st::MarkOffline(v[0]);
        case K::SignInLookup:
            return st::SignInLookup(v[0], v[1]);
        case K::MarkOnline:
            return st::MarkOnline(v[0], v[1]);
        case K::RegistrationLookup:
            return st::RegistrationLookup(v[0]);
        case K::RegistrationInsert:
            return st::RegistrationInsert(v[0], v[1], v[2], v[3]);
        case K::PageNameLookup:
            return st::PageNameLookup(v[0]);
        case K::ClaimPageName:
            return st::ClaimPageName(v[0], v[1], v[2]);
        case K::RecordUpload:
            return st::RecordUpload(v[0], v[1], v[2]);
        case K::RenameLookup:
            return st::RenameLookup(v[0]);
        case K::RenamePageName:
            return st::RenamePageName(v[0], v[1]);
    }
    return {};
}

struct SlotInfo {
    const char* name;
};

std::vector<SlotInfo> SlotsOf(K kind) {
    const SlotInfo user{"user"}, password{"password"}, time{"time"}, phone{"phone"},
        page{"page name"}, style{"page style"}, newName{"new name"}, oldName{"old name"};
    switch (kind) {
        case K::MarkOffline:
        case K::RegistrationLookup:
            return {user};
        case K::SignInLookup:
            return {user, password};
        case K::MarkOnline:
            return {time, user};
        case K::RegistrationInsert:
            return {user, password, phone, time};
        case K::PageNameLookup:
            return {page};
        case K::ClaimPageName:
            return {page, style, user};
        case K::RecordUpload:
            return {style, time, page};
        case K::RenameLookup:
            return {newName};
        case K::RenamePageName:
            return {newName, oldName};
        default:
            return {};
    }
}

// The attacker's own values for every statement, the ones a payload does not take the place of.
QStringList AttackerValues(K kind) {
    const QString time = QStringLiteral("2026-05-20 13:14:00");
    switch (kind) {
        case K::MarkOffline:
        case K::RegistrationLookup:
            return {kAttacker};
        case K::SignInLookup:
            return {kAttacker, kAttackerPassword};
        case K::MarkOnline:
            return {time, kAttacker};
        case K::RegistrationInsert:
            return {QStringLiteral("97770001"), QStringLiteral("pw"), QStringLiteral("13900009777"),
                    time};
        case K::PageNameLookup:
        case K::RenameLookup:
            return {kAttackerPage};
        case K::ClaimPageName:
            return {kAttackerPage, QStringLiteral("心形"), kAttacker};
        case K::RecordUpload:
            return {QStringLiteral("心形"), time, kAttackerPage};
        case K::RenamePageName:
            return {kAttackerPage, kAttackerPage};
        default:
            return {};
    }
}

// ---------------------------------------------------------------------------------------------
// The database, every table of it.

using Row = std::map<QString, QString>;  // column -> value with its type: "text:…", "int:…"
using Table = std::map<qint64, Row>;     // by rowid
using Snapshot = std::map<QString, Table>;

QString Tagged(const QVariant& v) {
    if (v.isNull())
        return QStringLiteral("null");
    switch (v.typeId()) {
        case QMetaType::QByteArray:
            return QStringLiteral("blob:") + QString::fromLatin1(v.toByteArray().toHex());
        case QMetaType::Int:
        case QMetaType::LongLong:
            return QStringLiteral("int:") + QString::number(v.toLongLong());
        case QMetaType::Double:
            return QStringLiteral("real:") + QString::number(v.toDouble(), 'g', 17);
        default:
            return QStringLiteral("text:") + v.toString();
    }
}
QString T(const QString& text) {
    return QStringLiteral("text:") + text;
}
QString I(qint64 n) {
    return QStringLiteral("int:") + QString::number(n);
}

const QString kUsers = QStringLiteral("用户管理");
const QString kSessions = QStringLiteral("sessions");

// A connection of the test's own to the service's database (WAL: it reads what the service
// has committed, which is everything of a request that has been answered).
class Database {
public:
    ~Database() {
        if (name_.isEmpty())
            return;
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }

    bool Open(const QString& path) {
        name_ = QStringLiteral("zr-injection-corpus");
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        if (!db.open())
            return false;
        // The test's own writes (the cleanup between rounds) need not reach the disk.
        QSqlQuery q(db);
        return q.exec(QStringLiteral("PRAGMA synchronous=OFF"));
    }

    Snapshot Read() {
        Snapshot out;
        QStringList tables;
        {
            QSqlQuery q(QSqlDatabase::database(name_, false));
            if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'")))
                return out;
            while (q.next())
                tables << q.value(0).toString();
        }
        tables << QStringLiteral("sqlite_master");
        for (const QString& table : tables) {
            QSqlQuery q(QSqlDatabase::database(name_, false));
            QString quoted = table;
            quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
            if (!q.exec(QStringLiteral("SELECT rowid AS zr_rowid, * FROM \"%1\"").arg(quoted))) {
                out[table];
                continue;
            }
            Table& rows = out[table];
            const QSqlRecord record = q.record();
            while (q.next()) {
                Row row;
                for (int i = 1; i < record.count(); ++i)
                    row[record.fieldName(i)] = Tagged(q.value(i));
                rows[q.value(0).toLongLong()] = std::move(row);
            }
        }
        return out;
    }

    void Run(const QString& sql, const QVariantList& values) {
        QSqlQuery q(QSqlDatabase::database(name_, false));
        q.prepare(sql);
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values[i]);
        EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
    }

private:
    QString name_;
};

const Row* UserRowIn(const Snapshot& s, const QString& column, const QString& value) {
    const auto table = s.find(kUsers);
    if (table == s.end())
        return nullptr;
    for (const auto& [id, row] : table->second) {
        const auto it = row.find(column);
        if (it != row.end() && it->second == T(value))
            return &row;
    }
    return nullptr;
}
const Row* UserRow(const Snapshot& s, const QString& user) {
    return UserRowIn(s, QStringLiteral("用户"), user);
}
QString Column(const Row* row, const QString& column) {
    if (!row)
        return {};
    const auto it = row->find(column);
    return it == row->end() ? QString() : it->second;
}
QString Column(const Row* row, const char* column) {
    return Column(row, QString::fromUtf8(column));
}
// The text of a text column (without its "text:").
QString TextOf(const Row* row, const char* column) {
    return Column(row, column).mid(5);
}
// The number of an integer column (0 without the row).
qint64 IntOf(const Row* row, const char* column) {
    return Column(row, column).mid(4).toLongLong();
}

struct Change {
    QString table;
    qint64 rowid = 0;
    QString column;  // empty: the whole row came or went
    const Row* before = nullptr;
    const Row* after = nullptr;
};

std::vector<Change> Differences(const Snapshot& before, const Snapshot& after) {
    std::vector<Change> out;
    static const Table kNone;
    std::set<QString> names;
    for (const auto& [name, rows] : before)
        names.insert(name);
    for (const auto& [name, rows] : after)
        names.insert(name);
    for (const QString& name : names) {
        const auto b = before.find(name);
        const auto a = after.find(name);
        const Table& rb = b == before.end() ? kNone : b->second;
        const Table& ra = a == after.end() ? kNone : a->second;
        std::set<qint64> ids;
        for (const auto& [id, row] : rb)
            ids.insert(id);
        for (const auto& [id, row] : ra)
            ids.insert(id);
        for (qint64 id : ids) {
            const auto rowB = rb.find(id);
            const auto rowA = ra.find(id);
            const Row* pb = rowB == rb.end() ? nullptr : &rowB->second;
            const Row* pa = rowA == ra.end() ? nullptr : &rowA->second;
            if (!pb || !pa) {
                out.push_back({name, id, {}, pb, pa});
                continue;
            }
            std::set<QString> columns;
            for (const auto& [c, v] : *pb)
                columns.insert(c);
            for (const auto& [c, v] : *pa)
                columns.insert(c);
            for (const QString& c : columns) {
                if (Column(pb, c) != Column(pa, c))
                    out.push_back({name, id, c, pb, pa});
            }
        }
    }
    return out;
}

std::string Describe(const Change& c) {
    auto rowText = [](const Row* row) {
        QStringList fields;
        if (row) {
            for (const auto& [column, value] : *row)
                fields << column + QLatin1Char('=') + value.left(40);
        }
        return fields.join(QLatin1Char(' '));
    };
    QString text = c.table + QStringLiteral(" row %1").arg(c.rowid);
    if (c.column.isEmpty()) {
        text += c.before ? QStringLiteral(" removed: ") + rowText(c.before)
                         : QStringLiteral(" added: ") + rowText(c.after);
    } else {
        text += QStringLiteral(" %1: %2 -> %3")
                    .arg(c.column, Column(c.before, c.column).left(60),
                         Column(c.after, c.column).left(60));
    }
    return Printable(text.left(400));
}

// The value a time column holds when the service wrote its own clock there: a time of the
// form "YYYY-MM-DD HH:MM:SS" between the request's sending and its answer.
const QString kServiceTime = QStringLiteral("the service's time");

// What a request that succeeds may change, and must.
struct Effect {
    enum class What { Columns, NewUser, NewSession, EndedSession } what;
    QString user;
    // column -> value it must hold after (tagged, or kServiceTime)
    std::vector<std::pair<QString, QString>> columns;

    bool Covers(const Change& c) const {
        switch (what) {
            case What::Columns:
                if (c.table != kUsers || c.column.isEmpty() || Column(c.before, "用户") != T(user))
                    return false;
                for (const auto& [column, value] : columns) {
                    if (column == c.column)
                        return true;
                }
                return false;
            case What::NewUser:
                return c.table == kUsers && !c.before && Column(c.after, "用户") == T(user);
            case What::NewSession:
                return c.table == kSessions && !c.before && Column(c.after, "user_name") == T(user);
            case What::EndedSession:
                return c.table == kSessions && !c.after && Column(c.before, "user_name") == T(user);
        }
        return false;
    }
};

Effect Columns(const QString& user, std::vector<std::pair<QString, QString>> columns) {
    return {Effect::What::Columns, user, std::move(columns)};
}

// How the service must answer a request: when it breaks none of the rules, "OK" with exactly
// the effects; else one of the refusal words of the rules it breaks, with nothing changed.
struct Verdict {
    QStringList refusals;
    std::vector<Effect> effects;

    Verdict& Breaks(bool broken, const char* word) {
        const QString w = QLatin1String(word);
        if (broken && !refusals.contains(w))
            refusals << w;
        return *this;
    }
    Verdict& Means(std::vector<Effect> e) {
        effects = std::move(e);
        return *this;
    }
    bool Accepted() const { return refusals.isEmpty(); }
};

// ---------------------------------------------------------------------------------------------
// The test.

struct Sent {
    QString reply;
    bool delivered = false;
    std::shared_ptr<const Snapshot> before, after;
    std::vector<Change> changes;
    std::string where;  // slot and payload, for messages
    std::string check;  // the slot, to count faults by
    // A value of the statement, as the service reads it, is longer than the service takes.
    bool overLimit = false;
    // The request went out after this second and was answered by the end of this one.
    qint64 sentAfter = 0, answeredBy = 0;

    bool Rows() const { return reply.startsWith(QString::fromUtf16(gateway::kRecordSeparator)); }
};

enum class Form { Built, Unescaped };

class InjectionCorpus : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override;
    void TearDown() override;

    void Round(const Payload& p, int index);
    void RefusedEverywhere(const Payload& p, Form form, const QString& word);
    void Cleanup();

    Sent Send(K kind, QStringList values, int slot, const Payload* p, Form form = Form::Built);
    Sent SendText(K kind, const QStringList& values, const std::string& what);
    Sent SendRaw(K kind, const QString& statement, const std::string& what);
    Sent Finish(Sent s, const xmlhttp::PostReply& reply);

    // Checks of one reply.
    void ExpectWord(const Sent& s, const QStringList& words);
    void ExpectRefused(const Sent& s, const QStringList& words);
    bool Expect(const Sent& s, const Verdict& verdict);
    bool ExpectRegistration(const Sent& s, const QString& user, const QString& password,
                            const QString& phone);
    void ExpectUserLookup(const Sent& s, const QString& user);
    void ExpectPageLookup(const Sent& s, const QString& pageName);
    bool ExpectSignIn(const Sent& s, const QString& user, const QString& password);
    void ExpectUnchanged(const Sent& s);
    void ExpectOnlyEffects(const Sent& s, const std::vector<Effect>& effects);
    std::optional<QStringList> OneRow(const Sent& s, bool expected);
    bool LookupAnswered(const Sent& s);

    void Fault(const Sent& s, const std::string& what);
    void UseSession(const QList<QNetworkCookie>& cookies, const QString& user);
    QList<QNetworkCookie> Cookies() const;
    QString SessionPageName(const Snapshot& s) const;
    bool SignedInAs(const QString& user) const {
        return !sessionUser_.isNull() && sessionUser_ == user;
    }
    bool HeldByOther(const Snapshot& s, const QString& pageName) const;
    bool OwnPage(const Snapshot& s, const QString& pageName) const {
        return !pageName.isEmpty() && SessionPageName(s) == pageName;
    }

    std::unique_ptr<ServiceProcess> service_;
    Database db_;
    std::shared_ptr<const Snapshot> current_;
    std::map<QString, QString> passwords_;  // the accounts the test made, with their passwords
    QStringList roundAccounts_;
    QList<QNetworkCookie> attackerSession_, claimerSession_;
    QString sessionUser_;
    QStringList secrets_;  // values of the other accounts no reply may contain
    QStringList names_;    // names of the other accounts no reply field may be
    Snapshot initial_;
    int requests_ = 0;
    qint64 lastAnswer_ = 0;  // the second of the last answer
    bool dead_ = false;
    std::map<std::string, int> faults_;
};

void InjectionCorpus::SetUp() {
    // Thousands of lookups, sign-ins and registrations from one address, and failed sign-ins
    // of the same few accounts: no limit may get in the way.
    ServiceProcess::Options options;
    options.signInPerMinute = 0;
    options.registrationPerMinute = 0;
    options.lookupsPerMinute = 0;
    options.failuresPerAddress = 0;
    service_ = std::make_unique<ServiceProcess>(options);
    ASSERT_TRUE(service_->Start()) << service_->Error().toStdString();
    ASSERT_TRUE(service::SetAddress(service_->Url()));
    ASSERT_TRUE(db_.Open(service_->DatabasePath()));

    // The other account, as its own client makes it: registered, signed in, online, with a
    // page name, an uploaded page and the record of it; the operator's note on it.
    UseSession({}, {});
    ASSERT_EQ(gateway::Execute(
                  st::RegistrationInsert(kOther, kOtherPassword, kOtherPhone, kOtherRegisteredAt))
                  .text,
              "OK");
    ASSERT_EQ(gateway::Query(st::SignInLookup(kOther, kOtherPassword))
                  .Fields(1)
                  .value_or(QStringList())
                  .size(),
              13);
    ASSERT_EQ(gateway::Execute(st::MarkOnline(kOtherSignedInAt, kOther)).text, "OK");
    ASSERT_EQ(gateway::Execute(st::ClaimPageName(kOtherPage, u"心形", kOther)).text, "OK");
    ASSERT_EQ(gateway::UploadPage(kOtherPage, kOtherLetter).text, "OK");
    ASSERT_EQ(gateway::Execute(st::RecordUpload(kOtherStyle, kOtherUploadedAt, kOtherPage)).text,
              "OK");
    db_.Run(QStringLiteral("UPDATE 用户管理 SET 备注=? WHERE 用户=?"), {kOtherRemark, kOther});
    // The service wrote its own times; the other account's are set apart from every time of
    // this run (a registration long ago), so that a reply that carries them is told.
    db_.Run(QStringLiteral("UPDATE 用户管理 SET 注册时间=?,上次登陆时间=?,上传时间=? WHERE 用户=?"),
            {kOtherRegisteredAt, kOtherSignedInAt, kOtherUploadedAt, kOther});

    // The attacker and its second account, each with a session of its own.
    for (const auto& [user, password] :
         {std::pair{kAttacker, kAttackerPassword}, std::pair{kClaimer, kClaimerPassword}}) {
        UseSession({}, {});
        ASSERT_EQ(gateway::Execute(st::RegistrationInsert(user, password, u"13900000000",
                                                          u"2026-01-01 00:00:00"))
                      .text,
                  "OK");
        ASSERT_EQ(gateway::Query(st::SignInLookup(user, password))
                      .Fields(1)
                      .value_or(QStringList())
                      .size(),
                  13);
        ASSERT_EQ(gateway::Execute(st::MarkOnline(u"2026-01-01 00:00:01", user)).text, "OK");
        (user == kAttacker ? attackerSession_ : claimerSession_) = Cookies();
    }
    ASSERT_FALSE(attackerSession_.isEmpty());
    UseSession(attackerSession_, kAttacker);
    ASSERT_EQ(gateway::Execute(st::ClaimPageName(kAttackerPage, u"心形", kAttacker)).text, "OK");
    passwords_ = {{kOther, kOtherPassword},
                  {kAttacker, kAttackerPassword},
                  {kClaimer, kClaimerPassword},
                  {kDemoUser, kDemoPassword}};

    // What no reply may carry: the password hashes, phones and sessions of the other account
    // and of the demo account, the other account's times, style, note and page.
    initial_ = db_.Read();
    for (const QString& user : {kOther, kDemoUser}) {
        const Row* row = UserRow(initial_, user);
        ASSERT_TRUE(row);
        const QString hash = TextOf(row, "密码");
        ASSERT_TRUE(hash.startsWith(QLatin1String("$argon2id$"))) << hash.toStdString();
        secrets_ << hash << hash.section(QLatin1Char('$'), -1)
                 << hash.section(QLatin1Char('$'), -2, -2) << TextOf(row, "手机");
        names_ << user;
    }
    secrets_ << kOtherRegisteredAt << kOtherSignedInAt << kOtherStyle << kOtherUploadedAt
             << kOtherRemark << QStringLiteral("OTHER-LOVE-LETTER-5511");
    names_ << kOtherPage;
    int otherSessions = 0;
    for (const auto& [id, row] : initial_.at(kSessions)) {
        if (Column(&row, "user_name") == T(kOther)) {
            secrets_ << TextOf(&row, "token_digest");
            ++otherSessions;
        }
    }
    ASSERT_EQ(otherSessions, 1);
    {
        const Row* other = UserRow(initial_, kOther);
        ASSERT_EQ(TextOf(other, "注册时间"), kOtherRegisteredAt);
        ASSERT_EQ(TextOf(other, "上传时间"), kOtherUploadedAt);
        ASSERT_EQ(TextOf(other, "页面风格"), kOtherStyle);
    }
    current_ = std::make_shared<const Snapshot>(initial_);
    lastAnswer_ = QDateTime::currentSecsSinceEpoch();
}

void InjectionCorpus::TearDown() {
    for (const auto& [check, count] : faults_) {
        if (count > 3)
            ADD_FAILURE() << check << ": " << count << " faults in all";
    }
    xmlhttp::Manager().clearConnectionCache();
    if (service_ && !service_->IsRunning() && !dead_)
        ADD_FAILURE() << "the service is gone: "
                      << service_->ErrorOutput().right(2000).toStdString();
    service_.reset();
}

void InjectionCorpus::Fault(const Sent& s, const std::string& what) {
    const int n = ++faults_[s.check];
    if (n <= 3)
        ADD_FAILURE() << s.where << ": " << what;
}

QList<QNetworkCookie> InjectionCorpus::Cookies() const {
    return xmlhttp::Manager().cookieJar()->cookiesForUrl(QUrl(service::GatewayAddress()));
}

void InjectionCorpus::UseSession(const QList<QNetworkCookie>& cookies, const QString& user) {
    auto* jar = new QNetworkCookieJar(static_cast<QObject*>(&xmlhttp::Manager()));
    if (!cookies.isEmpty())
        jar->setCookiesFromUrl(cookies, QUrl(service::GatewayAddress()));
    xmlhttp::Manager().setCookieJar(jar);
    sessionUser_ = user;
}

QString InjectionCorpus::SessionPageName(const Snapshot& s) const {
    if (sessionUser_.isNull())
        return {};
    return TextOf(UserRow(s, sessionUser_), "文件名");
}

bool InjectionCorpus::HeldByOther(const Snapshot& s, const QString& pageName) const {
    const Row* holder = UserRowIn(s, QStringLiteral("文件名"), pageName);
    return holder && !pageName.isEmpty() && Column(holder, "用户") != T(sessionUser_);
}

// ---- sending

Sent InjectionCorpus::Send(K kind, QStringList values, int slot, const Payload* p, Form form) {
    const std::vector<SlotInfo> slotInfo = SlotsOf(kind);
    Sent s;
    s.check = std::string(st::ShapeOf(kind).name) + " " + slotInfo[static_cast<size_t>(slot)].name +
              (form == Form::Unescaped ? " (unescaped)" : "");
    s.where = s.check + " <- " + p->label;
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QString value = i == slot ? p->arrives.value_or(QString()) : AsSent(values[i]);
        s.overLimit = s.overLimit || value.size() > kMaxValueLength;
    }
    const bool query = st::ShapeOf(kind).query;
    const auto code = query ? gateway::Command::Query : gateway::Command::Execute;

    if (!p->Coded()) {
        if (form == Form::Built) {
            values[slot] = p->text;
            const QString statement = Built(kind, values);
            if (query) {
                const gateway::QueryReply reply = gateway::Query(statement);
                xmlhttp::PostReply joined{
                    reply.records.join(QString::fromUtf16(gateway::kRecordSeparator)),
                    reply.delivered};
                return Finish(std::move(s), joined);
            }
            return Finish(std::move(s), gateway::Execute(statement));
        }
        // By hand around the builders: the statement with a mark in the slot, the mark then
        // replaced by the payload as it stands.
        const QString mark = QStringLiteral("\u4E00MARK\u4E00");
        values[slot] = mark;
        QString statement = Built(kind, values);
        statement.replace(mark, p->text);
        if (query) {
            const gateway::QueryReply reply = gateway::Query(statement);
            return Finish(std::move(s),
                          {reply.records.join(QString::fromUtf16(gateway::kRecordSeparator)),
                           reply.delivered});
        }
        return Finish(std::move(s), gateway::Execute(statement));
    }

    // A coded value: the body as the client builds it, with the value's numbers put in by hand.
    const QString mark = QStringLiteral("\u4E00MARK\u4E00");
    values[slot] = mark;
    const QString statement = Built(kind, values);
    const qsizetype at = statement.indexOf(mark);
    QByteArray body = gateway::StatementBody(code, statement.left(at));
    for (const Unit& u : p->units) {
        if (u.IsNumber()) {
            body += 'A' + u.number;
            continue;
        }
        QString text = u.text;
        if (form == Form::Built)
            text.replace(QLatin1String("'"), QLatin1String("''"));
        for (QChar c : text)
            body += 'A' + EncodeValue(QStringView(&c, 1)).toLatin1();
    }
    body += 'A' + EncodeValue(statement.mid(at + mark.size())).toLatin1();
    return Finish(std::move(s), gateway::Send(body));
}

Sent InjectionCorpus::SendText(K kind, const QStringList& values, const std::string& what) {
    Sent s;
    s.check = std::string(st::ShapeOf(kind).name) + " " + what;
    s.where = s.check + " <- " + Printable(values.join(QLatin1String(" | ")));
    for (const QString& value : values)
        s.overLimit = s.overLimit || AsSent(value).size() > kMaxValueLength;
    const QString statement = Built(kind, values);
    if (st::ShapeOf(kind).query) {
        const gateway::QueryReply reply = gateway::Query(statement);
        return Finish(
            std::move(s),
            {reply.records.join(QString::fromUtf16(gateway::kRecordSeparator)), reply.delivered});
    }
    return Finish(std::move(s), gateway::Execute(statement));
}

Sent InjectionCorpus::SendRaw(K kind, const QString& statement, const std::string& what) {
    Sent s;
    s.check = std::string(st::ShapeOf(kind).name) + " followed by a payload";
    s.where = s.check + " <- " + what;
    const gateway::QueryReply reply = gateway::Query(statement);
    return Finish(std::move(s), {reply.records.join(QString::fromUtf16(gateway::kRecordSeparator)),
                                 reply.delivered});
}

Sent InjectionCorpus::Finish(Sent s, const xmlhttp::PostReply& reply) {
    ++requests_;
    s.sentAfter = lastAnswer_;
    s.answeredBy = lastAnswer_ = QDateTime::currentSecsSinceEpoch();
    s.reply = reply.text;
    s.delivered = reply.delivered;
    s.before = current_;
    current_ = std::make_shared<const Snapshot>(db_.Read());
    s.after = current_;
    s.changes = Differences(*s.before, *s.after);
    if (!s.delivered) {
        Fault(s, "no reply delivered");
        if (!service_->IsRunning()) {
            dead_ = true;
            ADD_FAILURE() << s.where << ": the service ended: "
                          << service_->ErrorOutput().right(2000).toStdString();
        }
    }
    if (s.reply == QLatin1String("FAILED"))
        Fault(s, "the database failed (500)");
    // The other accounts' values, in any reply.
    for (const QString& secret : secrets_) {
        if (!secret.isEmpty() && s.reply.contains(secret))
            Fault(s, "the reply carries another account's value " + Printable(secret));
    }
    const QStringList fields = s.reply.split(QRegularExpression(QStringLiteral("[いゼ]")));
    for (const QString& field : fields) {
        if (names_.contains(field))
            Fault(s, "the reply carries another account's name " + Printable(field));
    }
    return s;
}

// ---- checks

void InjectionCorpus::ExpectUnchanged(const Sent& s) {
    for (const Change& c : s.changes)
        Fault(s, "the database changed: " + Describe(c));
}

// A time the service wrote while it handled the request.
bool IsServiceTime(const Sent& s, const QString& stored) {
    static const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    if (!stored.startsWith(QLatin1String("text:")))
        return false;
    const QString text = stored.mid(5);
    const QDateTime at = QDateTime::fromString(text, format);
    if (!at.isValid() || at.toString(format) != text)
        return false;
    const qint64 second = at.toSecsSinceEpoch();
    return second >= s.sentAfter && second <= s.answeredBy;
}

void InjectionCorpus::ExpectOnlyEffects(const Sent& s, const std::vector<Effect>& effects) {
    for (const Change& c : s.changes) {
        bool covered = false;
        for (const Effect& e : effects)
            covered = covered || e.Covers(c);
        if (!covered)
            Fault(s, "a change the statement does not mean: " + Describe(c));
    }
    for (const Effect& e : effects) {
        switch (e.what) {
            case Effect::What::Columns:
            case Effect::What::NewUser: {
                const Row* row = UserRow(*s.after, e.user);
                if (!row) {
                    Fault(s, "no row for " + Printable(e.user) + " after it");
                    break;
                }
                if (e.what == Effect::What::NewUser && UserRow(*s.before, e.user))
                    Fault(s, "the account was there before");
                for (const auto& [column, value] : e.columns) {
                    const QString stored = Column(row, column);
                    if (value == kServiceTime) {
                        if (!IsServiceTime(s, stored)) {
                            Fault(s, "stored " + column.toStdString() + " is " + Printable(stored) +
                                         ", not the service's time of the request");
                        }
                    } else if (stored != value) {
                        Fault(s, "stored " + column.toStdString() + " is " + Printable(stored) +
                                     ", not " + Printable(value));
                    }
                }
                break;
            }
            case Effect::What::NewSession:
            case Effect::What::EndedSession: {
                int n = 0;
                for (const Change& c : s.changes)
                    n += e.Covers(c) ? 1 : 0;
                if (n != 1)
                    Fault(s, "sessions of the account changed " + std::to_string(n) + " times");
                break;
            }
        }
    }
}

void InjectionCorpus::ExpectWord(const Sent& s, const QStringList& words) {
    if (!words.contains(s.reply)) {
        Fault(s, "answered " + Printable(s.reply.left(120)) + ", not " +
                     words.join(QLatin1Char('/')).toStdString());
    }
}

void InjectionCorpus::ExpectRefused(const Sent& s, const QStringList& words) {
    ExpectWord(s, words);
    ExpectUnchanged(s);
}

bool InjectionCorpus::Expect(const Sent& s, const Verdict& verdict) {
    if (!verdict.Accepted()) {
        ExpectRefused(s, verdict.refusals);
        return false;
    }
    if (s.reply != QLatin1String("OK")) {
        Fault(s, "answered " + Printable(s.reply.left(120)) + ", not OK");
        ExpectUnchanged(s);
        return false;
    }
    ExpectOnlyEffects(s, verdict.effects);
    return true;
}

// A registration: a new row with the service's time and everything else at its start, the
// password kept as a hash. Returns whether the account is there now, as the service made it.
bool InjectionCorpus::ExpectRegistration(const Sent& s, const QString& user,
                                         const QString& password, const QString& phone) {
    Expect(s, Verdict{}
                  .Breaks(s.overLimit, "BADVALUE")
                  .Breaks(!ValidAccountName(user), "BADVALUE")
                  .Breaks(!ValidPhone(phone), "BADVALUE")
                  .Breaks(password.isEmpty() || !Storable(password), "BADVALUE")
                  .Breaks(UserRow(*s.before, user) != nullptr, "TAKEN")
                  .Means({{Effect::What::NewUser,
                           user,
                           {{QStringLiteral("手机"), T(phone)},
                            {QStringLiteral("注册时间"), kServiceTime},
                            {QStringLiteral("是否在线"), T(QStringLiteral("0"))},
                            {QStringLiteral("上次登陆时间"), T({})},
                            {QStringLiteral("文件名"), T({})},
                            {QStringLiteral("页面风格"), T({})},
                            {QStringLiteral("上传时间"), T({})},
                            {QStringLiteral("登陆次数"), I(0)},
                            {QStringLiteral("上传次数"), I(0)},
                            {QStringLiteral("备注"), T({})},
                            {QStringLiteral("是否冻结"), I(0)}}}}));
    // What follows goes by what the service did, so that one wrong answer is one fault.
    const Row* row = UserRow(*s.after, user);
    if (UserRow(*s.before, user) || !row)
        return false;
    roundAccounts_ << user;
    const QString hash = TextOf(row, "密码");
    if (!hash.startsWith(QLatin1String("$argon2id$")) || hash == password)
        Fault(s, "the password is not kept as a hash: " + Printable(hash));
    passwords_[user] = password;
    return true;
}

// The row of a lookup reply: nothing when it has none. A reply that is not rows, or rows that
// are not one row of 13 fields, is a fault.
std::optional<QStringList> InjectionCorpus::OneRow(const Sent& s, bool expected) {
    const QStringList records = gateway::SplitRecords(s.reply);
    if (records.size() != 2 || !records[0].isEmpty()) {
        Fault(s, "not one record: " + Printable(s.reply.left(160)));
        return std::nullopt;
    }
    if (records[1].isEmpty()) {
        if (expected)
            Fault(s, "the row that holds the value was not found");
        return std::nullopt;
    }
    const QStringList fields = gateway::SplitFields(records[1]);
    if (fields.size() != 13)
        Fault(s, "a row of " + std::to_string(fields.size()) + " fields");
    if (!expected)
        Fault(s, "a row where none holds the value: " + Printable(records[1]));
    return fields;
}

// A lookup changes nothing, and a value over the length limit is refused before it.
bool InjectionCorpus::LookupAnswered(const Sent& s) {
    ExpectUnchanged(s);
    if (s.overLimit) {
        ExpectWord(s, {QStringLiteral("BADVALUE")});
        return false;
    }
    if (!s.Rows()) {
        Fault(s, "a lookup was answered " + Printable(s.reply.left(120)));
        return false;
    }
    return true;
}

// Registration lookup: a row, every field of it empty, when the account exists; none otherwise.
void InjectionCorpus::ExpectUserLookup(const Sent& s, const QString& user) {
    if (!LookupAnswered(s))
        return;
    const auto fields = OneRow(s, UserRow(*s.before, user) != nullptr);
    if (fields && fields->join(QString()) != QString())
        Fault(s, "row " + Printable(fields->join(QLatin1Char('|'))));
}

// Page name and rename lookups: the row whose page name is exactly the (non-empty) value, with
// nothing in it but the page name, and the account's name only to the account's own session.
void InjectionCorpus::ExpectPageLookup(const Sent& s, const QString& pageName) {
    if (!LookupAnswered(s))
        return;
    const Row* row =
        pageName.isEmpty() ? nullptr : UserRowIn(*s.before, QStringLiteral("文件名"), pageName);
    const auto fields = OneRow(s, row != nullptr);
    if (!row || !fields || fields->size() != 13)
        return;
    const QString holder = TextOf(row, "用户");
    // The reply travels in code page 936, as every field the client reads.
    QStringList expected(13);
    expected[columns::kUser] = SignedInAs(holder) ? holder : QString();
    expected[columns::kPageName] = AsSent(pageName);
    if (*fields != expected) {
        Fault(s, "row " + Printable(fields->join(QLatin1Char('|'))) + ", not " +
                     Printable(expected.join(QLatin1Char('|'))));
    }
}

// Sign-in lookup: a row, and a session, only for an account the test made with exactly this
// password; the row then is the account's own, with the password as it arrived in place of
// its hash.
bool InjectionCorpus::ExpectSignIn(const Sent& s, const QString& user, const QString& password) {
    const auto known = passwords_.find(user);
    const Row* row = UserRow(*s.before, user);
    const bool match = row && known != passwords_.end() && known->second == password;
    if (s.overLimit) {
        ExpectRefused(s, {QStringLiteral("BADVALUE")});
        return false;
    }
    if (!s.Rows()) {
        Fault(s, "the sign-in was answered " + Printable(s.reply.left(120)));
        ExpectUnchanged(s);
        return false;
    }
    const auto fields = OneRow(s, match);
    if (!match) {
        ExpectUnchanged(s);
        return false;
    }
    ExpectOnlyEffects(s, {{Effect::What::NewSession, user, {}}});
    if (fields && fields->size() == 13) {
        static const char* const kColumns[] = {"用户",     "密码",         "手机",     "注册时间",
                                               "是否在线", "上次登陆时间", "文件名",   "页面风格",
                                               "上传时间", "登陆次数",     "上传次数", "备注"};
        // As the client reads them: the reply travels in code page 936.
        QStringList expected;
        for (const char* column : kColumns)
            expected << AsSent(Column(row, column).section(QLatin1Char(':'), 1));
        expected[1] = AsSent(password);
        expected << (IntOf(row, "是否冻结") ? QStringLiteral("True") : QStringLiteral("False"));
        if (*fields != expected) {
            Fault(s, "row " + Printable(fields->join(QLatin1Char('|'))) + ", not " +
                         Printable(expected.join(QLatin1Char('|'))));
        }
    }
    sessionUser_ = user;
    return true;
}

// ---- the rounds

void InjectionCorpus::RefusedEverywhere(const Payload& p, Form form, const QString& word) {
    for (const st::Shape& shape : st::Catalogue()) {
        for (int slot = 0; slot < shape.values && !dead_; ++slot)
            ExpectRefused(Send(shape.kind, AttackerValues(shape.kind), slot, &p, form), {word});
    }
}

void InjectionCorpus::Round(const Payload& p, int index) {
    // The payload spliced in as it stands, where a lone quote in it ends the value early; a
    // number that is no code spoils the body before any statement is looked at.
    if (HasLoneQuote(p)) {
        RefusedEverywhere(
            p, Form::Unescaped,
            p.refusal == QLatin1String("BADNUMBER") ? p.refusal : QStringLiteral("REFUSED"));
    }
    if (!p.arrives) {
        RefusedEverywhere(p, Form::Built, p.refusal);
        return;
    }
    const QString a = *p.arrives;
    const QString X;  // the payload's slot
    const QString n = QStringLiteral("%1").arg(index, 4, 10, QLatin1Char('0'));
    const QString password = QStringLiteral("Pw-") + n;
    const QString phone = QStringLiteral("1390000") + n;
    const QString time = QStringLiteral("2026-05-20 13:%1:%2")
                             .arg(index / 60 % 60, 2, 10, QLatin1Char('0'))
                             .arg(index % 60, 2, 10, QLatin1Char('0'));
    const QString style = QStringLiteral("文本切换");
    const QString style2 = QStringLiteral("心形");
    const QString pageName = QStringLiteral("pa") + n;
    const QString renamed = QStringLiteral("wn") + n;
    const QString passwordUser = QStringLiteral("911") + n;
    const QString phoneUser = QStringLiteral("912") + n;
    const QString timeUser = QStringLiteral("913") + n;
    const QString online = T(QStringLiteral("－1"));
    const QString kOnline = QStringLiteral("是否在线"),
                  kSignedInAt = QStringLiteral("上次登陆时间"),
                  kSignIns = QStringLiteral("登陆次数"), kPageName = QStringLiteral("文件名"),
                  kStyle = QStringLiteral("页面风格"), kUploadedAt = QStringLiteral("上传时间");
    const bool storable = Storable(a);
    const bool pageNameValid = ValidPageName(a);

    // 1. Registration: the lookup, then the payload as each of the four values. Only an
    // account name makes an account (never the placeholder user 用户名 of a client without a
    // sign-in) and only a phone number a phone; the time sent is never the time stored.
    UseSession(attackerSession_, kAttacker);
    ExpectUserLookup(Send(K::RegistrationLookup, {X}, 0, &p), a);
    ExpectRegistration(Send(K::RegistrationInsert, {X, password, phone, time}, 0, &p), a, password,
                       phone);
    const bool passwordStored = ExpectRegistration(
        Send(K::RegistrationInsert, {passwordUser, X, phone, time}, 1, &p), passwordUser, a, phone);
    ExpectRegistration(Send(K::RegistrationInsert, {phoneUser, password, X, time}, 2, &p),
                       phoneUser, password, a);
    ExpectRegistration(Send(K::RegistrationInsert, {timeUser, password, phone, X}, 3, &p), timeUser,
                       password, phone);
    ExpectUserLookup(Send(K::RegistrationLookup, {X}, 0, &p), a);

    // 2. The payload's own account, if it was stored: signs in, comes online, claims a page name
    // and leaves. Without it these go out in the attacker's session and must be denied.
    ExpectSignIn(Send(K::SignInLookup, {X, password}, 0, &p), a, password);
    {
        const Sent s = Send(K::MarkOnline, {time, X}, 1, &p);
        const qint64 count = IntOf(UserRow(*s.before, a), "登陆次数");
        Expect(s, Verdict{}
                      .Breaks(s.overLimit, "BADVALUE")
                      .Breaks(!SignedInAs(a), "DENIED")
                      .Means({Columns(a, {{kOnline, online},
                                          {kSignedInAt, kServiceTime},
                                          {kSignIns, I(count + 1)}})}));
    }
    {
        const Sent s = Send(K::ClaimPageName, {pageName, style, X}, 2, &p);
        Expect(s, Verdict{}
                      .Breaks(s.overLimit, "BADVALUE")
                      .Breaks(!SignedInAs(a), "DENIED")
                      .Means({Columns(a, {{kPageName, T(pageName)}, {kStyle, T(style)}})}));
    }
    {
        // The placeholder user of a client without a sign-in leaves with nothing to change.
        const Sent s = Send(K::MarkOffline, {X}, 0, &p);
        Verdict verdict;
        if (a != kNobody) {
            verdict.Breaks(s.overLimit, "BADVALUE")
                .Breaks(!SignedInAs(a), "DENIED")
                .Means({Columns(a, {{kOnline, T(QStringLiteral("0"))}}),
                        {Effect::What::EndedSession, a, {}}});
        }
        if (Expect(s, verdict) && SignedInAs(a))
            sessionUser_.clear();
    }

    // 3. The payload as a password: of its own account (exactly: a letter more or less does
    // not sign in), of the other account, and the other account's password with the payload
    // as the user.
    ExpectSignIn(Send(K::SignInLookup, {passwordUser, X}, 1, &p), passwordUser, a);
    if (passwordStored) {
        for (const QString& near : {a + QLatin1Char('x'), a.chopped(a.isEmpty() ? 0 : 1)}) {
            if (near != a) {
                ExpectSignIn(SendText(K::SignInLookup, {passwordUser, near}, "password near miss"),
                             passwordUser, AsSent(near));
            }
        }
    }
    ExpectSignIn(Send(K::SignInLookup, {kOther, X}, 1, &p), kOther, a);
    ExpectSignIn(Send(K::SignInLookup, {X, kOtherPassword}, 0, &p), a, kOtherPassword);

    // 4. The attacker's session: the payload as the time it comes online (the service's own
    // time is stored), then the page name lookups.
    UseSession(attackerSession_, kAttacker);
    {
        const Sent s = Send(K::MarkOnline, {X, kAttacker}, 0, &p);
        const qint64 count = IntOf(UserRow(*s.before, kAttacker), "登陆次数");
        Expect(s, Verdict{}
                      .Breaks(s.overLimit, "BADVALUE")
                      .Means({Columns(kAttacker, {{kOnline, online},
                                                  {kSignedInAt, kServiceTime},
                                                  {kSignIns, I(count + 1)}})}));
    }
    {
        const Sent s = Send(K::MarkOnline, {X, kOther}, 0, &p);
        Expect(s, Verdict{}.Breaks(s.overLimit, "BADVALUE").Breaks(true, "DENIED"));
    }
    ExpectPageLookup(Send(K::PageNameLookup, {X}, 0, &p), a);
    ExpectPageLookup(Send(K::RenameLookup, {X}, 0, &p), a);

    // 5. The second account, without a page name: claims the payload as its name, finds it,
    // records an upload under it and renames it.
    UseSession(claimerSession_, kClaimer);
    {
        const Sent s = Send(K::ClaimPageName, {X, style, kClaimer}, 0, &p);
        Expect(s, Verdict{}
                      .Breaks(s.overLimit, "BADVALUE")
                      .Breaks(!pageNameValid, "BADNAME")
                      .Breaks(HeldByOther(*s.before, a), "TAKEN")
                      .Means({Columns(kClaimer, {{kPageName, T(a)}, {kStyle, T(style)}})}));
    }
    ExpectPageLookup(Send(K::PageNameLookup, {X}, 0, &p), a);
    ExpectPageLookup(Send(K::RenameLookup, {X}, 0, &p), a);
    {
        const Sent s = Send(K::RecordUpload, {style2, time, X}, 2, &p);
        Expect(s,
               Verdict{}
                   .Breaks(s.overLimit, "BADVALUE")
                   .Breaks(!OwnPage(*s.before, a), "DENIED")
                   .Means({Columns(kClaimer, {{kStyle, T(style2)}, {kUploadedAt, kServiceTime}})}));
    }
    {
        const Sent s = Send(K::RenamePageName, {renamed, X}, 1, &p);
        Expect(s, Verdict{}
                      .Breaks(s.overLimit, "BADVALUE")
                      .Breaks(!OwnPage(*s.before, a), "DENIED")
                      .Means({Columns(kClaimer, {{kPageName, T(renamed)}})}));
    }

    // 6. The attacker's page: the payload as its style, its upload time and its new name (and
    // back again under the payload as the old name); the same aimed at the other account's page.
    UseSession(attackerSession_, kAttacker);
    {
        const Sent s = Send(K::ClaimPageName, {kAttackerPage, X, kAttacker}, 1, &p);
        Expect(s,
               Verdict{}
                   .Breaks(s.overLimit || !storable, "BADVALUE")
                   .Means({Columns(kAttacker, {{kPageName, T(kAttackerPage)}, {kStyle, T(a)}})}));
    }
    {
        const Sent s = Send(K::RecordUpload, {X, time, kAttackerPage}, 0, &p);
        Expect(s, Verdict{}
                      .Breaks(s.overLimit || !storable, "BADVALUE")
                      .Breaks(!OwnPage(*s.before, kAttackerPage), "DENIED")
                      .Means({Columns(kAttacker, {{kStyle, T(a)}, {kUploadedAt, kServiceTime}})}));
    }
    {
        const Sent s = Send(K::RecordUpload, {style, X, kAttackerPage}, 1, &p);
        Expect(s,
               Verdict{}
                   .Breaks(s.overLimit, "BADVALUE")
                   .Breaks(!OwnPage(*s.before, kAttackerPage), "DENIED")
                   .Means({Columns(kAttacker, {{kStyle, T(style)}, {kUploadedAt, kServiceTime}})}));
    }
    {
        const Sent s = Send(K::RenamePageName, {X, kAttackerPage}, 0, &p);
        Expect(s, Verdict{}
                      .Breaks(s.overLimit, "BADVALUE")
                      .Breaks(!OwnPage(*s.before, kAttackerPage), "DENIED")
                      .Breaks(!pageNameValid, "BADNAME")
                      .Breaks(HeldByOther(*s.before, a), "TAKEN")
                      .Means({Columns(kAttacker, {{kPageName, T(a)}})}));
    }
    if (SessionPageName(*current_) == a) {
        // The attacker's page under the payload's name, as another account finds it: the name,
        // and nothing of the account that holds it.
        UseSession(claimerSession_, kClaimer);
        ExpectPageLookup(Send(K::PageNameLookup, {X}, 0, &p), a);
        ExpectPageLookup(Send(K::RenameLookup, {X}, 0, &p), a);
        UseSession(attackerSession_, kAttacker);
    }
    {
        const Sent s = Send(K::RenamePageName, {kAttackerPage, X}, 1, &p);
        Expect(s, Verdict{}
                      .Breaks(s.overLimit, "BADVALUE")
                      .Breaks(!OwnPage(*s.before, a), "DENIED")
                      .Means({Columns(kAttacker, {{kPageName, T(kAttackerPage)}})}));
    }
    {
        // The other account's name, which the attacker may neither take nor write under.
        const Sent s = Send(K::ClaimPageName, {kOtherPage, X, kAttacker}, 1, &p);
        Expect(s, Verdict{}
                      .Breaks(s.overLimit || !storable, "BADVALUE")
                      .Breaks(true, "DENIED")
                      .Breaks(true, "TAKEN"));
    }
    {
        const Sent s = Send(K::ClaimPageName, {X, style, kOther}, 0, &p);
        Expect(s, Verdict{}
                      .Breaks(s.overLimit, "BADVALUE")
                      .Breaks(!pageNameValid, "BADNAME")
                      .Breaks(true, "DENIED"));
    }
    {
        const Sent s = Send(K::RecordUpload, {X, time, kOtherPage}, 0, &p);
        Expect(s, Verdict{}.Breaks(s.overLimit || !storable, "BADVALUE").Breaks(true, "DENIED"));
    }
    {
        const Sent s = Send(K::RecordUpload, {style, X, kOtherPage}, 1, &p);
        Expect(s, Verdict{}.Breaks(s.overLimit, "BADVALUE").Breaks(true, "DENIED"));
    }
    {
        const Sent s = Send(K::RenamePageName, {X, kOtherPage}, 0, &p);
        Expect(s, Verdict{}
                      .Breaks(s.overLimit, "BADVALUE")
                      .Breaks(!pageNameValid, "BADNAME")
                      .Breaks(true, "DENIED"));
    }

    // 7. The payload after each statement without values.
    if (!p.Coded() && !p.text.isEmpty()) {
        // A statement longer than any statement can be is refused before it is decoded whole.
        for (K kind : {K::SelectSystemSettings, K::SelectAdvertImages, K::SelectAdvertLinks}) {
            const QString statement = Built(kind, {}) + p.text;
            const bool overLong = statement.size() > st::LongestStatement(kMaxValueLength);
            ExpectRefused(SendRaw(kind, statement, p.label),
                          {overLong ? QStringLiteral("BADVALUE") : QStringLiteral("REFUSED")});
        }
    }
}

// The round's accounts go, and the two of the attacker get their page names back, behind the
// service's back, so that every round starts from the same few rows.
void InjectionCorpus::Cleanup() {
    db_.Run(QStringLiteral("BEGIN IMMEDIATE"), {});
    for (const QString& user : roundAccounts_) {
        db_.Run(QStringLiteral("DELETE FROM sessions WHERE user_name=?"), {user});
        db_.Run(QStringLiteral("DELETE FROM 用户管理 WHERE 用户=?"), {user});
        passwords_.erase(user);
    }
    roundAccounts_.clear();
    db_.Run(QStringLiteral("UPDATE 用户管理 SET 文件名='' WHERE 用户=?"), {kClaimer});
    db_.Run(QStringLiteral("UPDATE 用户管理 SET 文件名=? WHERE 用户=?"),
            {kAttackerPage, kAttacker});
    db_.Run(QStringLiteral("COMMIT"), {});
    current_ = std::make_shared<const Snapshot>(db_.Read());
}

TEST_P(InjectionCorpus, EveryPayloadInEverySlot) {
    std::vector<Payload> payloads;
    for (const Payload& p : Corpus()) {
        if (p.family == GetParam())
            payloads.push_back(p);
    }
    ASSERT_FALSE(payloads.empty());
    // Each payload makes an account named after it and claims a page name: within a family no
    // two may arrive as the same text, nor as a name the test uses itself.
    std::set<QString> seen;
    for (const Payload& p : payloads) {
        if (!p.arrives)
            continue;
        ASSERT_TRUE(seen.insert(*p.arrives).second) << p.label;
        for (const QString& taken :
             {kOther, kAttacker, kClaimer, kDemoUser, kOtherPage, kAttackerPage})
            ASSERT_NE(*p.arrives, taken) << p.label;
    }

    QElapsedTimer timer;
    timer.start();
    for (size_t i = 0; i < payloads.size() && !dead_; ++i) {
        Round(payloads[i], static_cast<int>(i));
        Cleanup();
    }
    ASSERT_FALSE(dead_);

    // The other account and the demo account are as they were, and so is the schema.
    const Snapshot last = db_.Read();
    for (const QString& user : {kOther, kDemoUser}) {
        ASSERT_TRUE(UserRow(last, user));
        EXPECT_EQ(*UserRow(last, user), *UserRow(initial_, user)) << user.toStdString();
    }
    EXPECT_EQ(last.at(QStringLiteral("sqlite_master")),
              initial_.at(QStringLiteral("sqlite_master")));
    EXPECT_EQ(last.at(QStringLiteral("pages")), initial_.at(QStringLiteral("pages")));
    EXPECT_EQ(last.at(QStringLiteral("系统设置")), initial_.at(QStringLiteral("系统设置")));
    EXPECT_EQ(last.at(QStringLiteral("广告管理")), initial_.at(QStringLiteral("广告管理")));
    // Nothing answered with a server error.
    for (const QString& line : service_->LogLines())
        EXPECT_FALSE(line.contains(QLatin1String("\" 500 "))) << line.toStdString();

    std::printf("[ corpus   ] %s: %zu payloads, %d requests, %lld ms\n", GetParam().c_str(),
                payloads.size(), requests_, static_cast<long long>(timer.elapsed()));
}

INSTANTIATE_TEST_SUITE_P(Families, InjectionCorpus, ::testing::ValuesIn(FamilyNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name;
                             for (char c : info.param)
                                 name += c == '-' ? '_' : c;
                             return name;
                         });

// The corpus as a whole: its size, the value slots of every statement of the catalogue, and
// values at, just over and far over the service's length limit.
TEST(InjectionCorpusTable, CoversTheCatalogue) {
    const std::vector<Payload> corpus = Corpus();
    EXPECT_GE(corpus.size(), 200u);
    int slotCount = 0;
    for (const st::Shape& shape : st::Catalogue()) {
        EXPECT_EQ(static_cast<int>(SlotsOf(shape.kind).size()), shape.values) << shape.name;
        EXPECT_EQ(static_cast<int>(AttackerValues(shape.kind).size()), shape.values) << shape.name;
        slotCount += shape.values;
    }
    EXPECT_EQ(slotCount, 20);
    bool atLimit = false, overLimit = false, farOver = false;
    for (const Payload& p : corpus) {
        atLimit = atLimit || p.text.size() == kMaxValueLength;
        overLimit = overLimit || p.text.size() == kMaxValueLength + 1;
        farOver = farOver || p.text.size() == 10000;
    }
    EXPECT_TRUE(atLimit && overLimit && farOver);
    // Values that the rules take as well as ones they turn away, for every kind of slot; and
    // the client's placeholder user, which no registration may take.
    int accountNames = 0, phones = 0, pageNames = 0, unstorable = 0, placeholder = 0;
    for (const Payload& p : corpus) {
        if (!p.arrives)
            continue;
        accountNames += ValidAccountName(*p.arrives) ? 1 : 0;
        phones += ValidPhone(*p.arrives) ? 1 : 0;
        pageNames += ValidPageName(*p.arrives) ? 1 : 0;
        unstorable += Storable(*p.arrives) ? 0 : 1;
        placeholder += *p.arrives == kNobody ? 1 : 0;
    }
    EXPECT_GE(accountNames, 3);
    EXPECT_GE(phones, 1);
    EXPECT_GE(pageNames, 10);
    EXPECT_GE(unstorable, 40);
    EXPECT_EQ(placeholder, 1);
}

}  // namespace
