// N_TextBox: masking, typing filters, alignment, layout in twips, label and header modes,
// stored sets and the focus rules the sign-in window relies on.

#include "ControlsTestSupport.h"
#include "TextEntry.h"
#include "client/controls/N_TextBox.h"
#include "client/controls/OleColor.h"
#include "client/controls/Twips.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using controls::PropertyBag;
using controls::TwipsToPixels;
using controls_test::HostWindow;
using controls_test::WaitUntil;
using ::testing::ElementsAre;

namespace {

// A box set up like the sign-in window's, inside a shown and active window.
struct SignInBox {
    HostWindow window;
    N_TextBox* box = new N_TextBox(&window, "N_TextBox1");
    N_TextBox* other = new N_TextBox(&window, "N_TextBox2");

    SignInBox() {
        box->setGeometry(48, 72, 233, 25);
        other->setGeometry(48, 120, 233, 25);
        box->SetText("");
    }
};

}  // namespace

TEST(N_TextBoxTest, NewBoxHasItsDesignState) {
    N_TextBox box(nullptr, "N_TextBox3");
    EXPECT_EQ(box.Text(), "N_TextBox3");
    EXPECT_EQ(box.Font().family(), "Arial");
    EXPECT_DOUBLE_EQ(box.Font().pointSizeF(), 8.25);
    EXPECT_TRUE(box.Font().bold());
    EXPECT_EQ(box.ForeColor(), 0x00D05C28u);
    EXPECT_EQ(box.BorderColor(), 0x00D05C28u);
    EXPECT_EQ(box.BackColor(), 0x00FFFFFFu);
    EXPECT_EQ(box.AlignementHorizontal(), 0);
    EXPECT_EQ(box.AlignementVertical(), 1);
    EXPECT_EQ(box.HeaderAlignement(), 2);
    EXPECT_EQ(box.HeaderCaption(), "Header");
    EXPECT_EQ(box.HeaderForeColor(), 0x80000008u);
    EXPECT_EQ(box.HeaderFont().family(), "Verdana");
    EXPECT_TRUE(box.SelOnFocus());
    EXPECT_FALSE(box.NumberBox());
    EXPECT_FALSE(box.Header());
    EXPECT_FALSE(box.LabelBox());
    EXPECT_EQ(box.MaxLength(), 0);
    EXPECT_EQ(box.PasswordChar(), "");
    EXPECT_EQ(box.lbl()->text(), "N_TextBox3");
}

