// The upload window against a real service: its layout, the name boxes, the upload under an
// exclusive name with its requests in order, the address copy, the name change, the QR code,
// and what the window says when the service refuses or cannot be reached.

#include "Click.h"
#include "DemoAccount.h"
#include "HttpGet.h"
#include "ShellFixture.h"
#include "SlowProxy.h"
#include "TextEntry.h"
#include "client/controls/EntryValidator.h"
#include "client/controls/N_Shape.h"
#include "client/gateway/Gateway.h"
#include "client/gateway/ServiceAddress.h"
#include "client/publish/SCCT.h"
#include "client/shell/CommonRoutines.h"
#include "client/shell/GGCT.h"
#include "common/Codepage936.h"
#include "common/Statements.h"
#include "common/ValueEncoding.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QNetworkCookieJar>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

namespace {

const QString kStyle = QStringLiteral("文本切换效果");

class UploadWindow : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        SignIn(kDemoUser, kDemoPassword);
        GGCT::Instance().YMFG = kStyle;
        GGCT::Instance().FGN = QStringLiteral(
            "<!DOCTYPE html><html><head><meta charset=\"GBK\"><title>给小雨</title></head>"
            "<body><p>我爱你 \"'<>&</p></body></html>");
        platform::Current().wait = [this](int ms) { waits << ms; };
        requests.clear();
    }
    // Signs in through the gateway, as the sign-in window does, and sets the shared state.
    void SignIn(const QString& user, const QString& password) {
        const auto row = gateway::Query(statements::SignInLookup(user, password)).Fields(1);
        ASSERT_TRUE(row && row->size() > 6) << user.toStdString();
        GGCT::Instance().YHM = user;
        GGCT::Instance().WJM = row->at(columns::kPageName);
    }
    // Another account that holds the page name, made through the gateway.
    void AnotherAccountHolds(const QString& name) {
        const QString user = QStringLiteral("5550001");
        ASSERT_EQ(gateway::Execute(statements::RegistrationInsert(user, u"pw", u"13900000000",
                                                                  gateway::ReadServerTime()))
                      .text,
                  "OK");
        SignIn(user, "pw");
        ASSERT_EQ(gateway::Execute(statements::ClaimPageName(name, u"风格", user)).text, "OK");
        SignIn(kDemoUser, kDemoPassword);
        requests.clear();
    }
    SCCT* Open() {
        SCCT* window = SCCT::ShowWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        return window;
    }
    void Type(QLineEdit* box, const QString& text) {
        box->setFocus();
        for (QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(box, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    QStringList Codes() const {
        QStringList out;
        for (const RecordedRequest& r : requests)
            out << QString::number(r.code);
        return out;
    }
    std::vector<QStringList> Row(const QString& user) const {
        return service.Query("SELECT 文件名, 页面风格, 上传时间 FROM 用户管理 WHERE 用户='" + user +
                             "'");
    }
    HttpResult Page(const QString& name) const { return HttpGet(service::PageAddress(name)); }
    // The client talks to the service through `proxy` from now on.
    void Through(const AnsweringProxy& proxy) { ASSERT_TRUE(::service::SetAddress(proxy.Url())); }
    // What zbarimg reads from a picture of a QR code.
    static QString ReadQrCode(const QPixmap& picture, const QString& file) {
        const QString zbar = QStandardPaths::findExecutable("zbarimg");
        if (zbar.isEmpty() || !picture.save(file))
            return QStringLiteral("(zbarimg of Debian's zbar-tools reads the code back)");
        QProcess read;
        read.start(zbar, {"--quiet", "--raw", file});
        if (!read.waitForFinished(30000))
            return QStringLiteral("(zbarimg did not finish)");
        return QString::fromUtf8(read.readAllStandardOutput()).trimmed();
    }

    QList<int> waits;
};

// The command code of a gateway request body.
int CodeOf(const QByteArray& body) {
    const auto form = gateway::SplitForm(body);
    return form && form->count("zc") ? DecodeValue(form->at("zc")).value_or("").toInt() : 0;
}

// A proxy rule: every request of command `code` answered with `body`, the others passed on.
AnsweringProxy::Rule Answer(int code, int status, const QByteArray& body) {
    return [=](const QByteArray& request) -> std::optional<AnsweringProxy::Answer> {
        if (CodeOf(request) != code)
            return std::nullopt;
        return AnsweringProxy::Answer{status, body};
    };
}

TEST_F(UploadWindow, OpensWithItsLayoutAndEmptyState) {
    SCCT* w = Open();
    EXPECT_EQ(w->windowTitle(), "网页上传");
    EXPECT_EQ(w->size(), QSize(384, 261));
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(w->isModal());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(qAbs(w->geometry().center().x() - screen.center().x()), 4);

    EXPECT_EQ(w->Label1[0]->text(), "请输入专属名称：");
    EXPECT_EQ(w->Label1[3]->text(), "您的专属页面网址为：");
    EXPECT_EQ(w->Label1[6]->text(), "请输入更改名称：");
    EXPECT_EQ(w->N_Shape2->Caption(), "上 传");
    EXPECT_EQ(w->N_Shape3->Caption(), "修改专属名称");
    EXPECT_EQ(w->N_Shape4->Caption(), "点 击 复 制");
    EXPECT_EQ(w->N_Shape5->Caption(), "确认修改");
    EXPECT_EQ(w->Text1->width(), 1935 / 15);
    EXPECT_EQ(w->Text3->width(), 3855 / 15);
    EXPECT_GT(w->N_Shape2->x(), w->Text1->geometry().right());
    EXPECT_GT(w->N_Shape3->y(), w->N_Shape2->geometry().bottom());
    // The shaped buttons keep the looks of a new one, 8-point captions included.
    const N_Shape fresh;
    for (N_Shape* b : {w->N_Shape2, w->N_Shape3, w->N_Shape4, w->N_Shape5}) {
        EXPECT_EQ(b->BackColorNormal(), fresh.BackColorNormal());
        EXPECT_EQ(b->BorderColorNormal(), fresh.BorderColorNormal());
        EXPECT_EQ(b->FontSize(), 8);
    }
    EXPECT_TRUE(w->Text3->isReadOnly());
    EXPECT_EQ(w->Text3->toPlainText(), "");
    EXPECT_DOUBLE_EQ(w->Text3->font().pointSizeF(), 10.5);
    EXPECT_EQ(w->Text3->palette().color(QPalette::Base), w->palette().color(QPalette::Button));
    EXPECT_EQ(w->Label2->text(), "专属名称限制含有特殊字符和标点符号输入\n专属页面网址格式为：" +
                                     service.Url() + "/love/专属名称");
    EXPECT_EQ(w->Label2->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(w->TS->text(), "");
    EXPECT_EQ(w->TS->width(), w->width());
    EXPECT_EQ(w->TS->palette().color(QPalette::WindowText), QColor(255, 128, 128));
    // The name-change row waits below the visible area; no QR code before an upload.
    for (QWidget* c : {static_cast<QWidget*>(w->Label1[6]), static_cast<QWidget*>(w->Text4),
                       static_cast<QWidget*>(w->N_Shape5)})
        EXPECT_GE(c->y(), w->height());
    EXPECT_FALSE(w->QrPicture->isVisible());
    EXPECT_FALSE(w->N_Shape6->isVisible());
    // Nothing of the window is cut.
    for (QLabel* l : {w->Label1[0], w->Label1[3], w->Label1[6]})
        EXPECT_LE(QFontMetrics(l->font()).horizontalAdvance(l->text()), l->width());
    EXPECT_TRUE(w->Text1->isEnabled());
    EXPECT_TRUE(requests.isEmpty());
}

TEST_F(UploadWindow, NameBoxesKeepSmallLettersAndDigitsHoweverTheyComeIn) {
    SCCT* w = Open();
    for (QLineEdit* box : {w->Text1, w->Text4}) {
        Type(box, "My-Love 2中");
        EXPECT_EQ(box->text(), "mylove2");
        text_entry::Commit(box, "小雨ABC");
        text_entry::Paste(box, "d_e.f!");
        text_entry::Drop(box, "G9");
        EXPECT_EQ(box->text(), "mylove2abcdefg9");
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), "mylove2abcdefg");
        // Thirty characters at most: the 31st is refused.
        box->clear();
        Type(box, QString(31, QLatin1Char('a')));
        EXPECT_EQ(box->text().size(), 30);
        text_entry::Paste(box, "b");
        EXPECT_EQ(box->text(), QString(30, QLatin1Char('a')));
    }
}

TEST_F(UploadWindow, FirstUploadClaimsTheNameThenSendsThePageAndRecordsIt) {
    SCCT* w = Open();
    Type(w->Text1, "XiaoYu-520");
    EXPECT_EQ(w->Text1->text(), "xiaoyu520");
    Click(w->N_Shape2);

    ASSERT_EQ(Codes(), (QStringList{"1", "2", "4", "3", "2"}));
    EXPECT_EQ(requests[0].statement, "select * from 用户管理 where 文件名='xiaoyu520'");
    EXPECT_EQ(requests[1].statement, "update 用户管理 set 文件名='xiaoyu520',页面风格='" + kStyle +
                                         "' where 用户='" + kDemoUser + "'");
    EXPECT_TRUE(requests[4].statement.startsWith("update 用户管理 set 页面风格 ='" + kStyle +
                                                 "',上传时间 ='"));
    EXPECT_TRUE(requests[4].statement.endsWith("' where 文件名='xiaoyu520'"));

    EXPECT_EQ(w->TS->text(), "上传成功！");
    EXPECT_EQ(w->Text3->toPlainText(), service.Url() + "/love/xiaoyu520");
    EXPECT_FALSE(w->Text1->isEnabled());
    EXPECT_EQ(GGCT::Instance().WJM, "xiaoyu520");
    const HttpResult page = Page("xiaoyu520");
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.body, cp936::Encode(GGCT::Instance().FGN));
    const auto row = Row(kDemoUser);
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0][0], "xiaoyu520");
    EXPECT_EQ(row[0][1], kStyle);
    EXPECT_FALSE(row[0][2].isEmpty());

    // The next upload in the same window sends the page only, whatever FGN holds now.
    requests.clear();
    GGCT::Instance().FGN = QStringLiteral("<p>第二版</p>");
    Click(w->N_Shape2);
    EXPECT_EQ(Codes(), (QStringList{"4", "3", "2"}));
    EXPECT_EQ(Page("xiaoyu520").body, cp936::Encode(QStringLiteral("<p>第二版</p>")));
}

