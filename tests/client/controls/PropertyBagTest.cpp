// Stored property sets, colours, twips and the event codes shared by the controls.

#include "client/controls/InputCodes.h"
#include "client/controls/OleColor.h"
#include "client/controls/PropertyBag.h"
#include "client/controls/PropertyJson.h"
#include "client/controls/PropertyReadWrite.h"
#include "client/controls/Twips.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace controls;
using ::testing::ElementsAre;

namespace {

QPixmap TwoColourPicture() {
    QPixmap picture(4, 2);
    picture.fill(Qt::red);
    QPainter painter(&picture);
    painter.fillRect(2, 0, 2, 2, Qt::blue);
    return picture;
}

}  // namespace

TEST(OleColorTest, LowByteIsRedAndSystemColoursComeFromThePalette) {
    EXPECT_EQ(FromOle(0x00D05C28), QColor(0x28, 0x5C, 0xD0));
    EXPECT_EQ(ToOle(QColor(0x28, 0x5C, 0xD0)), 0x00D05C28u);
    EXPECT_EQ(OleFromRgb(0x008000), 0x00008000u);
    EXPECT_EQ(OleFromRgb(0x00C0C0), 0x00C0C000u);
    EXPECT_EQ(FromOle(OleFromRgb(0xF2F1EF)), QColor(0xF2, 0xF1, 0xEF));
    // The sign-in window's hint colour is the button-shadow grey.
    EXPECT_EQ(FromOle(0x80000010), QColor(0xA0, 0xA0, 0xA0));
    EXPECT_EQ(FromOle(0x80000012), QGuiApplication::palette().color(QPalette::ButtonText));
    EXPECT_EQ(FromOle(0x8000000F), QGuiApplication::palette().color(QPalette::Button));
    EXPECT_EQ(FromOle(0x80000005), QGuiApplication::palette().color(QPalette::Base));
    EXPECT_TRUE(IsSystemColor(SystemColor(18)));
    EXPECT_FALSE(IsSystemColor(0x00FFFFFF));
    EXPECT_TRUE(FromOle(0x800000FE).isValid());
}

TEST(TwipsTest, FifteenTwipsToThePixel) {
    EXPECT_EQ(PixelsToTwips(233), 3495);
    EXPECT_EQ(TwipsToPixels(3495), 233);
    EXPECT_EQ(TwipsToPixels(300), 20);
    EXPECT_EQ(TwipsToPixels(97), 6);
    EXPECT_EQ(TwipsToPixels(98), 7);
    EXPECT_EQ(TwipsToPixels(-45), -3);
}

TEST(InputCodesTest, KeysButtonsAndShiftUseThePlatformNumbers) {
    const auto key = [](int qtKey, Qt::KeyboardModifiers mods = {}, const QString& text = {}) {
        return QKeyEvent(QEvent::KeyPress, qtKey, mods, text);
    };
    EXPECT_EQ(KeyCode(key(Qt::Key_Return)), 13);
    EXPECT_EQ(KeyCode(key(Qt::Key_Enter, Qt::KeypadModifier)), 13);
    EXPECT_EQ(KeyCode(key(Qt::Key_Left)), 37);
    EXPECT_EQ(KeyCode(key(Qt::Key_Down)), 40);
    EXPECT_EQ(KeyCode(key(Qt::Key_A, {}, "a")), 65);
    EXPECT_EQ(KeyCode(key(Qt::Key_Exclam, Qt::ShiftModifier, "!")), '1');
    EXPECT_EQ(KeyCode(key(Qt::Key_5, Qt::KeypadModifier, "5")), 101);
    EXPECT_EQ(KeyCode(key(Qt::Key_F1)), 112);

    EXPECT_EQ(CharacterCode(key(Qt::Key_A, {}, "a")), 'a');
    EXPECT_EQ(CharacterCode(key(Qt::Key_Backspace, {}, "\b")), 8);
    EXPECT_EQ(CharacterCode(key(Qt::Key_Return, {}, "\r")), 13);
    EXPECT_EQ(CharacterCode(key(Qt::Key_Delete, {}, QString(QChar(0x7F)))), std::nullopt);
    EXPECT_EQ(CharacterCode(key(Qt::Key_Right)), std::nullopt);

    EXPECT_EQ(ButtonsCode(Qt::LeftButton | Qt::MiddleButton), 5);
    EXPECT_EQ(ButtonCode(Qt::RightButton), 2);
    EXPECT_EQ(ShiftCode(Qt::ShiftModifier | Qt::AltModifier), 5);
}

