#include "N_Shape.h"

#include "InputCodes.h"
#include "OleColor.h"
#include "PointerProbe.h"
#include "PropertyReadWrite.h"

#include <QCursor>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <algorithm>
#include <limits>

using controls::FromOle;
using controls::N_ShapeState;

namespace {

// Caption colour of a disabled button.
constexpr quint32 kDisabledCaption = 0x00B3B3B3;

// Load defaults of a stored set.
constexpr quint32 kLoadBackGround = 0x00FF8080;
constexpr quint32 kLoadBackNormal = 0x008080FF;
constexpr quint32 kLoadBackHover = 0x0080C0FF;
constexpr quint32 kLoadBackDown = 0x0080FFFF;
constexpr quint32 kLoadBorder = 0x00FFFF80;
constexpr quint32 kLoadFore = 0x008080FF;
constexpr quint32 kLoadBorderCustom = 0x0080FF80;
const char* const kLoadCaption = "NShape1";
const char* const kLoadFontFace = "MS Sans Serif";

constexpr qint64 kShortMin = std::numeric_limits<qint16>::min();
constexpr qint64 kShortMax = std::numeric_limits<qint16>::max();
constexpr qint64 kIntMin = std::numeric_limits<qint32>::min();
constexpr qint64 kIntMax = std::numeric_limits<qint32>::max();

// The outline of the face inside `bounds`. Rounded corners are quarter ellipses whose
// diameter is a quarter of the shorter side (a 33-pixel button gets 4-pixel corners).
QPainterPath FaceOutline(const QRectF& bounds, int style) {
    QRectF r = bounds;
    if (style == 1 || style == 3 || style == 5) {
        const double side = std::min(r.width(), r.height());
        r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    }
    QPainterPath path;
    switch (style) {
        case 2:
        case 3:
            path.addEllipse(r);
            break;
        case 4:
        case 5: {
            const double radius = std::min(r.width(), r.height()) / 8.0;
            path.addRoundedRect(r, radius, radius);
            break;
        }
        default:
            path.addRect(r);
            break;
    }
    return path;
}

}  // namespace

N_Shape::N_Shape(QWidget* parent, const QString& name)
    : QWidget(parent),
      state_(
          *this, [this] { return IsMouseOver(); }, [this](int x, int y) { return IsOverAt(x, y); }),
      timer_(new QTimer(this)) {
    setObjectName(name);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    timer_->setInterval(1);
    connect(timer_, &QTimer::timeout, this, [this] { state_.TimerTick(); });

    SetCaption(name);
    SetEnabled(true);
    SetBackGround(0x00EFF1F2);
    SetBackColorNormal(0x00EFF1F2);
    SetBackColorHover(0x00E0E0E0);
    SetBackColorDown(0x00FFFFFF);
    SetBorderColorNormal(0x00B3B3B3);
    SetBorderColorHover(0x00B3B3B3);
    SetBorderColorDown(0x00B3B3B3);
    SetFontSize(8);
    SetFontBold(false);
    font_ = QFont(QStringLiteral("Verdana"));
    SetBorderGotFocus(false);
    SetBorderCustom(0x00B3B3B3);
    SetForeColorNormal(0);
    SetForeColorHover(0);
    SetForeColorDown(0);
    ShowPicture(N_ShapeState::Picture::Normal);
    Ajustar_Botao();
    SetGraphical(false);
    SetText_Visible(true);
    SetStretchToText(true);
    ClearChangedProperties();
}

N_Shape::~N_Shape() = default;