TEST_F(UploadWindow, UserWithANameUploadsAtOnceUnderIt) {
    ASSERT_EQ(gateway::Execute(statements::ClaimPageName(u"mine", u"风格", kDemoUser)).text, "OK");
    GGCT::Instance().WJM = QStringLiteral("mine");
    requests.clear();
    SCCT* w = Open();
    EXPECT_EQ(w->Text1->text(), "mine");
    EXPECT_FALSE(w->Text1->isEnabled());
    Click(w->N_Shape2);
    EXPECT_EQ(Codes(), (QStringList{"4", "3", "2"}));
    EXPECT_EQ(w->TS->text(), "上传成功！");
    EXPECT_EQ(Page("mine").status, 200);
}

TEST_F(UploadWindow, EmptyNameAndTakenNameSendNoPage) {
    SCCT* w = Open();
    Click(w->N_Shape2);
    EXPECT_EQ(w->TS->text(), "文件名不能为空！");
    EXPECT_TRUE(requests.isEmpty());

    AnotherAccountHolds("taken");
    Type(w->Text1, "taken");
    Click(w->N_Shape2);
    EXPECT_EQ(w->TS->text(), "文件名已存在！");
    EXPECT_EQ(Codes(), QStringList{"1"});
    EXPECT_TRUE(w->Text1->isEnabled());
    EXPECT_EQ(GGCT::Instance().WJM, "");
    EXPECT_EQ(Row(kDemoUser)[0][0], "");
}

