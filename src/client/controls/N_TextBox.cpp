#include "client/controls/N_TextBox.h"

#include "client/controls/InputCodes.h"
#include "client/controls/OleColor.h"
#include "client/controls/PropertyTable.h"
#include "client/controls/Twips.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QValidator>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

using controls::FromOle;
using controls::PixelsToTwips;
using controls::TwipsToPixels;

namespace {

// Twips from the left of the rectangle to the box: the margin the box leaves on each side.
constexpr int kBoxLeft = 45;
constexpr int kMinWidth = 300;
constexpr int kMinHeight = 60;
constexpr int kLine = controls::kTwipsPerPixel;

// The masking character "l" of the sign-in window's password boxes is a filled circle in the
// font "Wingdings", which Linux does not have.
constexpr char16_t kFilledCircle = 0x25CF;

Qt::Alignment HorizontalAlignment(int alignment) {
    switch (alignment) {
        case 1:
            return Qt::AlignRight;
        case 2:
            return Qt::AlignHCenter;
        default:
            return Qt::AlignLeft;
    }
}

// Colours of some roles of a widget's palette. A palette change is costly (it travels to
// every child), so the widget's palette is set once, and only when a colour really changes.
void SetColors(QWidget* widget,
               std::initializer_list<std::pair<QPalette::ColorRole, quint32>> colours) {
    QPalette palette = widget->palette();
    bool changed = false;
    for (const auto& [role, ole] : colours) {
        const QColor colour = FromOle(ole);
        if (palette.color(role) != colour || !(palette.resolveMask() & (1ull << role))) {
            palette.setColor(role, colour);
            changed = true;
        }
    }
    if (changed)
        widget->setPalette(palette);
}

// Asks the edit box that uses it which character masks its text.
class MaskStyle : public QProxyStyle {
public:
    explicit MaskStyle(std::function<QChar()> mask) : mask_(std::move(mask)) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_LineEdit_PasswordCharacter && !mask_().isNull())
            return mask_().unicode();
        return QProxyStyle::styleHint(hint, option, widget, data);
    }

private:
    std::function<QChar()> mask_;
};

}  // namespace

class N_TextBox::Edit : public QLineEdit {
public:
    Edit(N_TextBox* owner) : QLineEdit(owner), owner_(owner) {
        setFrame(false);
        setMouseTracking(true);
        style_ = std::make_unique<MaskStyle>([this] { return mask; });
        setStyle(style_.get());
    }
    // The masking style must outlive the box's use of it.
    ~Edit() override { setStyle(nullptr); }

    QChar mask;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        emit owner_->KeyDown(controls::KeyCode(*event), controls::ShiftCode(event->modifiers()));
        const auto typed = controls::CharacterCode(*event);
        if (!typed) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        int keyAscii = *typed;
        emit owner_->KeyPress(keyAscii);
        if (owner_->numberBox_ && !(keyAscii >= '0' && keyAscii <= '9') &&
            keyAscii != controls::kKeyBackspace)
            keyAscii = 0;
        if (keyAscii == *typed) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        event->accept();
        // The handler changed the character: the box gets the one it left.
        if (keyAscii == controls::kKeyBackspace) {
            QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier,
                                QStringLiteral("\b"));
            QLineEdit::keyPressEvent(&backspace);
        } else if (keyAscii >= 32 && keyAscii <= 0xFFFF) {
            QKeyEvent typedKey(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                               QString(QChar(char16_t(keyAscii))));
            QLineEdit::keyPressEvent(&typedKey);
        }
    }

    void keyReleaseEvent(QKeyEvent* event) override {
        QLineEdit::keyReleaseEvent(event);
        emit owner_->KeyUp(controls::KeyCode(*event), controls::ShiftCode(event->modifiers()));
    }

    void mousePressEvent(QMouseEvent* event) override {
        const int button = controls::ButtonCode(event->button());
        if (button == controls::kLeftButton)
            clickArmed_ = true;
        emit owner_->MouseDown(button, controls::ShiftCode(event->modifiers()),
                               PixelsToTwips(event->position().x()),
                               PixelsToTwips(event->position().y()));
        QLineEdit::mousePressEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        QLineEdit::mouseReleaseEvent(event);
        const int button = controls::ButtonCode(event->button());
        emit owner_->MouseUp(button, controls::ShiftCode(event->modifiers()),
                             PixelsToTwips(event->position().x()),
                             PixelsToTwips(event->position().y()));
        if (button != controls::kLeftButton)
            return;
        const bool click = clickArmed_ && rect().contains(event->position().toPoint());
        clickArmed_ = false;
        if (click)
            emit owner_->Click();
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override {
        clickArmed_ = false;
        QLineEdit::mouseDoubleClickEvent(event);
        emit owner_->DblClick();
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        emit owner_->MouseMove(
            controls::ButtonsCode(event->buttons()), controls::ShiftCode(event->modifiers()),
            PixelsToTwips(event->position().x()), PixelsToTwips(event->position().y()));
        QLineEdit::mouseMoveEvent(event);
    }

    // The box has the focus of its window: a menu closing or the window coming back is no
    // focus change, but a box clicked while its window was inactive gains the focus when the
    // window comes back.
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        if (owner_->windowFocus_)
            return;
        owner_->windowFocus_ = true;
        if (owner_->selOnFocus_)
            setSelection(0, int(text().size()));
        emit owner_->GotFocus();
    }

    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        if (event->reason() == Qt::PopupFocusReason ||
            event->reason() == Qt::ActiveWindowFocusReason)
            return;
        owner_->LoseWindowFocus();
    }

