#include "common/Statements.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <vector>

namespace statements {
namespace {

constexpr char16_t kSlot[] = u"'{}'";

// The texts are exact, blanks and letter case included: "Select" where the sign-in,
// registration and name change write it so, a blank before "=" after 页面风格 and 上传时间
// in the upload record, the full-width "－1" of the online flag.
constexpr bool kQuery = true, kWrite = false;
constexpr int kNoAccount = -1;
constexpr std::array<Shape, 13> kCatalogue{{
    {Kind::SelectSystemSettings, "select-system-settings", u"select * from 系统设置", 0, kQuery,
     kNoAccount},
    {Kind::SelectAdvertImages, "select-advert-images", u"select 广告链接 from 广告管理", 0, kQuery,
     kNoAccount},
    {Kind::SelectAdvertLinks, "select-advert-links", u"select 跳转地址 from 广告管理", 0, kQuery,
     kNoAccount},
    {Kind::MarkOffline, "mark-offline", u"update 用户管理 set 是否在线='0' where 用户='{}'", 1,
     kWrite, 0},
    {Kind::SignInLookup, "sign-in-lookup", u"Select * from 用户管理 where 用户='{}' and 密码='{}'",
     2, kQuery, 0},
    {Kind::MarkOnline, "mark-online",
     u"update 用户管理 set 是否在线='－1',上次登陆时间='{}' where 用户='{}'", 2, kWrite, 1},
    {Kind::RegistrationLookup, "registration-lookup", u"Select * from 用户管理 where 用户='{}'", 1,
     kQuery, 0},
    {Kind::RegistrationInsert, "registration-insert",
     u"insert into 用户管理 (用户,密码,手机,注册时间) values ('{}', '{}', '{}', '{}')", 4, kWrite,
     0},
    {Kind::PageNameLookup, "page-name-lookup", u"select * from 用户管理 where 文件名='{}'", 1,
     kQuery, kNoAccount},
    {Kind::ClaimPageName, "claim-page-name",
     u"update 用户管理 set 文件名='{}',页面风格='{}' where 用户='{}'", 3, kWrite, 2},
    {Kind::RecordUpload, "record-upload",
     u"update 用户管理 set 页面风格 ='{}',上传时间 ='{}' where 文件名='{}'", 3, kWrite, kNoAccount},
    {Kind::RenameLookup, "rename-lookup", u"Select * from 用户管理 where 文件名='{}'", 1, kQuery,
     kNoAccount},
    {Kind::RenamePageName, "rename-page-name", u"update 用户管理 set 文件名='{}' where 文件名='{}'",
     2, kWrite, kNoAccount},
}};

// Each shape stands at the place of its kind, so that ShapeOf is an index.
constexpr bool InKindOrder() {
    for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
        if (static_cast<std::size_t>(kCatalogue[i].kind) != i)
            return false;
    }
    return true;
}
static_assert(InKindOrder(), "the catalogue must list the kinds in the order of Kind");

}  // namespace

std::span<const Shape> Catalogue() {
    return kCatalogue;
}

const Shape& ShapeOf(Kind kind) {
    return kCatalogue[static_cast<size_t>(kind)];
}

QString Build(Kind kind, std::initializer_list<QStringView> values) {
    const Shape& shape = ShapeOf(kind);
    assert(static_cast<int>(values.size()) == shape.values);
    const QStringView text(shape.text);
    const QStringView slot(kSlot);
    QString out;
    out.reserve(text.size() + 16);
    qsizetype pos = 0;
    auto value = values.begin();
    while (true) {
        const qsizetype at = text.indexOf(slot, pos);
        if (at < 0 || value == values.end())
            break;
        out += text.mid(pos, at - pos);
        out += QLatin1Char('\'');
        for (QChar c : *value) {
            out += c;
            if (c == QLatin1Char('\''))
                out += c;
        }
        out += QLatin1Char('\'');
        ++value;
        pos = at + slot.size();
    }
    out += text.mid(pos);
    return out;
}

