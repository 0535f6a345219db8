#include "common/Statements.h"

#include <gtest/gtest.h>

using namespace statements;

namespace {

TEST(Statements, ExactTexts) {
    EXPECT_EQ(SelectSystemSettings(), QString::fromUtf8("select * from 系统设置"));
    EXPECT_EQ(SelectAdvertImages(), QString::fromUtf8("select 广告链接 from 广告管理"));
    EXPECT_EQ(SelectAdvertLinks(), QString::fromUtf8("select 跳转地址 from 广告管理"));
    EXPECT_EQ(MarkOffline(u"用户名"),
              QString::fromUtf8("update 用户管理 set 是否在线='0' where 用户='用户名'"));
    EXPECT_EQ(SignInLookup(u"12345", u"pw"),
              QString::fromUtf8("Select * from 用户管理 where 用户='12345' and 密码='pw'"));
    EXPECT_EQ(MarkOnline(u"2026-12-09 10:00:00", u"12345"),
              QString::fromUtf8("update 用户管理 set 是否在线='－1',上次登陆时间='2026-12-09 "
                                "10:00:00' where 用户='12345'"));
    EXPECT_EQ(RegistrationLookup(u"12345"),
              QString::fromUtf8("Select * from 用户管理 where 用户='12345'"));
    EXPECT_EQ(RegistrationInsert(u"12345", u"pw", u"13800000000", u"T"),
              QString::fromUtf8("insert into 用户管理 (用户,密码,手机,注册时间) values ('12345', "
                                "'pw', '13800000000', 'T')"));
    EXPECT_EQ(PageNameLookup(u"abc"),
              QString::fromUtf8("select * from 用户管理 where 文件名='abc'"));
    EXPECT_EQ(ClaimPageName(u"abc", u"文本切换效果", u"12345"),
              QString::fromUtf8(
                  "update 用户管理 set 文件名='abc',页面风格='文本切换效果' where 用户='12345'"));
    EXPECT_EQ(
        RecordUpload(u"S", u"T", u"abc"),
        QString::fromUtf8("update 用户管理 set 页面风格 ='S',上传时间 ='T' where 文件名='abc'"));
    EXPECT_EQ(RenameLookup(u"new"), QString::fromUtf8("Select * from 用户管理 where 文件名='new'"));
    EXPECT_EQ(RenamePageName(u"new", u"old"),
              QString::fromUtf8("update 用户管理 set 文件名='new' where 文件名='old'"));
}

// Every value slot of every statement: a quote inside a value is doubled, and the service's
// reading gives back exactly the values that went in.
TEST(Statements, QuotesInEveryValueSlotRoundTrip) {
    const QString hostile = QStringLiteral("a' or '1'='1'; drop table x; --");
    for (const Shape& shape : Catalogue()) {
        for (int slot = 0; slot < shape.values; ++slot) {
            QStringList values;
            for (int i = 0; i < shape.values; ++i) {
                values << (i == slot ? hostile : QStringLiteral("v%1").arg(i));
            }
            QString text;
            switch (shape.values) {
                case 1:
                    text = Build(shape.kind, {values[0]});
                    break;
                case 2:
                    text = Build(shape.kind, {values[0], values[1]});
                    break;
                case 3:
                    text = Build(shape.kind, {values[0], values[1], values[2]});
                    break;
                case 4:
                    text = Build(shape.kind, {values[0], values[1], values[2], values[3]});
                    break;
            }
            EXPECT_TRUE(text.contains(QStringLiteral("'a'' or ''1''=''1''; drop"))) << shape.name;
            const auto back = Recognise(text);
            ASSERT_TRUE(back.has_value()) << shape.name << " slot " << slot;
            EXPECT_EQ(back->kind, shape.kind);
            EXPECT_EQ(back->values, values);
        }
    }
}

TEST(Statements, UnknownShapesAreNotRecognised) {
    EXPECT_FALSE(Recognise(u"select * from 用户管理").has_value());
    EXPECT_FALSE(Recognise(u"delete from 用户管理 where 用户='1'").has_value());
    // The sign-in lookup with its password check cut away by an injected comment.
    EXPECT_FALSE(Recognise(u"Select * from 用户管理 where 用户='1' -- ' and 密码='x'").has_value());
    EXPECT_FALSE(Recognise(u"select * from 系统设置; drop table 系统设置").has_value());
    EXPECT_FALSE(Recognise(u"Select * from 用户管理 where 用户='open").has_value());
    // Letter case of "Select" tells the page-name lookups apart.
    EXPECT_EQ(Recognise(u"select * from 用户管理 where 文件名='a'")->kind, Kind::PageNameLookup);
    EXPECT_EQ(Recognise(u"Select * from 用户管理 where 文件名='a'")->kind, Kind::RenameLookup);
    EXPECT_FALSE(Recognise(u"SELECT * from 用户管理 where 文件名='a'").has_value());
}

TEST(Statements, ShapesAreDistinct) {
    const auto all = Catalogue();
    for (size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(static_cast<size_t>(all[i].kind), i);
        for (size_t j = i + 1; j < all.size(); ++j) {
            EXPECT_NE(QStringView(all[i].text), QStringView(all[j].text));
        }
    }
}

}  // namespace