private:
    N_TextBox* owner_;
    std::unique_ptr<MaskStyle> style_;
    bool clickArmed_ = false;
};

N_TextBox::N_TextBox(QWidget* parent, const QString& name)
    : QWidget(parent),
      txt_(new Edit(this)),
      lbl_(new QLabel(this)),
      lblHeader_(new QLabel(this)),
      limit_(new controls::EntryValidator(this)) {
    setObjectName(name);
    setMinimumSize(TwipsToPixels(kMinWidth), TwipsToPixels(kMinHeight));
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(txt_);

    // The focus moved on inside the window while it was inactive (the window's events
    // reach the box only once it is active again).
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now != txt_ && now->window() == window())
            LoseWindowFocus();
    });

    // MaxLength limits what the user types or pastes, not what the program assigns; the
    // number mode and the window's filter see every character the user puts in.
    limit_->filter = [this](QStringView inserted) {
        const QString kept = numberBox_ ? controls::DigitsOnly(inserted) : inserted.toString();
        return textFilter_ ? textFilter_(kept) : kept;
    };
    txt_->setValidator(limit_);
    connect(txt_, &QLineEdit::textChanged, this, [this](const QString& text) {
        limit_->TextChanged(text);
        lbl_->setText(text);
        emit Change();
    });
    txt_->setAutoFillBackground(true);
    lbl_->hide();
    lblHeader_->setAutoFillBackground(true);

    // The design state of the parts.
    controls::ApplyNewValues(*this, Properties());
    SetText(name);
    ClearChangedProperties();
}

N_TextBox::~N_TextBox() = default;

void N_TextBox::LoseWindowFocus() {
    if (!windowFocus_)
        return;
    windowFocus_ = false;
    emit LostFocus();
}