std::optional<QString> ShapeText(QStringView statement, QStringList* values) {
    QString shape;
    shape.reserve(statement.size());
    const qsizetype n = statement.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (statement[i] != QLatin1Char('\'')) {
            shape += statement[i];
            continue;
        }
        QString value;
        bool closed = false;
        for (++i; i < n; ++i) {
            if (statement[i] == QLatin1Char('\'')) {
                if (i + 1 < n && statement[i + 1] == QLatin1Char('\'')) {
                    value += QLatin1Char('\'');
                    ++i;
                    continue;
                }
                closed = true;
                break;
            }
            value += statement[i];
        }
        if (!closed)
            return std::nullopt;
        shape += QStringView(kSlot);
        if (values)
            values->append(value);
    }
    return shape;
}

namespace {

// A catalogue entry as received statements are compared with it: its shape text, and for
// every quoted value of the template either a slot or a fixed value ('0' of the offline flag,
// '－1' of the online flag) that the statement must carry unchanged.
struct Pattern {
    QString shape;
    QStringList quoted;  // "{}" marks a slot
};

const std::vector<Pattern>& Patterns() {
    static const std::vector<Pattern> patterns = [] {
        std::vector<Pattern> out;
        for (const Shape& s : kCatalogue) {
            Pattern p;
            p.shape = *ShapeText(QStringView(s.text), &p.quoted);
            out.push_back(std::move(p));
        }
        return out;
    }();
    return patterns;
}

}  // namespace

std::optional<Recognised> Recognise(QStringView statement) {
    QStringList quoted;
    const std::optional<QString> shape = ShapeText(statement, &quoted);
    if (!shape)
        return std::nullopt;
    const auto& patterns = Patterns();
    for (size_t i = 0; i < patterns.size(); ++i) {
        const Pattern& p = patterns[i];
        if (p.quoted.size() != quoted.size() || p.shape != *shape)
            continue;
        Recognised result{kCatalogue[i].kind, {}};
        bool fixedMatch = true;
        for (qsizetype k = 0; k < quoted.size(); ++k) {
            if (p.quoted[k] == QLatin1String("{}")) {
                result.values.append(quoted[k]);
            } else if (p.quoted[k] != quoted[k]) {
                fixedMatch = false;
                break;
            }
        }
        if (fixedMatch)
            return result;
    }
    return std::nullopt;
}

qsizetype LongestStatement(qsizetype valueChars) {
    qsizetype longest = 0;
    for (const Shape& shape : kCatalogue) {
        const qsizetype fixed = QStringView(shape.text).size() - shape.values * 2;  // less "{}"
        longest = std::max(longest, fixed + shape.values * 2 * valueChars);
    }
    return longest;
}

QString SelectSystemSettings() {
    return Build(Kind::SelectSystemSettings, {});
}
QString SelectAdvertImages() {
    return Build(Kind::SelectAdvertImages, {});
}
QString SelectAdvertLinks() {
    return Build(Kind::SelectAdvertLinks, {});
}
QString MarkOffline(QStringView user) {
    return Build(Kind::MarkOffline, {user});
}
QString SignInLookup(QStringView user, QStringView password) {
    return Build(Kind::SignInLookup, {user, password});
}
QString MarkOnline(QStringView serverTime, QStringView user) {
    return Build(Kind::MarkOnline, {serverTime, user});
}
QString RegistrationLookup(QStringView user) {
    return Build(Kind::RegistrationLookup, {user});
}
QString RegistrationInsert(QStringView user, QStringView password, QStringView phone,
                           QStringView serverTime) {
    return Build(Kind::RegistrationInsert, {user, password, phone, serverTime});
}
QString PageNameLookup(QStringView pageName) {
    return Build(Kind::PageNameLookup, {pageName});
}
QString ClaimPageName(QStringView pageName, QStringView pageStyle, QStringView user) {
    return Build(Kind::ClaimPageName, {pageName, pageStyle, user});
}
QString RecordUpload(QStringView pageStyle, QStringView serverTime, QStringView pageName) {
    return Build(Kind::RecordUpload, {pageStyle, serverTime, pageName});
}
QString RenameLookup(QStringView newName) {
    return Build(Kind::RenameLookup, {newName});
}
QString RenamePageName(QStringView newName, QStringView oldName) {
    return Build(Kind::RenamePageName, {newName, oldName});
}

QString TrimSpaces(QStringView text) {
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first).toString();
}

}  // namespace statements