// Another user takes the name between the lookup and the claim: the claim is refused and no
// page goes out.
TEST_F(UploadWindow, NameTakenBetweenLookupAndClaim) {
    ASSERT_EQ(gateway::Execute(statements::RegistrationInsert(u"5550002", u"pw", u"13900000000",
                                                              gateway::ReadServerTime()))
                  .text,
              "OK");
    requests.clear();
    xmlhttp::SetObserver([this](const QString&, const QByteArray& body) {
        if (body.startsWith("zc=50&"))
            service.Execute("UPDATE 用户管理 SET 文件名='race' WHERE 用户='5550002'");
        const auto form = gateway::SplitForm(body);
        requests.append(
            RecordedRequest{form ? DecodeValue(form->at("zc")).value_or("").toInt() : 0, {}});
    });
    SCCT* w = Open();
    Type(w->Text1, "race");
    Click(w->N_Shape2);
    EXPECT_EQ(w->TS->text(), "文件名已存在！");
    EXPECT_EQ(Codes(), (QStringList{"1", "2"}));
    EXPECT_EQ(Page("race").status, 404);
    EXPECT_TRUE(w->Text1->isEnabled());
    EXPECT_EQ(GGCT::Instance().WJM, "");
}

TEST_F(UploadWindow, LostServiceIsToldAndNothingChanges) {
    SCCT* w = Open();
    Type(w->Text1, "lost");
    xmlhttp::Manager().clearConnectionCache();
    ASSERT_TRUE(service.Stop());
    Click(w->N_Shape2);
    EXPECT_EQ(w->TS->text(), "无法连接服务器，请稍后再试");
    EXPECT_EQ(Codes(), QStringList{"1"});
    EXPECT_TRUE(w->Text1->isEnabled());
    EXPECT_EQ(w->Text3->toPlainText(), "");
    EXPECT_EQ(GGCT::Instance().WJM, "");
}