TEST(N_TextBoxTest, PasswordCharKeepsOneCharacterAndWingdingsLShowsCircles) {
    N_TextBox box;
    box.SetText("abc");
    box.SetPasswordChar("ab");
    EXPECT_EQ(box.PasswordChar(), "a");
    EXPECT_EQ(box.txt()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(box.txt()->displayText(), "aaa");

    box.SetPasswordChar("l");
    EXPECT_EQ(box.txt()->displayText(), "lll");
    box.SetFontName("Wingdings");
    EXPECT_EQ(box.MaskCharacter(), QChar(0x25CF));
    EXPECT_EQ(box.txt()->displayText(), QString(3, QChar(0x25CF)));
    EXPECT_EQ(box.Text(), "abc");

    box.SetPasswordChar("*");
    EXPECT_EQ(box.txt()->displayText(), "***");
    // The sign-in window's restore-to-hint rule: no mask, back to Arial.
    box.SetPasswordChar("");
    box.SetFontName("Arial");
    EXPECT_EQ(box.txt()->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(box.txt()->displayText(), "abc");
    EXPECT_TRUE(box.MaskCharacter().isNull());
}

TEST(N_TextBoxTest, AlignmentsClampAboveTwoAndRefuseNegatives) {
    N_TextBox box;
    EXPECT_TRUE(box.SetAlignementHorizontal(7));
    EXPECT_EQ(box.AlignementHorizontal(), 2);
    EXPECT_TRUE(box.txt()->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(box.lbl()->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(box.SetAlignementHorizontal(1));
    EXPECT_TRUE(box.txt()->alignment() & Qt::AlignRight);
    EXPECT_FALSE(box.SetAlignementHorizontal(-1));
    EXPECT_EQ(box.AlignementHorizontal(), 1);
    EXPECT_TRUE(box.SetAlignementVertical(9));
    EXPECT_EQ(box.AlignementVertical(), 2);
    EXPECT_FALSE(box.SetAlignementVertical(-2));
    EXPECT_TRUE(box.SetHeaderAlignement(3));
    EXPECT_EQ(box.HeaderAlignement(), 2);
    EXPECT_FALSE(box.SetHeaderAlignement(-1));
}

TEST(N_TextBoxTest, ChangeOnlyWhenTheTextReallyChanges) {
    N_TextBox box;
    box.SetText("请输入用户名");
    QSignalSpy change(&box, &N_TextBox::Change);
    box.SetText("请输入用户名");
    EXPECT_EQ(change.count(), 0);
    box.SetText("");
    EXPECT_EQ(change.count(), 1);
    EXPECT_EQ(box.lbl()->text(), "");
    // lbl's caption is already updated when Change arrives.
    QString labelAtChange;
    QObject::connect(&box, &N_TextBox::Change, &box, [&] { labelAtChange = box.lbl()->text(); });
    box.SetText("12345");
    EXPECT_EQ(labelAtChange, "12345");
}

TEST(N_TextBoxTest, NumberBoxFiltersAfterTheKeyPressHandler) {
    SignInBox s;
    ASSERT_TRUE(s.window.ShowAndWait(true));
    s.box->SetNumberBox(true);
    s.box->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return s.box->txt()->hasFocus(); }));

    QTest::keyClicks(s.box->txt(), "1a-");
    QTest::keyClick(s.box->txt(), Qt::Key_Return);
    EXPECT_EQ(s.box->Text(), "1");
    QTest::keyClicks(s.box->txt(), "5");
    EXPECT_EQ(s.box->Text(), "15");
    QTest::keyClick(s.box->txt(), Qt::Key_Backspace);
    EXPECT_EQ(s.box->Text(), "1");

    QList<int> seen;
    QObject::connect(s.box, &N_TextBox::KeyPress, s.box, [&](int& keyAscii) {
        seen << keyAscii;
        if (keyAscii == 'a')
            keyAscii = '5';
    });
    QTest::keyClicks(s.box->txt(), "ab");
    EXPECT_EQ(s.box->Text(), "15");
    EXPECT_THAT(seen, ElementsAre('a', 'b'));
}

// Typed keys are not the only way in: the number mode and a window's filter also hold for
// input-method commits, pastes and drops, while assigned texts pass unchanged.
TEST(N_TextBoxTest, FiltersHoldForEveryWayTextComesIn) {
    SignInBox s;
    ASSERT_TRUE(s.window.ShowAndWait(true));
    s.box->SetNumberBox(true);
    s.box->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return s.box->txt()->hasFocus(); }));
    text_entry::Commit(s.box->txt(), "三1");
    text_entry::Paste(s.box->txt(), "a2b");
    text_entry::Drop(s.box->txt(), "-3");
    EXPECT_EQ(s.box->Text(), "123");
    EXPECT_EQ(s.box->txt()->cursorPosition(), 3);

    // Pasted over a selection in the middle, the cursor lands after what was kept.
    s.box->txt()->setSelection(1, 1);
    text_entry::Paste(s.box->txt(), "x9y8z");
    EXPECT_EQ(s.box->Text(), "1983");
    EXPECT_EQ(s.box->txt()->cursorPosition(), 3);

    s.box->SetText("请输入用户名");
    EXPECT_EQ(s.box->Text(), "请输入用户名");

    s.box->SetNumberBox(false);
    s.box->SetText("");
    s.box->SetTextFilter(controls::SmallLettersAndDigits);
    text_entry::Commit(s.box->txt(), "Love你520");
    text_entry::Paste(s.box->txt(), " ME!");
    EXPECT_EQ(s.box->Text(), "love520me");

    // A paste that would pass the limit is refused whole.
    s.box->SetMaxLength(10);
    text_entry::Paste(s.box->txt(), "ABC");
    EXPECT_EQ(s.box->Text(), "love520me");
    text_entry::Paste(s.box->txt(), "-a-");
    EXPECT_EQ(s.box->Text(), "love520mea");
}