// The stored properties in the order the reader takes them, straight into the parts. Columns:
// key, place in the written set (every key is written), the value of a new box (kKept: as the
// parts start; its sample text is its instance name, which the constructor sets), the value of
// a missing key, how it is assigned, how it is read back.
const controls::PropertyTable<N_TextBox>& N_TextBox::Properties() {
    using Row = controls::PropertyRow<N_TextBox>;
    static const controls::PropertyTable<N_TextBox> table = {
        Row::Text("Text", 5, Row::kKept, QString(), &N_TextBox::SetText, &N_TextBox::Text,
                  Row::kAlways),
        Row::Integer("AlignementHorizontal", 6, 0, 1, 0, Row::kShortMax,
                     &N_TextBox::SetAlignementHorizontal, &N_TextBox::AlignementHorizontal,
                     Row::kAlways),
        Row::Boolean(
            "NumberBox", 8, false, false, [](N_TextBox& box, bool v) { box.numberBox_ = v; },
            &N_TextBox::NumberBox, Row::kAlways),
        // The layout runs once while loading, here, with the font the box has at this point.
        Row::Integer(
            "AlignementVertical", 7, Row::kKept, 1, 0, 255,
            [](N_TextBox& box, qint64 v) {
                box.alignVertical_ = std::min(int(v), 2);
                box.LayoutControl(box.alignVertical_);
            },
            &N_TextBox::AlignementVertical, Row::kAlways),
        Row::Integer("MaxLength", 4, Row::kKept, 0, Row::kIntMin, Row::kIntMax,
                     &N_TextBox::SetMaxLength, &N_TextBox::MaxLength, Row::kAlways),
        Row::Boolean(
            "Locked", 12, Row::kKept, false,
            [](N_TextBox& box, bool v) { box.txt_->setReadOnly(v); }, &N_TextBox::Locked,
            Row::kAlways),
        Row::Boolean("Enabled", 11, Row::kKept, true, &N_TextBox::SetEnabled, &N_TextBox::Enabled,
                     Row::kAlways),
        Row::Color("ForeColor", 1, 0x00D05C28, 0x00D05C28, &N_TextBox::SetForeColor,
                   &N_TextBox::ForeColor, Row::kAlways),
        Row::Color("BorderColor", 2, 0x00D05C28, 0x00D05C28, &N_TextBox::SetBorderColor,
                   &N_TextBox::BorderColor, Row::kAlways),
        Row::Color("BackColor", 3, 0x00FFFFFF, 0x00FFFFFF, &N_TextBox::SetBackColor,
                   &N_TextBox::BackColor, Row::kAlways),
        Row::Font(
            "FONT", 0,
            controls::StoredFont{controls::MakeFont(QStringLiteral("Arial"), 8.25, true), {}},
            controls::StoredFont{controls::MakeFont(QStringLiteral("Arial"), 8.25), {}},
            [](N_TextBox& box, const controls::StoredFont& v) { box.ApplyBoxFont(v.font); },
            [](const N_TextBox& box) {
                return controls::StoredFont{box.Font(), {}};
            }),
        Row::Text("PasswordChar", 13, Row::kKept, QString(), &N_TextBox::SetPasswordChar,
                  &N_TextBox::PasswordChar, Row::kAlways),
        Row::Boolean("LabelBox", 10, Row::kKept, false, &N_TextBox::SetLabelBox,
                     &N_TextBox::LabelBox, Row::kAlways),
        Row::Boolean(
            "SelOnFocus", 9, true, true, [](N_TextBox& box, bool v) { box.selOnFocus_ = v; },
            &N_TextBox::SelOnFocus, Row::kAlways),
        Row::Boolean(
            "Header", 14, false, false,
            [](N_TextBox& box, bool v) { box.lblHeader_->setVisible(v); }, &N_TextBox::Header,
            Row::kAlways),
        Row::Integer("HeaderAlignement", 15, 2, 1, 0, Row::kShortMax,
                     &N_TextBox::SetHeaderAlignement, &N_TextBox::HeaderAlignement, Row::kAlways),
        Row::Color("HeaderForeColor", 16, controls::SystemColor(controls::kColorWindowText),
                   0x00D05C28, &N_TextBox::SetHeaderForeColor, &N_TextBox::HeaderForeColor,
                   Row::kAlways),
        Row::Color("HeaderBackColor", 17, 0x00FFFFFF, 0x00FFFFFF, &N_TextBox::SetHeaderBackColor,
                   &N_TextBox::HeaderBackColor, Row::kAlways),
        Row::Font(
            "HeaderFont", 18,
            controls::StoredFont{controls::MakeFont(QStringLiteral("Verdana"), 6.75), {}},
            controls::StoredFont{controls::MakeFont(QStringLiteral("Verdana"), 8.25), {}},
            [](N_TextBox& box, const controls::StoredFont& v) { box.lblHeader_->setFont(v.font); },
            [](const N_TextBox& box) {
                return controls::StoredFont{box.HeaderFont(), {}};
            }),
        Row::Text("HeaderCaption", 19, QStringLiteral("Header"), QStringLiteral("Header"),
                  &N_TextBox::SetHeaderCaption, &N_TextBox::HeaderCaption, Row::kAlways),
    };
    return table;
}

bool N_TextBox::ReadProperties(const controls::PropertyBag& bag, QString* failedKey) {
    loading_ = true;
    const bool ok = controls::ReadTable(*this, Properties(), bag, Qt::CaseInsensitive, failedKey);
    loading_ = false;
    if (std::exchange(colorsPending_, false)) {
        ApplyBoxColors();
        ApplyHeaderColors();
    }
    return ok;
}

controls::PropertyBag N_TextBox::WriteProperties() const {
    return controls::WriteTable(*this, Properties());
}

int N_TextBox::LineHeightTwips(const QFont& font) const {
    return PixelsToTwips(QFontMetrics(font).height());
}