bool N_Shape::ReadProperties(const controls::PropertyBag& bag) {
    // A loaded button starts from blank flags, not from those of a new button, so that the
    // layouts run while loading do not stretch it before its own StretchToText is read.
    graphical_ = false;
    textVisible_ = false;
    stretchToText_ = false;

    controls::PropertyReader r(bag, Qt::CaseSensitive);
    r.Picture("Picture_Normal", [this](const QPixmap& v) { SetPicture_Normal(v); });
    r.Picture("Picture_Down", [this](const QPixmap& v) { SetPicture_Down(v); });
    r.Picture("Picture_Hover", [this](const QPixmap& v) { SetPicture_Hover(v); });
    r.Boolean("Stretch", false, [this](bool v) { SetStretch(v); });
    r.Text("Caption", kLoadCaption, [this](const QString& v) { SetCaption(v); });
    r.Color("BackGround", kLoadBackGround, [this](quint32 v) { SetBackGround(v); });
    r.Color("BackColorNormal", kLoadBackNormal, [this](quint32 v) { SetBackColorNormal(v); });
    r.Color("BackColorHover", kLoadBackHover, [this](quint32 v) { SetBackColorHover(v); });
    r.Color("BackColorDown", kLoadBackDown, [this](quint32 v) { SetBackColorDown(v); });
    r.Color("BorderColorNormal", kLoadBorder, [this](quint32 v) { SetBorderColorNormal(v); });
    r.Color("BorderColorHover", kLoadBorder, [this](quint32 v) { SetBorderColorHover(v); });
    r.Color("BorderColorDown", kLoadBorder, [this](quint32 v) { SetBorderColorDown(v); });
    r.Integer("FontSize", 8, kShortMin, kShortMax, [this](qint64 v) { SetFontSize(int(v)); });
    r.Boolean("FontBold", false, [this](bool v) { SetFontBold(v); });
    r.Font("Font", {QFont(kLoadFontFace), std::nullopt}, [this](const controls::StoredFont& v) {
        // Only the face name of a stored font is taken.
        QFont font = font_;
        font.setFamily(v.font.family());
        SetFont(font);
    });
    r.Boolean("Enabled", true, [this](bool v) { SetEnabled(v); });
    r.Boolean("BorderGotFocus", false, [this](bool v) { SetBorderGotFocus(v); });
    r.Color("BorderCustom", kLoadBorderCustom, [this](quint32 v) { SetBorderCustom(v); });
    r.Integer("Style", 4, kIntMin, kIntMax, [this](qint64 v) { SetStyle(int(v)); });
    r.Boolean("Graphical", false, [this](bool v) { SetGraphical(v); });
    r.Color("ForeColorNormal", kLoadFore, [this](quint32 v) { SetForeColorNormal(v); });
    r.Color("ForeColorHover", kLoadFore, [this](quint32 v) { SetForeColorHover(v); });
    r.Color("ForeColorDown", kLoadFore, [this](quint32 v) { SetForeColorDown(v); });
    r.Boolean("Text_Visible", false, [this](bool v) { SetText_Visible(v); });
    r.Boolean("StretchToText", true, [this](bool v) { SetStretchToText(v); });
    return r.Ok();
}

controls::PropertyBag N_Shape::WriteProperties() const {
    controls::PropertyBag bag;
    controls::PropertyWriter w(bag);
    w.PictureIfAny("Picture_Normal", pictureNormal_);
    w.PictureIfAny("Picture_Down", pictureDown_);
    w.PictureIfAny("Picture_Hover", pictureHover_);
    w.Boolean("Stretch", stretch_, false);
    w.Text("Caption", caption_, kLoadCaption);
    w.Color("BackGround", background_, kLoadBackGround);
    w.Color("BackColorNormal", BackColorNormal(), kLoadBackNormal);
    w.Color("BackColorHover", backColorHover_, kLoadBackHover);
    w.Color("BackColorDown", backColorDown_, kLoadBackDown);
    w.Color("BorderColorNormal", BorderColorNormal(), kLoadBorder);
    w.Color("BorderColorHover", borderColorHover_, kLoadBorder);
    w.Color("BorderColorDown", borderColorDown_, kLoadBorder);
    w.Integer("FontSize", fontSize_, 8);
    w.Boolean("FontBold", fontBold_, false);
    w.Font("Font", font_);
    w.Boolean("Enabled", Enabled(), true);
    w.Boolean("BorderGotFocus", borderGotFocus_, false);
    w.Color("BorderCustom", borderCustom_, kLoadBorderCustom);
    w.Integer("Style", style_, 4);
    w.Boolean("Graphical", graphical_, false);
    w.Color("ForeColorNormal", ForeColorNormal(), kLoadFore);
    w.Color("ForeColorHover", foreColorHover_, kLoadFore);
    w.Color("ForeColorDown", foreColorDown_, kLoadFore);
    w.Boolean("Text_Visible", textVisible_, false);
    w.Boolean("StretchToText", stretchToText_, true);
    return bag;
}