// The service goes away after the claim: the page is not published and the window says so;
// the next press, the service back, finds the name the user's own and publishes.
TEST_F(UploadWindow, UploadThatDidNotArriveIsNotASuccess) {
    bool stopped = false;
    xmlhttp::SetObserver([this, &stopped](const QString&, const QByteArray& body) {
        const auto form = gateway::SplitForm(body);
        const int code = form ? DecodeValue(form->at("zc")).value_or("").toInt() : 0;
        requests.append(RecordedRequest{code, {}});
        if (code == 4 && !stopped) {
            stopped = true;
            xmlhttp::Manager().clearConnectionCache();
            service.Stop();
        }
    });
    SCCT* w = Open();
    Type(w->Text1, "halfway");
    Click(w->N_Shape2);
    EXPECT_EQ(w->TS->text(), "无法连接服务器，请稍后再试");
    EXPECT_EQ(w->Text3->toPlainText(), "");
    EXPECT_TRUE(w->Text1->isEnabled());
    EXPECT_EQ(GGCT::Instance().WJM, "");
    EXPECT_FALSE(w->QrPicture->isVisible());

    ASSERT_TRUE(service.Restart()) << service.Error().toStdString();
    ASSERT_TRUE(::service::SetAddress(service.Url()));
    SignIn(kDemoUser, kDemoPassword);
    requests.clear();
    Click(w->N_Shape2);
    EXPECT_EQ(w->TS->text(), "上传成功！");
    EXPECT_EQ(Codes(), (QStringList{"1", "4", "3", "2"}));
    EXPECT_EQ(Page("halfway").status, 200);
}

TEST_F(UploadWindow, RefusalsOfTheServiceAreToldApart) {
    // A page over the service's size limit.
    ServiceProcess::Options options;
    options.extraArguments << "--max-body"
                           << "4096";
    ServiceProcess small(options);
    ASSERT_TRUE(small.Start()) << small.Error().toStdString();
    ASSERT_TRUE(::service::SetAddress(small.Url()));
    SignIn(kDemoUser, kDemoPassword);
    GGCT::Instance().FGN = QString(3000, QChar(u'爱'));
    SCCT* w = Open();
    Type(w->Text1, "big");
    Click(w->N_Shape2);
    EXPECT_EQ(w->TS->text(), "网页太大了，请删减一些内容后再上传");
    EXPECT_TRUE(w->Text1->isEnabled());
    EXPECT_EQ(GGCT::Instance().WJM, "");
    xmlhttp::Manager().clearConnectionCache();

    // Without a session (the sign-in has run out) the claim is refused.
    ASSERT_TRUE(::service::SetAddress(service.Url()));
    xmlhttp::Manager().setCookieJar(new QNetworkCookieJar);
    GGCT::Instance().FGN = QStringLiteral("<p>x</p>");
    Click(w->N_Shape2);
    EXPECT_EQ(w->TS->text(), "登陆已失效，请重新登陆后再试");
    EXPECT_EQ(Page("big").status, 404);
}

TEST_F(UploadWindow, CopyPutsTheAddressOnTheClipboardOnlyAfterAnUpload) {
    SCCT* w = Open();
    QGuiApplication::clipboard()->setText("before");
    Click(w->N_Shape4);
    EXPECT_EQ(w->TS->text(), "需要上传成功后,您才能复制专属网址喔!请先去上传网页吧!");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");

    Type(w->Text1, "copyme");
    Click(w->N_Shape2);
    QTest::mouseClick(w->N_Shape4, Qt::LeftButton, {}, w->N_Shape4->rect().center());
    Click(w->N_Shape4);
    EXPECT_EQ(w->TS->text(), "网址已复制,去发给您的TA展示一下吧!");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), service.Url() + "/love/copyme");
    EXPECT_FALSE(QGuiApplication::clipboard()->text().contains('\n'));
}

TEST_F(UploadWindow, NameChangeRowOpensOnlyForAUserWithAName) {
    SCCT* w = Open();
    Click(w->N_Shape3);
    EXPECT_TRUE(w->N_Shape3->Enabled());
    EXPECT_EQ(w->height(), 261);

    Type(w->Text1, "rowtest");
    Click(w->N_Shape2);
    const int width = w->width();
    Click(w->N_Shape3);
    EXPECT_FALSE(w->N_Shape3->Enabled());
    EXPECT_EQ(w->height(), (3915 + 1000 + 7) / 15);
    EXPECT_EQ(w->width(), width);
    EXPECT_LE(w->N_Shape5->geometry().bottom(), w->height());
}

