#include "Click.h"
#include "ShellFixture.h"
#include "client/controls/N_Shape.h"
#include "client/shell/UpDown.h"

#include <QPointer>
#include <QTest>

namespace {

class UpdateNotice : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        notice = new UpDown();
        notice->show();
    }
    QPointer<UpDown> notice;
};

TEST_F(UpdateNotice, LayoutAndTexts) {
    EXPECT_EQ(notice->windowTitle(), QStringLiteral("软件更新"));
    EXPECT_EQ(notice->size(), QSize(260, 147));
    EXPECT_FALSE(notice->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(notice->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(notice->Label1->text(), QStringLiteral("发现最新版本，是否下载最新版本"));
    EXPECT_EQ(notice->Label1->geometry(), QRect(40, 24, 181, 12));
    EXPECT_EQ(notice->N_Shape1->Caption(), QStringLiteral("是"));
    EXPECT_EQ(notice->N_Shape1->geometry(), QRect(48, 56, 71, 33));
    EXPECT_EQ(notice->N_Shape2->geometry(), QRect(136, 56, 71, 33));
    EXPECT_EQ(notice->N_Shape3->Caption(), QStringLiteral("访 问 官 网"));
    EXPECT_EQ(notice->N_Shape3->geometry(), QRect(48, 104, 159, 33));
    EXPECT_EQ(notice->N_Shape1->ForeColorNormal(), 0x00FF00FFu);
    EXPECT_EQ(notice->N_Shape2->ForeColorNormal(), 0x000080FFu);
    EXPECT_EQ(notice->N_Shape3->ForeColorNormal(), 0x00FF0000u);
}

TEST_F(UpdateNotice, YesOpensTheDownloadAddressAndEnds) {
    Click(notice->N_Shape1);
    EXPECT_EQ(openedDocuments, QStringList{service.Url() + "/download"});
    EXPECT_EQ(programEnds, 1);
    EXPECT_TRUE(notice.isNull() || !notice->isVisible());
    EXPECT_EQ(RequestStatements(), QStringList{QStringLiteral("select * from 系统设置")});
}

TEST_F(UpdateNotice, YesWithoutSettingsStillEnds) {
    ASSERT_TRUE(service.Stop());
    Click(notice->N_Shape1);
    EXPECT_TRUE(openedDocuments.isEmpty());
    EXPECT_EQ(programEnds, 1);
}

TEST_F(UpdateNotice, HomePageStaysThenNoEnds) {
    Click(notice->N_Shape3);
    EXPECT_EQ(openedDocuments, QStringList{service.Url() + "/"});
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(programEnds, 0);
    Click(notice->N_Shape2);
    EXPECT_EQ(programEnds, 1);
    EXPECT_TRUE(requests.isEmpty());  // nobody is signed in or out from here
}

TEST_F(UpdateNotice, CloseBoxEndsTheProgram) {
    notice->close();
    EXPECT_EQ(programEnds, 1);
}

}  // namespace