void N_Shape::Ajustar_Botao() {
    const QSize text = CaptionSize();
    const int box = pictureBoxSize_.width();
    if (stretchToText_) {
        int w = 16;
        if (textVisible_ && graphical_) {
            w = text.width() + 16 + box + 8;
        } else if (textVisible_) {
            w = text.width() + 16;
        } else if (graphical_) {
            w = box + 16;
        }
        // A visible button gets its resize (and the layout it runs) right here.
        if (w != width())
            resize(w, height());
    }
    pictureBoxPos_ = QPoint(8, (height() - pictureBoxSize_.height()) / 2);
    int left = (width() - text.width()) / 2;
    if (stretchToText_)
        left = graphical_ ? pictureBoxPos_.x() + box + 8 : 8;
    captionPos_ = QPoint(left, (height() - text.height()) / 2);
    update();
}

void N_Shape::SetCaption(const QString& caption) {
    MarkChanged("Caption");
    caption_ = caption;
    Ajustar_Botao();
}

void N_Shape::SetStyle(int style) {
    MarkChanged("Style");
    style_ = style;
    update();
}

void N_Shape::SetFontSize(int points) {
    MarkChanged("FontSize");
    fontSize_ = points;
    update();
}

void N_Shape::SetFontBold(bool bold) {
    MarkChanged("FontBold");
    fontBold_ = bold;
    update();
}

bool N_Shape::Enabled() const {
    return !testAttribute(Qt::WA_ForceDisabled);
}

void N_Shape::SetEnabled(bool enabled) {
    MarkChanged("Enabled");
    setEnabled(enabled);
    ApplyEnabledLook(enabled);
}

void N_Shape::ApplyEnabledLook(bool enabled) {
    lastOwnEnabled_ = enabled;
    captionColor_ = enabled ? foreColorNormal_ : kDisabledCaption;
    update();
}

void N_Shape::SetBorderGotFocus(bool on) {
    MarkChanged("BorderGotFocus");
    borderGotFocus_ = on;
}

void N_Shape::SetBorderCustom(quint32 ole) {
    MarkChanged("BorderCustom");
    borderCustom_ = ole;
}

void N_Shape::SetPicture_Normal(const QPixmap& picture) {
    MarkChanged("Picture_Normal");
    pictureNormal_ = picture;
    ShowPicture(N_ShapeState::Picture::Normal);
}

void N_Shape::SetPicture_Hover(const QPixmap& picture) {
    MarkChanged("Picture_Hover");
    pictureHover_ = picture;
}

void N_Shape::SetPicture_Down(const QPixmap& picture) {
    MarkChanged("Picture_Down");
    pictureDown_ = picture;
}

void N_Shape::SetGraphical(bool on) {
    MarkChanged("Graphical");
    graphical_ = on;
    Ajustar_Botao();
}

void N_Shape::SetStretch(bool on) {
    MarkChanged("Stretch");
    stretch_ = on;
    if (!stretch_ && !shown_.isNull())
        pictureBoxSize_ = shown_.deviceIndependentSize().toSize();
    update();
}

void N_Shape::SetText_Visible(bool on) {
    MarkChanged("Text_Visible");
    textVisible_ = on;
    Ajustar_Botao();
}

void N_Shape::SetStretchToText(bool on) {
    MarkChanged("StretchToText");
    stretchToText_ = on;
    Ajustar_Botao();
}

void N_Shape::SetBackGround(quint32 ole) {
    MarkChanged("BackGround");
    background_ = ole;
    update();
}

void N_Shape::SetBackColorNormal(quint32 ole) {
    MarkChanged("BackColorNormal");
    backColorNormal_ = ole;
    faceFill_ = ole;
    update();
}

void N_Shape::SetBackColorHover(quint32 ole) {
    MarkChanged("BackColorHover");
    backColorHover_ = ole;
}

void N_Shape::SetBackColorDown(quint32 ole) {
    MarkChanged("BackColorDown");
    backColorDown_ = ole;
}

void N_Shape::SetBorderColorNormal(quint32 ole) {
    MarkChanged("BorderColorNormal");
    borderColorNormal_ = ole;
    faceBorder_ = ole;
    update();
}