TEST_F(UploadWindow, NameChangeMovesThePageAndEverythingFollows) {
    SCCT* w = Open();
    Type(w->Text1, "oldname");
    Click(w->N_Shape2);
    Click(w->N_Shape3);
    requests.clear();
    waits.clear();

    // Every press pauses half a second first, an empty box too.
    Click(w->N_Shape5);
    EXPECT_EQ(waits, QList<int>{500});
    EXPECT_EQ(w->TS->text(), "请输入更改名称");
    EXPECT_TRUE(requests.isEmpty());
    EXPECT_TRUE(w->N_Shape5->Enabled());

    // The current name is in use: the user's own row holds it.
    Type(w->Text4, "oldname");
    Click(w->N_Shape5);
    EXPECT_EQ(w->TS->text(), "该名称已被占用，请试试其它名称吧！");
    EXPECT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].statement, "Select * from 用户管理 where 文件名='oldname'");

    requests.clear();
    w->Text4->clear();
    Type(w->Text4, "NewName");
    Click(w->N_Shape5);
    ASSERT_EQ(Codes(), (QStringList{"1", "2", "5"}));
    EXPECT_EQ(requests[0].statement, "Select * from 用户管理 where 文件名='newname'");
    EXPECT_EQ(requests[1].statement, "update 用户管理 set 文件名='newname' where 文件名='oldname'");
    EXPECT_EQ(w->TS->text(), "专属名称修改成功");
    EXPECT_EQ(w->Text1->text(), "newname");
    EXPECT_EQ(GGCT::Instance().WJM, "newname");
    EXPECT_EQ(w->Text3->toPlainText(), service.Url() + "/love/newname");
    EXPECT_EQ(w->height(), 261);
    EXPECT_FALSE(w->N_Shape3->Enabled());
    EXPECT_EQ(Page("newname").status, 200);
    EXPECT_EQ(Page("oldname").status, 404);
    EXPECT_EQ(Row(kDemoUser)[0][0], "newname");
    Click(w->N_Shape4);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), service.Url() + "/love/newname");
    // The QR code follows the address.
    ASSERT_TRUE(w->QrPicture->isVisible());
    EXPECT_EQ(ReadQrCode(w->QrPicture->pixmap(), QDir(programFolder.path()).filePath("qr.png")),
              service.Url() + "/love/newname");
}

TEST_F(UploadWindow, NameChangeWithTheServiceGoneChangesNothing) {
    SCCT* w = Open();
    Type(w->Text1, "stays");
    Click(w->N_Shape2);
    Click(w->N_Shape3);
    Type(w->Text4, "moved");
    xmlhttp::Manager().clearConnectionCache();
    ASSERT_TRUE(service.Stop());
    requests.clear();
    Click(w->N_Shape5);
    EXPECT_EQ(w->TS->text(), "无法连接服务器，请稍后再试");
    EXPECT_EQ(requests.size(), 1);
    EXPECT_EQ(w->Text1->text(), "stays");
    EXPECT_EQ(GGCT::Instance().WJM, "stays");
}

// After the first success the QR code stands in a column of its own right of the form, which
// keeps every control where it was, the status line included: centred under the form it
// reports on, with the column's button on its line. Every status text fits that line.
TEST_F(UploadWindow, QrColumnStandsBesideTheUnmovedForm) {
    SCCT* w = Open();
    const QList<QWidget*> form = {w->Label1[0], w->Text1,     w->N_Shape2, w->Label1[3],
                                  w->N_Shape3,  w->Text3,     w->N_Shape4, w->Label2,
                                  w->TS,        w->Label1[6], w->Text4,    w->N_Shape5};
    QList<QRect> before;
    for (QWidget* c : form)
        before << c->geometry();
    Type(w->Text1, "column");
    Click(w->N_Shape2);
    ASSERT_TRUE(w->QrPicture->isVisible());
    for (qsizetype i = 0; i < form.size(); ++i)
        EXPECT_EQ(form[i]->geometry(), before[i]) << form[i]->objectName().toStdString();
    EXPECT_EQ(w->TS->geometry(), QRect(0, 198, 384, 24));
    const int column = (384 + w->width()) / 2;
    for (QWidget* q : {static_cast<QWidget*>(w->QrPicture), static_cast<QWidget*>(w->QrCaption),
                       static_cast<QWidget*>(w->N_Shape6)}) {
        EXPECT_GE(q->x(), 384);
        EXPECT_LE(qAbs(q->geometry().center().x() - column), 1) << q->objectName().toStdString();
        for (QWidget* c : form)
            EXPECT_FALSE(q->geometry().intersects(c->geometry()));
    }
    EXPECT_EQ(w->QrPicture->y(), w->Text1->y());
    EXPECT_LT(w->N_Shape6->y(), w->TS->geometry().center().y());
    EXPECT_GT(w->N_Shape6->geometry().bottom(), w->TS->geometry().center().y());
    // The code fills its picture with whole pixels per module.
    const QPixmap code = w->QrPicture->pixmap();
    EXPECT_LE(code.width(), w->QrPicture->width());
    EXPECT_GT(code.width(), w->QrPicture->width() * 3 / 4);

    const QFontMetrics metrics(w->TS->font());
    for (const char16_t* text :
         {publish::kEmptyName, publish::kNameTaken, publish::kUploaded, publish::kCopyFirst,
          publish::kCopied, publish::kEnterNewName, publish::kNewNameTaken, publish::kRenamed,
          publish::kBadName, publish::kTooBig, publish::kSignInAgain, publish::kUploadFailed,
          publish::kRenameFailed, publish::kQrSaved, publish::kQrNotSaved, gateway::kCannotConnect,
          gateway::kTooManyAttempts}) {
        const QString message = QString::fromUtf16(text);
        EXPECT_LE(metrics.horizontalAdvance(message), w->TS->width()) << message.toStdString();
    }
}

