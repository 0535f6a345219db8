#include "client/platform/Platform.h"
#include "client/settings/Wini.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class WiniTest : public ::testing::Test {
protected:
    void SetUp() override { SetProgramFolder(programFolder.path()); }
    void TearDown() override { platform::Restore(); }
    static void SetProgramFolder(const QString& folder) {
        platform::Current().programFolder = [folder] { return folder; };
    }
    QTemporaryDir programFolder;
};

TEST_F(WiniTest, SettingsFileLivesUnderTheProgramFolder) {
    EXPECT_EQ(wini::SettingsFilePath(), programFolder.path() + "/Zrrj/Zrwysc.ini");
    EXPECT_FALSE(QDir(programFolder.filePath("Zrrj")).exists());
    ASSERT_TRUE(wini::CreateSettingsFolder());
    ASSERT_TRUE(wini::CreateSettingsFolder());  // a second call finds it there
    EXPECT_TRUE(WriteIni(wini::Section(), QString::fromUtf16(wini::kAccountKey), "12345",
                         wini::SettingsFilePath()));
    EXPECT_TRUE(IniFileExists(wini::SettingsFilePath()));
}

// A program folder nobody can write into (here: a path below a plain file, which even root
// cannot create) sends the settings file to the per-user data folder.
TEST_F(WiniTest, UnwritableProgramFolderFallsBackToTheUserDataFolder) {
    QFile plain(programFolder.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    SetProgramFolder(programFolder.filePath("plain/bin"));
    const QString path = wini::SettingsFilePath();
    EXPECT_EQ(path, qEnvironmentVariable("XDG_DATA_HOME") + "/Zrrj/Zrwysc.ini");
    EXPECT_TRUE(wini::CreateSettingsFolder());
    EXPECT_TRUE(WriteIni("s", "k", "v", path));
    EXPECT_EQ(ReadIni("s", "k", path), "v");
}

TEST_F(WiniTest, RememberFlagIsKeptInTheUserSettingsStore) {
    EXPECT_EQ(wini::ReadRememberFlag(), "");
    wini::WriteRememberFlag("1");
    EXPECT_EQ(wini::ReadRememberFlag(), "1");
    wini::WriteRememberFlag("0");
    EXPECT_EQ(wini::ReadRememberFlag(), "0");
    const QString store = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Zrrj/Zrrj.conf";
    EXPECT_TRUE(QFile::exists(store)) << store.toStdString();
}

TEST_F(WiniTest, ScrambledPasswordRoundTripsUnderTheProgramKey) {
    const QString stored = ScramblePassword("abc'def\"ghi", wini::kScrambleKey);
    EXPECT_NE(stored, "abc'def\"ghi");
    EXPECT_EQ(UnscramblePassword(stored, wini::kScrambleKey), "abc'def\"ghi");
}

}  // namespace
