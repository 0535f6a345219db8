// A window's stored set that does not read is not passed over: the key is logged, and a debug
// build stops at once.

#include "client/controls/LoadProperties.h"
#include "client/controls/N_Shape.h"
#include "client/controls/N_TextBox.h"
#include "client/controls/OleColor.h"
#include "client/controls/iButton.h"

#include <QStringList>

#include <gtest/gtest.h>

using controls::PropertyBag;

namespace {

// The warnings logged while the object lives.
class WarningLog {
public:
    WarningLog() {
        current_ = this;
        previous_ = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext&, const QString& text) {
                if (type == QtWarningMsg)
                    current_->lines << text;
            });
    }
    ~WarningLog() {
        qInstallMessageHandler(previous_);
        current_ = nullptr;
    }
    QStringList lines;

private:
    static inline WarningLog* current_ = nullptr;
    QtMessageHandler previous_;
};

TEST(LoadPropertiesTest, AGoodSetLoadsWithoutAWord) {
    PropertyBag bag;
    bag.SetText("Caption", "登 陆");
    bag.SetInteger("FontSize", 9);
    N_Shape button(nullptr, "N_Shape2");
    WarningLog log;
    EXPECT_TRUE(controls::LoadProperties(button, bag));
    EXPECT_EQ(button.Caption(), "登 陆");
    EXPECT_TRUE(log.lines.isEmpty()) << log.lines.join('\n').toStdString();
}

#ifdef QT_NO_DEBUG

// A release build goes on with what was read, and says which control and which key failed.
TEST(LoadPropertiesTest, AFailedSetIsLoggedWithTheControlAndTheKey) {
    PropertyBag shape;
    shape.SetText("Caption", "登 陆");
    shape.SetText("FontSize", "nine");
    N_Shape button(nullptr, "N_Shape2");
    PropertyBag entry;
    entry.SetText("MaxLength", "ten");
    N_TextBox box(nullptr, "N_TextBox3");
    PropertyBag exit;
    exit.SetText("cBackStyle", "see-through");
    iButton exitButton;
    exitButton.setObjectName("iButton1");

    WarningLog log;
    EXPECT_FALSE(controls::LoadProperties(button, shape));
    EXPECT_FALSE(controls::LoadProperties(box, entry));
    EXPECT_FALSE(controls::LoadProperties(exitButton, exit));
    EXPECT_EQ(button.Caption(), "登 陆");
    EXPECT_EQ(log.lines,
              (QStringList{"N_Shape2: the stored property FontSize could not be read",
                           "N_TextBox3: the stored property MaxLength could not be read",
                           "iButton1: the stored property cBackStyle could not be read"}));
}

#else

TEST(LoadPropertiesDeathTest, AFailedSetStopsADebugBuildAfterLoggingTheKey) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    PropertyBag shape;
    shape.SetText("FontSize", "nine");
    N_Shape button(nullptr, "N_Shape2");
    EXPECT_DEATH(controls::LoadProperties(button, shape),
                 "N_Shape2: the stored property FontSize could not be read");
}

#endif

}  // namespace