// The QR code comes with the first success, right of the window's own layout, and reads back
// as the page address.
TEST_F(UploadWindow, QrCodeOfTheAddressReadsBackAndSaves) {
    SCCT* w = Open();
    const QRect before = w->N_Shape4->geometry();
    Type(w->Text1, "scanme");
    Click(w->N_Shape2);
    ASSERT_TRUE(w->QrPicture->isVisible());
    EXPECT_EQ(w->QrCaption->text(), "手机扫一扫，马上看");
    EXPECT_EQ(w->N_Shape6->Caption(), "保存二维码");
    EXPECT_EQ(w->N_Shape4->geometry(), before);
    EXPECT_GE(w->QrPicture->x(), 384);
    EXPECT_LE(w->QrPicture->geometry().right(), w->width());
    EXPECT_EQ(w->height(), 261);

    QString suggested;
    const QString file = QDir(programFolder.path()).filePath("code.png");
    platform::Current().chooseSaveFile = [&](QWidget*, const QString&, const QString& name,
                                             const QString&) {
        suggested = name;
        return file;
    };
    Click(w->N_Shape6);
    EXPECT_EQ(suggested, "scanme.png");
    EXPECT_EQ(w->TS->text(), "二维码已保存");

    const QString zbar = QStandardPaths::findExecutable("zbarimg");
    ASSERT_FALSE(zbar.isEmpty()) << "zbarimg (Debian zbar-tools) reads the code back";
    const QString shown = QDir(programFolder.path()).filePath("shown.png");
    ASSERT_TRUE(w->QrPicture->pixmap().save(shown));
    for (const QString& picture : {file, shown}) {
        QProcess read;
        read.start(zbar, {"--quiet", "--raw", picture});
        ASSERT_TRUE(read.waitForFinished(30000));
        EXPECT_EQ(QString::fromUtf8(read.readAllStandardOutput()).trimmed(),
                  service.Url() + "/love/scanme")
            << picture.toStdString();
    }
}

TEST_F(UploadWindow, ShowingItAgainBringsTheSameWindowForward) {
    SCCT* w = Open();
    Type(w->Text1, "again");
    w->TS->setText("state");
    EXPECT_EQ(SCCT::ShowWindow(), w);
    EXPECT_EQ(w->Text1->text(), "again");
    EXPECT_EQ(w->TS->text(), "state");
    EXPECT_TRUE(requests.isEmpty());
}

// A lookup reply the window cannot read (no record 1, or a row too short to hold the name)
// does not make the name free: the connection message, and nothing is written.
TEST_F(UploadWindow, UnreadableLookupReplyWritesNothing) {
    AnsweringProxy proxy(service.Url());
    Through(proxy);
    SCCT* w = Open();
    Type(w->Text1, "unread");
    const QByteArray sixFields =
        cp936::Encode(gateway::BuildQueryReply({{"5550009", "pw", "13900000000", "0", "x", "y"}}));
    for (const QByteArray& reply : {sixFields, QByteArray("<html>Service Unavailable</html>")}) {
        requests.clear();
        proxy.SetRule(Answer(1, 200, reply));
        Click(w->N_Shape2);
        EXPECT_EQ(w->TS->text(), "无法连接服务器，请稍后再试") << reply.toStdString();
        EXPECT_EQ(Codes(), QStringList{"1"});
        EXPECT_TRUE(w->Text1->isEnabled());
        EXPECT_EQ(w->Text3->toPlainText(), "");
        EXPECT_FALSE(w->QrPicture->isVisible());
        EXPECT_EQ(GGCT::Instance().WJM, "");
        EXPECT_EQ(Row(kDemoUser)[0][0], "");
    }
    EXPECT_EQ(proxy.answered, 2);
    EXPECT_EQ(Page("unread").status, 404);
}