void N_Shape::SetBorderColorHover(quint32 ole) {
    MarkChanged("BorderColorHover");
    borderColorHover_ = ole;
}

void N_Shape::SetBorderColorDown(quint32 ole) {
    MarkChanged("BorderColorDown");
    borderColorDown_ = ole;
}

void N_Shape::SetForeColorNormal(quint32 ole) {
    MarkChanged("ForeColorNormal");
    foreColorNormal_ = ole;
    captionColor_ = ole;
    update();
}

void N_Shape::SetForeColorHover(quint32 ole) {
    MarkChanged("ForeColorHover");
    foreColorHover_ = ole;
}

void N_Shape::SetForeColorDown(quint32 ole) {
    MarkChanged("ForeColorDown");
    foreColorDown_ = ole;
}

void N_Shape::SetFont(const QFont& font) {
    MarkChanged("Font");
    font_ = font;
}

int N_Shape::CurPicture() const {
    const qint64 shown = controls::PictureHandle(shown_);
    if (shown == 0)
        return 0;
    if (shown == controls::PictureHandle(pictureNormal_))
        return 3;
    if (shown == controls::PictureHandle(pictureDown_))
        return 1;
    if (shown == controls::PictureHandle(pictureHover_))
        return 2;
    return 0;
}

QRect N_Shape::CaptionRect() const {
    return QRect(captionPos_, CaptionSize());
}

void N_Shape::MarkChanged(const char* key) {
    const QString name = QString::fromLatin1(key);
    if (!changed_.contains(name))
        changed_ << name;
}

QFont N_Shape::CaptionFont() const {
    QFont font(QStringLiteral("Verdana"));
    if (fontSize_ > 0)
        font.setPointSize(fontSize_);
    font.setBold(fontBold_);
    return font;
}

// Measuring the caption shapes its text; the layout asks several times while a stored set
// loads, mostly for the same caption in the same font.
QSize N_Shape::CaptionSize() const {
    const QFont font = CaptionFont();
    if (!measured_ || measuredCaption_ != caption_ || measuredFont_ != font) {
        const QFontMetrics metrics(font);
        measuredSize_ = QSize(metrics.horizontalAdvance(caption_), metrics.height());
        measuredCaption_ = caption_;
        measuredFont_ = font;
        measured_ = true;
    }
    return measuredSize_;
}

bool N_Shape::IsMouseOver() const {
    return probe_ ? probe_() : controls::IsControlUnderCursor(this);
}

bool N_Shape::IsOverAt(int x, int y) const {
    return probe_ ? probe_() : controls::IsControlAt(this, mapToGlobal(QPoint(x, y)));
}

const QPixmap& N_Shape::PictureOf(N_ShapeState::Picture which) const {
    switch (which) {
        case N_ShapeState::Picture::Hover:
            return pictureHover_;
        case N_ShapeState::Picture::Down:
            return pictureDown_;
        default:
            return pictureNormal_;
    }
}

N_ShapeState::Part N_Shape::PartAt(QPointF pos) const {
    const QPoint p = pos.toPoint();
    if (textVisible_ && CaptionRect().contains(p))
        return N_ShapeState::Part::Caption;
    if (graphical_ && PictureBoxRect().contains(p))
        return N_ShapeState::Part::Picture;
    return N_ShapeState::Part::Face;
}

void N_Shape::PaintState(int faceState) {
    switch (faceState) {
        case N_ShapeState::kHover:
            faceFill_ = backColorHover_;
            captionColor_ = foreColorHover_;
            faceBorder_ = borderColorHover_;
            break;
        case N_ShapeState::kDown:
            faceFill_ = backColorDown_;
            captionColor_ = foreColorDown_;
            faceBorder_ = borderColorDown_;
            break;
        default:
            faceFill_ = backColorNormal_;
            captionColor_ = foreColorNormal_;
            faceBorder_ = borderColorNormal_;
            break;
    }
    update();
}

void N_Shape::Repaint() {
    ShowPicture(N_ShapeState::Picture::Normal);
    update();
}

void N_Shape::ShowPicture(N_ShapeState::Picture which) {
    shown_ = PictureOf(which);
    // Unstretched, the picture box takes the size of the picture it shows.
    if (!stretch_ && !shown_.isNull())
        pictureBoxSize_ = shown_.deviceIndependentSize().toSize();
    update();
}