TEST(N_TextBoxTest, KeyPressHandlerCanDropOrReplaceCharactersInAnyBox) {
    SignInBox s;
    ASSERT_TRUE(s.window.ShowAndWait(true));
    s.box->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return s.box->txt()->hasFocus(); }));
    QObject::connect(s.box, &N_TextBox::KeyPress, s.box, [](int& keyAscii) {
        if (keyAscii == 'x')
            keyAscii = 0;
        if (keyAscii == 'y')
            keyAscii = 'Z';
    });
    QStringList order;
    QObject::connect(s.box, &N_TextBox::KeyDown, s.box, [&] { order << "KeyDown"; });
    QObject::connect(s.box, &N_TextBox::KeyPress, s.box, [&] { order << "KeyPress"; });
    QObject::connect(s.box, &N_TextBox::Change, s.box, [&] { order << "Change"; });
    QObject::connect(s.box, &N_TextBox::KeyUp, s.box, [&] { order << "KeyUp"; });
    QTest::keyClicks(s.box->txt(), "axy");
    EXPECT_EQ(s.box->Text(), "aZ");
    EXPECT_THAT(order.mid(0, 4), ElementsAre("KeyDown", "KeyPress", "Change", "KeyUp"));
}

TEST(N_TextBoxTest, MaxLengthLimitsTypingButNotAssignment) {
    SignInBox s;
    ASSERT_TRUE(s.window.ShowAndWait(true));
    s.box->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return s.box->txt()->hasFocus(); }));
    s.box->SetMaxLength(3);
    QTest::keyClicks(s.box->txt(), "12345");
    EXPECT_EQ(s.box->Text(), "123");

    // A long hint fits whatever the limit, and typing into it adds nothing.
    s.box->SetText("请输入手机号码（找回密码时使用)");
    EXPECT_EQ(s.box->Text().size(), 16);
    s.box->txt()->end(false);
    QTest::keyClicks(s.box->txt(), "9");
    EXPECT_EQ(s.box->Text().size(), 16);
    QTest::keyClick(s.box->txt(), Qt::Key_Backspace);
    EXPECT_EQ(s.box->Text().size(), 15);

    s.box->SetMaxLength(0);
    s.box->SetText("");
    QTest::keyClicks(s.box->txt(), "123456789012");
    EXPECT_EQ(s.box->Text(), "123456789012");
    EXPECT_FALSE(s.box->ChangedProperties().contains("MaxLength"));
}

TEST(N_TextBoxTest, FocusSelectsAllAndIsReportedToTheWindow) {
    SignInBox s;
    ASSERT_TRUE(s.window.ShowAndWait(true));
    s.box->SetText("12345");
    s.other->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return s.other->txt()->hasFocus(); }));
    QSignalSpy got(s.box, &N_TextBox::GotFocus);
    QSignalSpy lost(s.box, &N_TextBox::LostFocus);
    QTest::keyClick(s.other->txt(), Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(WaitUntil([&] { return s.box->txt()->hasFocus(); }));
    EXPECT_EQ(got.count(), 1);
    EXPECT_EQ(s.box->txt()->selectedText(), "12345");
    EXPECT_EQ(s.box->txt()->selectionStart(), 0);
    QTest::keyClick(s.box->txt(), Qt::Key_Tab);
    ASSERT_TRUE(WaitUntil([&] { return s.other->txt()->hasFocus(); }));
    EXPECT_EQ(lost.count(), 1);

    s.box->SetSelOnFocus(false);
    s.box->txt()->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(WaitUntil([&] { return s.box->txt()->hasFocus(); }));
    EXPECT_EQ(s.box->txt()->selectedText(), "");
}

// Leaving the window and coming back is no focus change; a box clicked while the window was
// inactive gains the focus when the window comes back, and the box that had it loses it.
TEST(N_TextBoxTest, FocusSurvivesTheWindowGoingAwayAndComingBack) {
    SignInBox s;
    ASSERT_TRUE(s.window.ShowAndWait(true));
    s.other->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(WaitUntil([&] { return s.other->txt()->hasFocus(); }));
    QSignalSpy gotBox(s.box, &N_TextBox::GotFocus);
    QSignalSpy gotOther(s.other, &N_TextBox::GotFocus);
    QSignalSpy lostOther(s.other, &N_TextBox::LostFocus);

    HostWindow elsewhere;
    ASSERT_TRUE(elsewhere.ShowAndWait(true));
    s.window.activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return s.other->txt()->hasFocus(); }));
    EXPECT_EQ(gotOther.count(), 0);
    EXPECT_EQ(lostOther.count(), 0);

    elsewhere.activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return !s.window.isActiveWindow(); }));
    s.box->setFocus(Qt::MouseFocusReason);
    s.window.activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return s.box->txt()->hasFocus(); }));
    EXPECT_EQ(gotBox.count(), 1);
    EXPECT_EQ(lostOther.count(), 1);
}