TEST(PropertyBagTest, KeepsKeyOrderAndReplacesInPlace) {
    PropertyBag bag;
    bag.SetText("Caption", "a");
    bag.SetInteger("FontSize", 9);
    bag.SetBoolean("Enabled", false);
    bag.SetText("Caption", "b");
    EXPECT_THAT(bag.Keys(), ElementsAre("Caption", "FontSize", "Enabled"));
    EXPECT_EQ(AsText(*bag.Find("Caption")), "b");
    EXPECT_EQ(bag.Find("caption"), nullptr);
    ASSERT_NE(bag.Find("caption", Qt::CaseInsensitive), nullptr);
}

TEST(PropertyBagTest, JsonRoundTripKeepsEveryType) {
    PropertyBag bag;
    bag.SetText("Caption", "登 陆");
    bag.SetInteger("MaxLength", 20);
    bag.SetBoolean("Header", true);
    bag.SetColor("cForeColor", 0x80000012);
    QFont font("宋体");
    font.setPointSize(9);
    font.setItalic(true);
    bag.SetFont("cFont", font, 134);
    bag.SetPicture("BackPicture", TwoColourPicture());
    bag.SetPicture("Picture_Hover", QPixmap());

    const QByteArray json = bag.ToJson();
    EXPECT_TRUE(json.contains("&H80000012&")) << json.constData();
    QString error;
    const auto back = PropertyBag::FromJson(json, &error);
    ASSERT_TRUE(back) << error.toStdString();
    EXPECT_EQ(back->Keys(), bag.Keys());
    EXPECT_EQ(AsText(*back->Find("Caption")), "登 陆");
    EXPECT_EQ(AsInteger(*back->Find("MaxLength")), 20);
    EXPECT_EQ(AsBoolean(*back->Find("Header")), true);
    EXPECT_EQ(AsColor(*back->Find("cForeColor")), 0x80000012u);
    const auto stored = AsFont(*back->Find("cFont"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->font.family(), "宋体");
    EXPECT_EQ(stored->font.pointSize(), 9);
    EXPECT_TRUE(stored->font.italic());
    EXPECT_FALSE(stored->font.bold());
    EXPECT_EQ(stored->charset, 134);
    const auto picture = AsPicture(*back->Find("BackPicture"));
    ASSERT_TRUE(picture && !picture->isNull());
    const QImage image = picture->toImage();
    EXPECT_EQ(image.size(), QSize(4, 2));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(3, 1), QColor(Qt::blue));
    EXPECT_TRUE(AsPicture(*back->Find("Picture_Hover"))->isNull());
}

TEST(PropertyBagTest, ColoursReadInEveryWrittenForm) {
    EXPECT_EQ(ParseColorText("&H8080FF"), 0x008080FFu);
    EXPECT_EQ(ParseColorText("&H00FFFF80&"), 0x00FFFF80u);
    EXPECT_EQ(ParseColorText("#285CD0"), 0x00D05C28u);
    EXPECT_EQ(ParseColorText("0x80000012"), 0x80000012u);
    EXPECT_EQ(ParseColorText("16777215"), 0x00FFFFFFu);
    EXPECT_EQ(ParseColorText("#12345"), std::nullopt);
    EXPECT_EQ(ParseColorText("&H"), std::nullopt);
    EXPECT_EQ(ParseColorText("red"), std::nullopt);
    EXPECT_EQ(ColorText(0x00D05C28), "&H00D05C28&");

    const auto bag = PropertyBag::FromJson(R"([{"key": "a", "color": "#00C0C0"},
                                               {"key": "b", "color": 255},
                                               {"key": "c", "color": "&H80000010&"}])");
    ASSERT_TRUE(bag);
    EXPECT_EQ(AsColor(*bag->Find("a")), 0x00C0C000u);
    EXPECT_EQ(AsColor(*bag->Find("b")), 0x000000FFu);
    EXPECT_EQ(AsColor(*bag->Find("c")), 0x80000010u);
}