void N_TextBox::LayoutControl(int v) {
    const int controlHeight = PixelsToTwips(height());
    const int headerHeight = LineHeightTwips(lblHeader_->font());
    const int h = Header() ? headerHeight + kLine : 0;
    headerRect_ = QRect(0, 0, borderRect_.width(), headerHeight);
    borderRect_ = QRect(borderRect_.left(), h, borderRect_.width(), controlHeight - h);
    const int lblHeight = LineHeightTwips(lbl_->font());
    int top = borderRect_.top() + kLine;
    if (v == 1) {
        top = (borderRect_.height() - lblHeight) / 2 + borderRect_.top();
    } else if (v == 2) {
        top = borderRect_.height() - lblHeight + borderRect_.top() - kLine;
    }
    lblRect_ = QRect(txtRect_.left(), top, txtRect_.width(), lblHeight);
    // The box is as low as one line of its font allows: the line and the edit box's margin
    // of a pixel above and below it.
    txtRect_ =
        QRect(txtRect_.left(), top, txtRect_.width(), LineHeightTwips(txt_->font()) + 2 * kLine);
    ApplyGeometry();
}

void N_TextBox::ApplyGeometry() {
    const auto toPixels = [](const QRect& twips) {
        return QRect(TwipsToPixels(twips.left()), TwipsToPixels(twips.top()),
                     TwipsToPixels(twips.width()), TwipsToPixels(twips.height()));
    };
    lblHeader_->setGeometry(toPixels(headerRect_));
    lbl_->setGeometry(toPixels(lblRect_));
    txt_->setGeometry(toPixels(txtRect_));
    update();
}

void N_TextBox::resizeEvent(QResizeEvent*) {
    if (width() < TwipsToPixels(kMinWidth) || height() < TwipsToPixels(kMinHeight)) {
        resize(std::max(width(), TwipsToPixels(kMinWidth)),
               std::max(height(), TwipsToPixels(kMinHeight)));
        return;
    }
    borderRect_.setWidth(PixelsToTwips(width()));
    txtRect_ =
        QRect(kBoxLeft, txtRect_.top(), borderRect_.width() - 2 * kBoxLeft, txtRect_.height());
    LayoutControl(alignVertical_);
}