TEST(N_TextBoxTest, ResizeRaisesTooSmallSizesToTheMinimum) {
    HostWindow window;
    auto* box = new N_TextBox(&window);
    box->resize(TwipsToPixels(100), TwipsToPixels(30));
    ASSERT_TRUE(window.ShowAndWait());
    EXPECT_EQ(controls::PixelsToTwips(box->width()), 300);
    EXPECT_EQ(controls::PixelsToTwips(box->height()), 60);
    EXPECT_EQ(box->ShpBorderGeometry().width(), 300);
    EXPECT_EQ(box->TxtGeometry().width(), 300 - 90);
}

TEST(N_TextBoxTest, SignInSizeCentresTheLineThreePixelsIn) {
    HostWindow window;
    auto* box = new N_TextBox(&window);
    box->setGeometry(48, 72, 233, 25);
    ASSERT_TRUE(window.ShowAndWait());
    EXPECT_EQ(box->ShpBorderGeometry(), QRect(0, 0, 3495, 375));
    EXPECT_EQ(box->txt()->geometry().left(), 3);
    EXPECT_EQ(box->txt()->width(), 227);
    const int lineTwips = controls::PixelsToTwips(QFontMetrics(box->Font()).height());
    EXPECT_EQ(box->LblGeometry().top(), (375 - lineTwips) / 2);
    EXPECT_EQ(box->TxtGeometry().top(), box->LblGeometry().top());
    const QRect edit = box->txt()->geometry();
    EXPECT_NEAR(edit.center().y(), 12, 1);
    EXPECT_LT(edit.bottom(), 24);  // the bottom border stays visible
}

TEST(N_TextBoxTest, HeaderMovesTheRectangleDownAndKeepsTheLineCentred) {
    HostWindow window;
    auto* box = new N_TextBox(&window);
    box->setGeometry(10, 10, 233, 50);
    ASSERT_TRUE(window.ShowAndWait());
    const QRect without = box->ShpBorderGeometry();
    box->SetHeader(true);
    const int header = controls::PixelsToTwips(QFontMetrics(box->HeaderFont()).height());
    const QRect with = box->ShpBorderGeometry();
    EXPECT_EQ(with.top(), header + 15);
    EXPECT_EQ(with.height(), without.height() - header - 15);
    EXPECT_EQ(box->HeaderGeometry(), QRect(0, 0, 3495, header));
    EXPECT_TRUE(box->lblHeader()->isVisible());
    const QRect lbl = box->LblGeometry();
    EXPECT_NEAR(lbl.center().y(), with.center().y(), 15);

    box->SetAlignementVertical(0);
    EXPECT_EQ(box->LblGeometry().top(), with.top() + 15);
    box->SetAlignementVertical(2);
    EXPECT_EQ(box->LblGeometry().bottom() + 1, with.bottom() + 1 - 15);
}

TEST(N_TextBoxTest, LabelModeShowsTheTextAsALabel) {
    HostWindow window;
    auto* box = new N_TextBox(&window);
    box->setGeometry(10, 10, 233, 25);
    ASSERT_TRUE(window.ShowAndWait());
    box->SetLabelBox(true);
    EXPECT_TRUE(box->LabelBox());
    EXPECT_TRUE(box->lbl()->isVisible());
    EXPECT_FALSE(box->txt()->isVisible());
    box->SetText("页面风格");
    EXPECT_EQ(box->lbl()->text(), "页面风格");
    box->SetLabelBox(false);
    EXPECT_TRUE(box->txt()->isVisible());
    EXPECT_FALSE(box->lbl()->isVisible());
}

