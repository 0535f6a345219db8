#include "server/SiteFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using server::SiteFiles;

namespace {

class SiteFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.filePath("site");
        Write("site/index.html", "<h1>home</h1>");
        Write("site/biaobai/FG2/js/love.js", "var x;");
        Write("site/biaobai/fg2/pic.PNG", "png");
        Write("site/adverts/advert-1.png", "advert");
        Write("secret.txt", "outside");
        QDir(dir.path()).mkpath("site/biaobai/emptydir");
    }
    void Write(const QString& relative, const QByteArray& content) {
        const QString path = dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir dir;
    QString root;
};

TEST_F(SiteFilesTest, ServesFilesOfTheirFolderWithTheirType) {
    const SiteFiles site(root);
    EXPECT_TRUE(site.Exists());
    auto home = site.Read(u"", u"index.html");
    ASSERT_TRUE(home);
    EXPECT_EQ(home->content, "<h1>home</h1>");
    EXPECT_EQ(home->contentType, "text/html; charset=utf-8");
    auto script = site.Read(u"biaobai", u"FG2/js/love.js");
    ASSERT_TRUE(script);
    EXPECT_EQ(script->content, "var x;");
    // Scripts are UTF-8 whatever the character set of the page that loads them.
    EXPECT_EQ(script->contentType, "application/javascript; charset=utf-8");
    EXPECT_EQ(site.Read(u"biaobai", u"fg2/pic.PNG")->contentType, "image/png");
    EXPECT_EQ(site.Read(u"adverts", u"advert-1.png")->content, "advert");
    // Folder names keep their letter case.
    EXPECT_FALSE(site.Read(u"biaobai", u"fg2/js/love.js"));
    EXPECT_FALSE(site.Read(u"biaobai", u"FG2/js/missing.js"));
    EXPECT_FALSE(site.Read(u"biaobai", u"emptydir"));
}

TEST_F(SiteFilesTest, NoPathLeavesItsFolder) {
    const SiteFiles site(root);
    for (const char16_t* path : {u"../index.html", u"../../secret.txt", u"FG2/../../index.html",
                                 u"/etc/passwd", u"FG2//js/love.js", u"./FG2/js/love.js",
                                 u"FG2\\js\\love.js", u"", u"FG2/js/love.js\n", u"C:/secret.txt"}) {
        EXPECT_FALSE(site.Read(u"biaobai", path)) << QString::fromUtf16(path).toStdString();
    }
    EXPECT_FALSE(site.Read(u"..", u"secret.txt"));
    EXPECT_FALSE(site.Read(u"", u"../secret.txt"));
}

// Hidden files and folders are not part of the site, wherever they are.
TEST_F(SiteFilesTest, HiddenFilesAreNotServed) {
    Write("site/.htpasswd", "admin:x");
    Write("site/biaobai/FG2/.love.js.swp", "draft");
    Write("site/biaobai/.git/config", "[core]");
    Write("site/biaobai/FG2/.well/known.txt", "hidden folder");
    const SiteFiles site(root);
    EXPECT_FALSE(site.Read(u"", u".htpasswd"));
    EXPECT_FALSE(site.Read(u"biaobai", u"FG2/.love.js.swp"));
    EXPECT_FALSE(site.Read(u"biaobai", u".git/config"));
    EXPECT_FALSE(site.Read(u"biaobai", u"FG2/.well/known.txt"));
    EXPECT_FALSE(site.Read(u".", u"index.html"));
    // A dot inside a name is an ordinary name.
    EXPECT_TRUE(site.Read(u"biaobai", u"FG2/js/love.js"));
}

TEST_F(SiteFilesTest, LinksOutOfTheFolderAreNotFollowed) {
    ASSERT_TRUE(QFile::link(dir.filePath("secret.txt"), dir.filePath("site/biaobai/leak.txt")));
    ASSERT_TRUE(
        QFile::link(dir.filePath("site/index.html"), dir.filePath("site/biaobai/home.html")));
    const SiteFiles site(root);
    EXPECT_FALSE(site.Read(u"biaobai", u"leak.txt"));
    // A link to another folder of the site is still outside biaobai.
    EXPECT_FALSE(site.Read(u"biaobai", u"home.html"));
}

TEST_F(SiteFilesTest, MissingRootFindsNothing) {
    const SiteFiles site(dir.filePath("nowhere"));
    EXPECT_FALSE(site.Exists());
    EXPECT_FALSE(site.Read(u"", u"index.html"));
}

TEST(SiteFolder, FoundNextToTheProgramInTheBuildTree) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("repo/assets/site"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("repo/build/default/src/server"));
    EXPECT_EQ(server::DefaultSiteFolder(dir.filePath("repo/build/default/src/server")),
              QDir::cleanPath(dir.filePath("repo/assets/site")));
    ASSERT_TRUE(QDir(dir.path()).mkpath("opt/bin"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("opt/share/zenri-service/site"));
    EXPECT_EQ(server::DefaultSiteFolder(dir.filePath("opt/bin")),
              QDir::cleanPath(dir.filePath("opt/share/zenri-service/site")));
}

}  // namespace