void N_TextBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect border(TwipsToPixels(borderRect_.left()), TwipsToPixels(borderRect_.top()),
                       TwipsToPixels(borderRect_.width()), TwipsToPixels(borderRect_.height()));
    if (border.isEmpty())
        return;
    painter.fillRect(border, FromOle(backColor_));
    painter.setPen(QPen(FromOle(borderColor_), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(border.adjusted(0, 0, -1, -1));
}

void N_TextBox::About() {
    QMessageBox::information(this, QStringLiteral("N_TextBox"),
                             QStringLiteral("N_TextBox 带标题的文本框控件\n"
                                            "Zenri表白网页生成 自定义控件"));
}

void N_TextBox::MarkChanged(const char* key) {
    if (loading_)
        return;
    const QString name = QString::fromLatin1(key);
    if (!changed_.contains(name))
        changed_ << name;
}

QFont N_TextBox::Font() const {
    return txt_->font();
}

void N_TextBox::ApplyBoxFont(const QFont& font) {
    txt_->setFont(font);
    lbl_->setFont(txt_->font());
    ApplyMask();
}

void N_TextBox::SetFont(const QFont& font) {
    ApplyBoxFont(font);
    LayoutControl(alignVertical_);
    MarkChanged("FONT");
}

void N_TextBox::SetFontName(const QString& family) {
    QFont font = Font();
    font.setFamily(family);
    SetFont(font);
}

void N_TextBox::ApplyBoxColors() {
    // While a stored set loads, the colours are applied once at its end.
    if (loading_) {
        colorsPending_ = true;
        return;
    }
    SetColors(txt_, {{QPalette::Text, foreColor_},
                     {QPalette::Base, backColor_},
                     {QPalette::Window, backColor_}});
    SetColors(lbl_, {{QPalette::WindowText, foreColor_}});
    update();
}

void N_TextBox::SetForeColor(quint32 ole) {
    foreColor_ = ole;
    ApplyBoxColors();
    MarkChanged("ForeColor");
}

void N_TextBox::SetBorderColor(quint32 ole) {
    borderColor_ = ole;
    update();
    MarkChanged("BorderColor");
}

void N_TextBox::SetBackColor(quint32 ole) {
    backColor_ = ole;
    ApplyBoxColors();
    MarkChanged("BackColor");
}

int N_TextBox::MaxLength() const {
    return limit_->maxLength;
}

void N_TextBox::SetMaxLength(int length) {
    limit_->maxLength = std::max(0, length);
}

QString N_TextBox::Text() const {
    return txt_->text();
}

void N_TextBox::SetText(const QString& text) {
    MarkChanged("Text");
    if (text == txt_->text())
        return;
    limit_->assigning = true;
    txt_->setText(text);
    limit_->assigning = false;
}

bool N_TextBox::SetAlignementHorizontal(int alignment) {
    if (alignment < 0)
        return false;
    alignHorizontal_ = std::min(alignment, 2);
    txt_->setAlignment(HorizontalAlignment(alignHorizontal_) | Qt::AlignVCenter);
    lbl_->setAlignment(txt_->alignment());
    MarkChanged("AlignementHorizontal");
    return true;
}

bool N_TextBox::SetAlignementVertical(int alignment) {
    if (alignment < 0)
        return false;
    alignVertical_ = std::min(alignment, 2);
    LayoutControl(alignVertical_);
    MarkChanged("AlignementVertical");
    return true;
}

void N_TextBox::SetTextFilter(controls::TextFilter filter) {
    textFilter_ = std::move(filter);
}

void N_TextBox::SetNumberBox(bool on) {
    numberBox_ = on;
    MarkChanged("NumberBox");
}

void N_TextBox::SetSelOnFocus(bool on) {
    selOnFocus_ = on;
    MarkChanged("SelOnFocus");
}

bool N_TextBox::LabelBox() const {
    return lbl_->isVisibleTo(this);
}

void N_TextBox::SetLabelBox(bool on) {
    lbl_->setVisible(on);
    txt_->setVisible(!lbl_->isVisibleTo(this));
    MarkChanged("LabelBox");
}

bool N_TextBox::Enabled() const {
    return !txt_->testAttribute(Qt::WA_ForceDisabled);
}

void N_TextBox::SetEnabled(bool enabled) {
    txt_->setEnabled(enabled);
    lbl_->setEnabled(Enabled());
    MarkChanged("Enabled");
}

bool N_TextBox::Locked() const {
    return txt_->isReadOnly();
}

void N_TextBox::SetLocked(bool locked) {
    txt_->setReadOnly(locked);
    MarkChanged("Locked");
}

void N_TextBox::SetPasswordChar(const QString& mask) {
    passwordChar_ = mask.left(1);
    ApplyMask();
    MarkChanged("PasswordChar");
}

QChar N_TextBox::MaskCharacter() const {
    if (passwordChar_.isEmpty())
        return {};
    if (passwordChar_ == QLatin1String("l") &&
        Font().family().compare(QLatin1String("Wingdings"), Qt::CaseInsensitive) == 0)
        return QChar(kFilledCircle);
    return passwordChar_.at(0);
}

void N_TextBox::ApplyMask() {
    txt_->mask = MaskCharacter();
    // The box asks its style for the masking character only when the style changes.
    QEvent styleChange(QEvent::StyleChange);
    QCoreApplication::sendEvent(txt_, &styleChange);
    txt_->setEchoMode(txt_->mask.isNull() ? QLineEdit::Normal : QLineEdit::Password);
}

bool N_TextBox::Header() const {
    return lblHeader_->isVisibleTo(this);
}

void N_TextBox::SetHeader(bool visible) {
    lblHeader_->setVisible(visible);
    LayoutControl(alignVertical_);
    MarkChanged("Header");
}

bool N_TextBox::SetHeaderAlignement(int alignment) {
    if (alignment < 0)
        return false;
    headerAlign_ = std::min(alignment, 2);
    lblHeader_->setAlignment(HorizontalAlignment(headerAlign_) | Qt::AlignVCenter);
    MarkChanged("HeaderAlignement");
    return true;
}

void N_TextBox::ApplyHeaderColors() {
    if (loading_) {
        colorsPending_ = true;
        return;
    }
    SetColors(lblHeader_,
              {{QPalette::WindowText, headerForeColor_}, {QPalette::Window, headerBackColor_}});
    SetColors(this, {{QPalette::Window, headerBackColor_}});
}

void N_TextBox::SetHeaderForeColor(quint32 ole) {
    headerForeColor_ = ole;
    ApplyHeaderColors();
    MarkChanged("HeaderForeColor");
}

void N_TextBox::SetHeaderBackColor(quint32 ole) {
    headerBackColor_ = ole;
    ApplyHeaderColors();
    MarkChanged("HeaderBackColor");
}

QFont N_TextBox::HeaderFont() const {
    return lblHeader_->font();
}

void N_TextBox::SetHeaderFont(const QFont& font) {
    lblHeader_->setFont(font);
    LayoutControl(alignVertical_);
    MarkChanged("HeaderFont");
}

QString N_TextBox::HeaderCaption() const {
    return lblHeader_->text();
}

void N_TextBox::SetHeaderCaption(const QString& caption) {
    lblHeader_->setText(caption);
    MarkChanged("HeaderCaption");
}

QLineEdit* N_TextBox::txt() const {
    return txt_;
}
