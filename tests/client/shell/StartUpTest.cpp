#include "ShellFixture.h"
#include "client/settings/IniFile.h"
#include "client/settings/Wini.h"
#include "client/shell/AdvertPane.h"
#include "client/shell/GGCT.h"
#include "client/shell/Main.h"
#include "client/shell/Program.h"
#include "client/shell/SingleInstance.h"
#include "client/shell/UpDown.h"
#include "client/shell/WindowRegistry.h"

#include <QApplication>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>

namespace {

class StartUp : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        window = new Main();
        QObject::connect(window, &Main::SignInRequested, window,
                         [this](Main* owner) { signInOwners.append(owner); });
    }
    static UpDown* Notice() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* notice = qobject_cast<UpDown*>(w); notice && notice->isVisible()) {
                return notice;
            }
        }
        return nullptr;
    }
    bool MainWasShown() const {
        for (const auto& w : program::WindowRegistry::Windows()) {
            if (w == window)
                return true;
        }
        return false;
    }

    QPointer<Main> window;
    QList<Main*> signInOwners;
};

const QString kSettings = QStringLiteral("select * from 系统设置");
const QString kLinks = QStringLiteral("select 跳转地址 from 广告管理");
const QString kPictures = QStringLiteral("select 广告链接 from 广告管理");

// The marquee turns its text one character at a time.
bool IsRotationOf(const QString& shown, const QString& text) {
    return shown.size() == text.size() && (text + text).contains(shown);
}

TEST_F(StartUp, NormalStartMakesSevenRequestsAndOffersTheSignIn) {
    EXPECT_EQ(window->Load(), Main::Start::AwaitingSignIn);
    EXPECT_EQ(RequestStatements(),
              (QStringList{kSettings, kSettings, kLinks, kPictures, kLinks, kPictures, kSettings}));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->FGZS->isEnabled());
    ASSERT_EQ(signInOwners.size(), 1);
    EXPECT_EQ(signInOwners[0], window);
    // The demo announcement, followed by ten blanks (the marquee may have moved it on).
    const QString announcement = service.Query("SELECT 公告 FROM 系统设置").at(0).at(0);
    ASSERT_FALSE(announcement.isEmpty());
    EXPECT_TRUE(IsRotationOf(window->GongG->text(), announcement + QString(10, QLatin1Char(' '))))
        << window->GongG->text().toStdString();
    // Both panes show their advert, with addresses on this service.
    EXPECT_EQ(window->WebBrowser1->Page(),
              BuildAdvertPage(service.Url() + "/", service.Url() + "/adverts/advert-1.png"));
    EXPECT_EQ(window->WebBrowser2->Page(),
              BuildAdvertPage(service.Url() + "/shop", service.Url() + "/adverts/advert-2.png"));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(programEnds, 0);
}

TEST_F(StartUp, ClosedServiceShowsTheWindowWithoutSignIn) {
    SetServiceSetting(service, 2, QStringLiteral("关闭"));
    EXPECT_EQ(window->Load(), Main::Start::ServiceClosed);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->FGZS->isEnabled());
    EXPECT_TRUE(signInOwners.isEmpty());
    EXPECT_FALSE(window->WebBrowser1->Page().isEmpty());
    EXPECT_EQ(requests.size(), 7);
}

TEST_F(StartUp, VersionInOtherLetterCaseOrWithABlankOffersTheUpdate) {
    for (const QString& version : {QStringLiteral("v1.2"), QStringLiteral("V1.2 ")}) {
        SetServiceSetting(service, 4, version);
        Main* main = new Main();
        EXPECT_EQ(main->Load(), Main::Start::UpdateOffered) << version.toStdString();
        QPointer<Main> guard(main);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(guard.isNull() || !guard->isVisible());
        UpDown* notice = Notice();
        ASSERT_NE(notice, nullptr);
        EXPECT_EQ(notice->windowTitle(), QStringLiteral("软件更新"));
        EXPECT_TRUE(signInOwners.isEmpty());
        delete notice;
    }
    // Only the two settings reads of each start were made; the adverts were never read.
    EXPECT_EQ(RequestStatements(), (QStringList{kSettings, kSettings, kSettings, kSettings}));
    EXPECT_EQ(ReadIni(wini::Section(), QStringLiteral("软件名称"), wini::SettingsFilePath()),
              program::ExecutableBaseName());
    EXPECT_TRUE(wini::SettingsFilePath().startsWith(programFolder.path() + "/Zrrj/"));
}

TEST_F(StartUp, UnreachableServiceWithANetworkKeepsTheAnnouncementAndOffersTheUpdate) {
    ASSERT_TRUE(service.Stop());
    EXPECT_EQ(window->Load(), Main::Start::UpdateOffered);
    // The marquee may have moved it on meanwhile (a slow build takes more than a step).
    EXPECT_TRUE(IsRotationOf(window->GongG->text(), QStringLiteral("公告")))
        << window->GongG->text().toStdString();
    EXPECT_FALSE(MainWasShown());
    EXPECT_NE(Notice(), nullptr);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(StartUp, NoNetworkEndsAfterTheFirstRequest) {
    networkPresent = false;
    EXPECT_EQ(window->Load(), Main::Start::Ended);
    EXPECT_EQ(requests.size(), 1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, QStringLiteral("网络连接失败"));
    EXPECT_EQ(messages[0].title, QStringLiteral("提示"));
    EXPECT_EQ(messages[0].icon, QMessageBox::Information);
    EXPECT_EQ(programEnds, 1);
    EXPECT_FALSE(MainWasShown());
}

TEST_F(StartUp, SecondCopyIsRefusedBeforeAnyRequest) {
    program::SingleInstance first(QStringLiteral("shell-test-second-copy"));
    ASSERT_TRUE(first.Acquire());
    program::SetInstanceKey(QStringLiteral("shell-test-second-copy"));
    EXPECT_EQ(window->Load(), Main::Start::Ended);
    EXPECT_TRUE(requests.isEmpty());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, QStringLiteral("程序已经运行,不能再次装载！"));
    EXPECT_EQ(messages[0].title, QStringLiteral("提示"));
    EXPECT_EQ(messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(programEnds, 1);
}

TEST_F(StartUp, OneAdvertRowLeavesTheRightPaneBlank) {
    const auto list = service.RunCommand({QStringLiteral("adverts"), QStringLiteral("list")});
    ASSERT_EQ(list.exitCode, 0);
    // Remove the second advert by the id the listing gives it.
    const QStringList lines = list.output.split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2) << list.output.toStdString();
    const QString lastId =
        lines.last().section(QRegularExpression("\\s+"), 0, 0, QString::SectionSkipEmpty);
    ASSERT_EQ(
        service.RunCommand({QStringLiteral("adverts"), QStringLiteral("remove"), lastId}).exitCode,
        0);
    EXPECT_EQ(window->Load(), Main::Start::AwaitingSignIn);
    EXPECT_FALSE(window->WebBrowser1->Page().isEmpty());
    EXPECT_TRUE(window->WebBrowser2->Page().isEmpty());
}

TEST_F(StartUp, AdvertPictureIsFetchedFromTheService) {
    EXPECT_EQ(window->Load(), Main::Start::AwaitingSignIn);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->WebBrowser1->PictureLoaded(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->WebBrowser2->PictureLoaded(); }, 5000));
}

}  // namespace