TEST(N_TextBoxTest, StoredSetReadsKeysInAnyCaseWithoutMarkingChanges) {
    PropertyBag bag;
    bag.SetText("TEXT", "请输入密码");
    bag.SetColor("forecolor", controls::SystemColor(16));
    bag.SetColor("BorderColor", controls::OleFromRgb(0x008000));
    bag.SetFont("font", controls::MakeFont("Arial", 8.25, true));
    bag.SetInteger("alignementhorizontal", 0);
    bag.SetBoolean("NUMBERBOX", true);
    bag.SetInteger("MaxLength", 20);
    bag.SetText("PasswordChar", "*");
    N_TextBox box;
    ASSERT_TRUE(box.ReadProperties(bag));
    EXPECT_EQ(box.Text(), "请输入密码");
    EXPECT_EQ(box.ForeColor(), 0x80000010u);
    EXPECT_EQ(box.BorderColor(), 0x00008000u);
    EXPECT_TRUE(box.Font().bold());
    EXPECT_EQ(box.AlignementHorizontal(), 0);
    EXPECT_TRUE(box.NumberBox());
    EXPECT_EQ(box.MaxLength(), 20);
    EXPECT_EQ(box.PasswordChar(), "*");
    EXPECT_TRUE(box.ChangedProperties().isEmpty());

    box.SetForeColor(0);
    box.SetMaxLength(5);
    EXPECT_THAT(box.ChangedProperties(), ElementsAre("ForeColor"));
}

TEST(N_TextBoxTest, EmptySetTakesTheLoadDefaults) {
    N_TextBox box;
    box.SetHeaderCaption("x");
    ASSERT_TRUE(box.ReadProperties(PropertyBag()));
    EXPECT_EQ(box.Text(), "");
    EXPECT_EQ(box.AlignementHorizontal(), 1);
    EXPECT_EQ(box.HeaderAlignement(), 1);
    EXPECT_EQ(box.Font().family(), "Arial");
    EXPECT_FALSE(box.Font().bold());
    EXPECT_EQ(box.HeaderFont().family(), "Verdana");
    EXPECT_EQ(box.HeaderForeColor(), 0x00D05C28u);
    EXPECT_EQ(box.HeaderCaption(), "Header");
    EXPECT_TRUE(box.SelOnFocus());
    EXPECT_TRUE(box.Enabled());

    PropertyBag bad;
    bad.SetText("Text", "kept");
    bad.SetInteger("AlignementHorizontal", -1);
    bad.SetBoolean("NumberBox", true);
    EXPECT_FALSE(box.ReadProperties(bad));
    EXPECT_EQ(box.Text(), "kept");
    EXPECT_FALSE(box.NumberBox());
}

TEST(N_TextBoxTest, WrittenSetHasEveryKeyInDeclaredOrderAndReadsBack) {
    N_TextBox first;
    first.SetText("13800000000");
    first.SetHeader(true);
    first.SetEnabled(false);
    first.SetLocked(true);
    first.SetPasswordChar("#");
    const PropertyBag bag = first.WriteProperties();
    EXPECT_THAT(
        bag.Keys(),
        ElementsAre("FONT", "ForeColor", "BorderColor", "BackColor", "MaxLength", "Text",
                    "AlignementHorizontal", "AlignementVertical", "NumberBox", "SelOnFocus",
                    "LabelBox", "Enabled", "Locked", "PasswordChar", "Header", "HeaderAlignement",
                    "HeaderForeColor", "HeaderBackColor", "HeaderFont", "HeaderCaption"));
    N_TextBox second;
    ASSERT_TRUE(second.ReadProperties(bag));
    EXPECT_EQ(second.Text(), "13800000000");
    EXPECT_TRUE(second.Header());
    EXPECT_FALSE(second.Enabled());
    EXPECT_TRUE(second.Locked());
    EXPECT_EQ(second.PasswordChar(), "#");
    EXPECT_EQ(second.AlignementHorizontal(), 0);
    EXPECT_EQ(second.HeaderAlignement(), 2);
    EXPECT_TRUE(second.Font().bold());
}

TEST(N_TextBoxTest, MouseEventsOfTheBoxArriveInTwipsWithAClick) {
    SignInBox s;
    ASSERT_TRUE(s.window.ShowAndWait(true));
    QSignalSpy down(s.box, &N_TextBox::MouseDown);
    QSignalSpy click(s.box, &N_TextBox::Click);
    QTest::mouseClick(s.box->txt(), Qt::LeftButton, {}, QPoint(10, 5));
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down.at(0).at(0).toInt(), 1);
    EXPECT_DOUBLE_EQ(down.at(0).at(2).toDouble(), 150.0);
    EXPECT_DOUBLE_EQ(down.at(0).at(3).toDouble(), 75.0);
    EXPECT_EQ(click.count(), 1);
    QTest::mouseClick(s.box->txt(), Qt::RightButton, {}, QPoint(10, 5));
    EXPECT_EQ(click.count(), 1);
}