bool N_Shape::Shows(N_ShapeState::Picture which) const {
    return controls::PictureHandle(shown_) == controls::PictureHandle(PictureOf(which));
}

void N_Shape::StartTimer() {
    timer_->start();
}

void N_Shape::StopTimer() {
    timer_->stop();
}

void N_Shape::MoveFocus(bool forward) {
    focusNextPrevChild(forward);
}

void N_Shape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), FromOle(background_));
    painter.setRenderHint(QPainter::Antialiasing, style_ >= 2);
    // The 1-pixel border lies on the outermost pixels of the face.
    const QPainterPath face = FaceOutline(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), style_);
    painter.setPen(QPen(FromOle(faceBorder_), 1));
    painter.setBrush(FromOle(faceFill_));
    painter.drawPath(face);
    painter.setRenderHint(QPainter::Antialiasing, false);

    if (graphical_ && !shown_.isNull()) {
        if (stretch_) {
            painter.drawPixmap(PictureBoxRect(), shown_);
        } else {
            painter.drawPixmap(pictureBoxPos_, shown_);
        }
    }
    if (textVisible_ && !caption_.isEmpty()) {
        const QFont font = CaptionFont();
        painter.setFont(font);
        painter.setPen(FromOle(captionColor_));
        painter.drawText(captionPos_.x(), captionPos_.y() + QFontMetrics(font).ascent(), caption_);
    }
}

void N_Shape::resizeEvent(QResizeEvent*) {
    emit Resize();
    Ajustar_Botao();
}

void N_Shape::mousePressEvent(QMouseEvent* event) {
    const int button = controls::ButtonCode(event->button());
    if (heldButtons_ == 0)
        pressPart_ = PartAt(event->position());
    heldButtons_ |= button;
    state_.Press(button, controls::ShiftCode(event->modifiers()), event->position().x(),
                 event->position().y(), pressPart_);
}

void N_Shape::mouseReleaseEvent(QMouseEvent* event) {
    const int button = controls::ButtonCode(event->button());
    heldButtons_ &= ~button;
    state_.Release(button, controls::ShiftCode(event->modifiers()), event->position().x(),
                   event->position().y(), pressPart_);
}

void N_Shape::mouseDoubleClickEvent(QMouseEvent* event) {
    // The platform reports the second press of a left double click as the double click
    // itself; other buttons' second presses stay presses.
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    if (heldButtons_ == 0)
        pressPart_ = PartAt(event->position());
    heldButtons_ |= controls::kLeftButton;
    state_.DoubleClick();
}

void N_Shape::mouseMoveEvent(QMouseEvent* event) {
    state_.PointerMove(controls::ButtonsCode(event->buttons()),
                       controls::ShiftCode(event->modifiers()), event->position().x(),
                       event->position().y(), PartAt(event->position()));
}

void N_Shape::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    // Holding the capture, the button would get the first move outside; Qt sends the leave
    // instead, so that move is made up here.
    if (state_.HasCapture() && heldButtons_ == 0) {
        const QPointF pos = mapFromGlobal(QCursor::pos());
        state_.PointerMove(0, controls::ShiftCode(QGuiApplication::keyboardModifiers()), pos.x(),
                           pos.y(), N_ShapeState::Part::Face);
    }
}

void N_Shape::keyPressEvent(QKeyEvent* event) {
    state_.KeyDown(controls::KeyCode(*event), controls::ShiftCode(event->modifiers()));
    if (const auto code = controls::CharacterCode(*event))
        state_.KeyPress(*code);
}

void N_Shape::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat())
        return;
    state_.KeyUp(controls::KeyCode(*event), controls::ShiftCode(event->modifiers()));
}

void N_Shape::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (borderGotFocus_) {
        faceBorder_ = borderCustom_;
        update();
    }
}

void N_Shape::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (borderGotFocus_) {
        faceBorder_ = borderColorNormal_;
        update();
    }
}

void N_Shape::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Enabled changed through QWidget::setEnabled rather than SetEnabled.
    if (event->type() == QEvent::EnabledChange && Enabled() != lastOwnEnabled_)
        ApplyEnabledLook(Enabled());
}