TEST(PropertyBagTest, MalformedSetsAreRefusedWithAReason) {
    QString error;
    EXPECT_FALSE(PropertyBag::FromJson("{\"key\": 1}", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(PropertyBag::FromJson(R"([{"text": "no key"}])", &error));
    EXPECT_FALSE(PropertyBag::FromJson(R"([{"key": "FontSize", "integer": 8.5}])", &error));
    EXPECT_FALSE(PropertyBag::FromJson(R"([{"key": "Enabled", "boolean": "maybe"}])", &error));
    EXPECT_FALSE(PropertyBag::FromJson(R"([{"key": "Back", "color": "#GG0000"}])", &error));
    EXPECT_FALSE(
        PropertyBag::FromJson(R"([{"key": "Picture", "picture": "/no/such.png"}])", &error));
    EXPECT_TRUE(error.contains("Picture"));
    EXPECT_FALSE(PropertyBag::FromJson(R"([{"key": "Font", "font": {"size": 9}}])", &error));
    EXPECT_FALSE(PropertyBag::FromJson(R"([{"key": "Nothing"}])", &error));

    const auto lenient = PropertyBag::FromJson(
        R"([{"key": "a", "boolean": "True"}, {"key": "b", "integer": "&H10"}])");
    ASSERT_TRUE(lenient);
    EXPECT_EQ(AsBoolean(*lenient->Find("a")), true);
    EXPECT_EQ(AsInteger(*lenient->Find("b")), 16);
}

TEST(PropertyBagTest, WindowSetsReadAsOneObjectOfNamedSets) {
    QString error;
    const auto sets = ReadPropertySets(R"({"N_Shape2": [{"key": "Caption", "text": "登 陆"}],
                                            "N_Image1": []})",
                                       &error);
    ASSERT_TRUE(sets) << error.toStdString();
    EXPECT_EQ(sets->size(), 2u);
    EXPECT_EQ(AsText(*sets->at("N_Shape2").Find("Caption")), "登 陆");
    EXPECT_TRUE(sets->at("N_Image1").IsEmpty());
    EXPECT_FALSE(ReadPropertySets(R"({"N_Shape2": [{"key": "x", "integer": "y"}]})", &error));
    EXPECT_TRUE(error.startsWith("N_Shape2"));
}

TEST(PropertyReaderTest, MissingKeysTakeDefaultsAndAFailingKeyStopsTheRest) {
    PropertyBag bag;
    bag.SetText("First", "1");
    bag.SetText("Second", "not a number");
    bag.SetInteger("Third", 3);
    PropertyReader reader(bag, Qt::CaseSensitive);
    QStringList applied;
    reader.Text("First", "-", [&](const QString& v) { applied << "First=" + v; });
    reader.Boolean("Absent", true, [&](bool v) { applied << QString("Absent=%1").arg(v); });
    reader.Integer("Second", 0, 0, 10, [&](qint64) { applied << "Second"; });
    reader.Integer("Third", 0, 0, 10, [&](qint64) { applied << "Third"; });
    EXPECT_THAT(applied, ElementsAre("First=1", "Absent=1"));
    EXPECT_FALSE(reader.Ok());
    EXPECT_EQ(reader.FailedKey(), "Second");
}

TEST(PropertyReaderTest, RangesAndLetterCaseFollowTheControl) {
    PropertyBag bag;
    bag.SetInteger("fontsize", 70000);
    PropertyReader exact(bag, Qt::CaseSensitive);
    qint64 got = -1;
    exact.Integer("FontSize", 8, -32768, 32767, [&](qint64 v) { got = v; });
    EXPECT_EQ(got, 8);
    PropertyReader anyCase(bag, Qt::CaseInsensitive);
    anyCase.Integer("FontSize", 8, -32768, 32767, [&](qint64 v) { got = v; });
    EXPECT_FALSE(anyCase.Ok());
}

TEST(PropertyWriterTest, DefaultsAreLeftOutWhereAsked) {
    PropertyBag bag;
    PropertyWriter writer(bag);
    writer.Boolean("Stretch", false, false);
    writer.Boolean("Enabled", false, true);
    writer.Color("BackGround", 0x00FF8080, 0x00FF8080);
    writer.Integer("cDrawMode", 13);
    writer.PictureIfAny("Picture", QPixmap());
    writer.PictureIfAny("PictureDown", TwoColourPicture());
    EXPECT_THAT(bag.Keys(), ElementsAre("Enabled", "cDrawMode", "PictureDown"));
}

TEST(PictureHandleTest, CopiesShareAHandleAndEmptyIsZero) {
    const QPixmap a = TwoColourPicture();
    const QPixmap copy = a;
    const QPixmap b = TwoColourPicture();
    EXPECT_EQ(PictureHandle(QPixmap()), 0);
    EXPECT_NE(PictureHandle(a), 0);
    EXPECT_EQ(PictureHandle(a), PictureHandle(copy));
    EXPECT_NE(PictureHandle(a), PictureHandle(b));
}