// The upload's refusals that the window words itself; each leaves the window, the shared
// name and the published pages as they were.
TEST_F(UploadWindow, RefusedUploadIsToldInTheWindowsOwnWords) {
    AnsweringProxy proxy(service.Url());
    Through(proxy);
    SCCT* w = Open();
    Type(w->Text1, "refused");
    struct Case {
        int code;
        int status;
        QByteArray word;
        QString message;
    };
    // The lookup and the claim first: the claim of a later case goes through.
    const Case cases[] = {
        {1, 429, "LIMIT", "尝试次数过多，请稍后再试"},
        {2, 429, "LIMIT", "尝试次数过多，请稍后再试"},
        {2, 422, "BADNAME", "专属名称不可用，请换一个试试"},
        {2, 500, "FAILED", "上传失败，请稍后再试"},
        {4, 422, "BADNAME", "专属名称不可用，请换一个试试"},
        {4, 429, "LIMIT", "尝试次数过多，请稍后再试"},
        {4, 500, "FAILED", "上传失败，请稍后再试"},
        {4, 400, "BADFORM", "上传失败，请稍后再试"},
    };
    for (const Case& c : cases) {
        proxy.SetRule(Answer(c.code, c.status, c.word));
        requests.clear();
        Click(w->N_Shape2);
        const std::string what = std::to_string(c.code) + " " + c.word.toStdString();
        EXPECT_EQ(w->TS->text(), c.message) << what;
        EXPECT_EQ(QString::number(c.code), Codes().last()) << what;
        EXPECT_TRUE(w->Text1->isEnabled()) << what;
        EXPECT_EQ(w->Text3->toPlainText(), "") << what;
        EXPECT_FALSE(w->QrPicture->isVisible()) << what;
        EXPECT_EQ(GGCT::Instance().WJM, "") << what;
        EXPECT_EQ(Page("refused").status, 404) << what;
    }
    // With the service answering again the same window publishes.
    proxy.SetRule({});
    Click(w->N_Shape2);
    EXPECT_EQ(w->TS->text(), "上传成功！");
    EXPECT_EQ(Page("refused").status, 200);
}

// Request 5 records the upload with the time that request 4 gave, exactly as it came back.
TEST_F(UploadWindow, UploadIsRecordedWithTheServerTimeItWasGiven) {
    AnsweringProxy proxy(service.Url());
    proxy.SetRule(Answer(3, 200, "2031-05-20 13:14:00"));
    Through(proxy);
    SCCT* w = Open();
    Type(w->Text1, "timed");
    Click(w->N_Shape2);
    ASSERT_EQ(Codes(), (QStringList{"1", "2", "4", "3", "2"}));
    EXPECT_EQ(requests[4].statement, "update 用户管理 set 页面风格 ='" + kStyle +
                                         "',上传时间 ='2031-05-20 13:14:00' where 文件名='timed'");
    EXPECT_EQ(proxy.answered, 1);
    EXPECT_EQ(w->TS->text(), "上传成功！");
}

// Another account takes the new name between the lookup and the update: the update is
// refused and the page keeps its name.
TEST_F(UploadWindow, NameTakenBetweenRenameLookupAndUpdate) {
    ASSERT_EQ(gateway::Execute(statements::RegistrationInsert(u"5550003", u"pw", u"13900000000",
                                                              gateway::ReadServerTime()))
                  .text,
              "OK");
    SCCT* w = Open();
    Type(w->Text1, "mine");
    Click(w->N_Shape2);
    Click(w->N_Shape3);
    Type(w->Text4, "wanted");
    requests.clear();
    xmlhttp::SetObserver([this](const QString&, const QByteArray& body) {
        const auto form = gateway::SplitForm(body);
        RecordedRequest request{CodeOf(body), {}};
        if (form && form->count("sql"))
            request.statement = DecodeValue(form->at("sql")).value_or("");
        if (request.statement.startsWith("update 用户管理 set 文件名='wanted'"))
            service.Execute("UPDATE 用户管理 SET 文件名='wanted' WHERE 用户='5550003'");
        requests.append(request);
    });
    Click(w->N_Shape5);
    EXPECT_EQ(w->TS->text(), "该名称已被占用，请试试其它名称吧！");
    EXPECT_EQ(Codes(), (QStringList{"1", "2"}));
    EXPECT_EQ(w->Text1->text(), "mine");
    EXPECT_EQ(GGCT::Instance().WJM, "mine");
    EXPECT_EQ(w->Text3->toPlainText(), service.Url() + "/love/mine");
    EXPECT_EQ(Row(kDemoUser)[0][0], "mine");
    EXPECT_EQ(Page("mine").status, 200);
}

// The update of the name change refused: nothing moves, and the window says why.
TEST_F(UploadWindow, RefusedNameUpdateChangesNothing) {
    AnsweringProxy proxy(service.Url());
    Through(proxy);
    SCCT* w = Open();
    Type(w->Text1, "before");
    Click(w->N_Shape2);
    ASSERT_EQ(w->TS->text(), "上传成功！");
    Click(w->N_Shape3);
    Type(w->Text4, "after");
    const QString address = w->Text3->toPlainText();
    const struct {
        int code;
        int status;
        QByteArray word;
        QString message;
        QStringList codes;
    } cases[] = {
        {1, 429, "LIMIT", "尝试次数过多，请稍后再试", {"1"}},
        {2, 409, "TAKEN", "该名称已被占用，请试试其它名称吧！", {"1", "2"}},
        {2, 403, "DENIED", "登陆已失效，请重新登陆后再试", {"1", "2"}},
        {2, 429, "LIMIT", "尝试次数过多，请稍后再试", {"1", "2"}},
        {2, 422, "BADNAME", "专属名称不可用，请换一个试试", {"1", "2"}},
        {2, 500, "FAILED", "修改失败，请稍后再试", {"1", "2"}},
    };
    for (const auto& c : cases) {
        proxy.SetRule(Answer(c.code, c.status, c.word));
        requests.clear();
        Click(w->N_Shape5);
        const std::string what = std::to_string(c.code) + " " + c.word.toStdString();
        EXPECT_EQ(w->TS->text(), c.message) << what;
        EXPECT_EQ(Codes(), c.codes) << what;
        EXPECT_EQ(w->Text1->text(), "before") << what;
        EXPECT_EQ(GGCT::Instance().WJM, "before") << what;
        EXPECT_EQ(w->Text3->toPlainText(), address) << what;
        EXPECT_EQ(Row(kDemoUser)[0][0], "before") << what;
    }
    EXPECT_EQ(Page("before").status, 200);
    EXPECT_EQ(Page("after").status, 404);
}

// The page itself refused to move after the row took the new name: the row is put back, so
// that name and page stay together, and the window says why.
TEST_F(UploadWindow, RefusedPageRenamePutsTheRowBack) {
    AnsweringProxy proxy(service.Url());
    Through(proxy);
    SCCT* w = Open();
    Type(w->Text1, "before");
    Click(w->N_Shape2);
    Click(w->N_Shape3);
    Type(w->Text4, "after");
    const struct {
        int status;
        QByteArray word;
        QString message;
    } cases[] = {
        {404, "NOTFOUND", "修改失败，请稍后再试"},
        {409, "TAKEN", "该名称已被占用，请试试其它名称吧！"},
        {429, "LIMIT", "尝试次数过多，请稍后再试"},
        {500, "FAILED", "修改失败，请稍后再试"},
    };
    for (const auto& c : cases) {
        proxy.SetRule(Answer(5, c.status, c.word));
        requests.clear();
        Click(w->N_Shape5);
        const std::string what = c.word.toStdString();
        EXPECT_EQ(w->TS->text(), c.message) << what;
        ASSERT_EQ(Codes(), (QStringList{"1", "2", "5", "2"})) << what;
        EXPECT_EQ(requests[3].statement, "update 用户管理 set 文件名='before' where 文件名='after'")
            << what;
        EXPECT_EQ(Row(kDemoUser)[0][0], "before") << what;
        EXPECT_EQ(w->Text1->text(), "before") << what;
        EXPECT_EQ(GGCT::Instance().WJM, "before") << what;
        EXPECT_EQ(Page("before").status, 200) << what;
        EXPECT_EQ(Page("after").status, 404) << what;
    }
}

// "保存二维码" to a place that cannot take a file says so.
TEST_F(UploadWindow, QrCodeThatCannotBeSavedIsTold) {
    SCCT* w = Open();
    Type(w->Text1, "nosave");
    Click(w->N_Shape2);
    ASSERT_TRUE(w->N_Shape6->isVisible());
    QFile file(QDir(programFolder.path()).filePath("a-file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString target = file.fileName() + "/code.png";
    platform::Current().chooseSaveFile = [&](QWidget*, const QString&, const QString&,
                                             const QString&) { return target; };
    Click(w->N_Shape6);
    EXPECT_EQ(w->TS->text(), "二维码保存失败，请换个位置试试");
    EXPECT_FALSE(QFile::exists(target));

    // No file picked: nothing is said.
    w->TS->clear();
    platform::Current().chooseSaveFile = [](QWidget*, const QString&, const QString&,
                                            const QString&) { return QString(); };
    Click(w->N_Shape6);
    EXPECT_EQ(w->TS->text(), "");
}

}  // namespace
