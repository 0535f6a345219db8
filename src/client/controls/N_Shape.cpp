#include "client/controls/N_Shape.h"

#include "client/controls/InputCodes.h"
#include "client/controls/OleColor.h"
#include "client/controls/PointerProbe.h"
#include "client/controls/PropertyTable.h"
#include "client/controls/StateFeed.h"

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

using controls::FromOle;
using controls::N_ShapeState;

namespace {

// Caption colour of a disabled button.
constexpr quint32 kDisabledCaption = 0x00B3B3B3;

// The stored properties in the order the reader takes them, which is also the written order.
// Columns: key, place in the written set, the value of a new button, the value of a missing
// key, setter, getter. A new button's caption is its instance name (the constructor sets it).
const controls::PropertyTable<N_Shape>& Properties() {
    using Row = controls::PropertyRow<N_Shape>;
    static const controls::PropertyTable<N_Shape> table = {
        Row::Picture("Picture_Normal", 0, &N_Shape::SetPicture_Normal, &N_Shape::Picture_Normal),
        Row::Picture("Picture_Down", 1, &N_Shape::SetPicture_Down, &N_Shape::Picture_Down),
        Row::Picture("Picture_Hover", 2, &N_Shape::SetPicture_Hover, &N_Shape::Picture_Hover),
        Row::Boolean("Stretch", 3, false, false, &N_Shape::SetStretch, &N_Shape::Stretch),
        Row::Text("Caption", 4, Row::kKept, QStringLiteral("NShape1"), &N_Shape::SetCaption,
                  &N_Shape::Caption),
        Row::Color("BackGround", 5, 0x00EFF1F2, 0x00FF8080, &N_Shape::SetBackGround,
                   &N_Shape::BackGround),
        Row::Color("BackColorNormal", 6, 0x00EFF1F2, 0x008080FF, &N_Shape::SetBackColorNormal,
                   &N_Shape::BackColorNormal),
        Row::Color("BackColorHover", 7, 0x00E0E0E0, 0x0080C0FF, &N_Shape::SetBackColorHover,
                   &N_Shape::BackColorHover),
        Row::Color("BackColorDown", 8, 0x00FFFFFF, 0x0080FFFF, &N_Shape::SetBackColorDown,
                   &N_Shape::BackColorDown),
        Row::Color("BorderColorNormal", 9, 0x00B3B3B3, 0x00FFFF80, &N_Shape::SetBorderColorNormal,
                   &N_Shape::BorderColorNormal),
        Row::Color("BorderColorHover", 10, 0x00B3B3B3, 0x00FFFF80, &N_Shape::SetBorderColorHover,
                   &N_Shape::BorderColorHover),
        Row::Color("BorderColorDown", 11, 0x00B3B3B3, 0x00FFFF80, &N_Shape::SetBorderColorDown,
                   &N_Shape::BorderColorDown),
        Row::Integer("FontSize", 12, 8, 8, Row::kShortMin, Row::kShortMax, &N_Shape::SetFontSize,
                     &N_Shape::FontSize),
        Row::Boolean("FontBold", 13, false, false, &N_Shape::SetFontBold, &N_Shape::FontBold),
        // Only the face name of a font is taken; the caption does not use this font.
        Row::Font(
            "Font", 14, controls::StoredFont{QFont(QStringLiteral("Verdana")), std::nullopt},
            controls::StoredFont{QFont(QStringLiteral("MS Sans Serif")), std::nullopt},
            [](N_Shape& button, const controls::StoredFont& v) {
                QFont font = button.Font();
                font.setFamily(v.font.family());
                button.SetFont(font);
            },
            [](const N_Shape& button) {
                return controls::StoredFont{button.Font(), std::nullopt};
            }),
        Row::Boolean("Enabled", 15, true, true, &N_Shape::SetEnabled, &N_Shape::Enabled),
        Row::Boolean("BorderGotFocus", 16, false, false, &N_Shape::SetBorderGotFocus,
                     &N_Shape::BorderGotFocus),
        Row::Color("BorderCustom", 17, 0x00B3B3B3, 0x0080FF80, &N_Shape::SetBorderCustom,
                   &N_Shape::BorderCustom),
        Row::Integer("Style", 18, 4, 4, Row::kIntMin, Row::kIntMax, &N_Shape::SetStyle,
                     &N_Shape::Style),
        Row::Boolean("Graphical", 19, false, false, &N_Shape::SetGraphical, &N_Shape::Graphical),
        Row::Color("ForeColorNormal", 20, 0, 0x008080FF, &N_Shape::SetForeColorNormal,
                   &N_Shape::ForeColorNormal),
        Row::Color("ForeColorHover", 21, 0, 0x008080FF, &N_Shape::SetForeColorHover,
                   &N_Shape::ForeColorHover),
        Row::Color("ForeColorDown", 22, 0, 0x008080FF, &N_Shape::SetForeColorDown,
                   &N_Shape::ForeColorDown),
        Row::Boolean("Text_Visible", 23, true, false, &N_Shape::SetText_Visible,
                     &N_Shape::Text_Visible),
        Row::Boolean("StretchToText", 24, true, true, &N_Shape::SetStretchToText,
                     &N_Shape::StretchToText),
    };
    return table;
}

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

    controls::ApplyNewValues(*this, Properties());
    SetCaption(name);
    ShowPicture(N_ShapeState::Picture::Normal);
    Ajustar_Botao();
    ClearChangedProperties();
}

N_Shape::~N_Shape() = default;

bool N_Shape::ReadProperties(const controls::PropertyBag& bag, QString* failedKey) {
    // A loaded button starts from blank flags, not from those of a new button, so that the
    // layouts run while loading do not stretch it before its own StretchToText is read.
    graphical_ = false;
    textVisible_ = false;
    stretchToText_ = false;

    return controls::ReadTable(*this, Properties(), bag, Qt::CaseSensitive, failedKey);
}

controls::PropertyBag N_Shape::WriteProperties() const {
    return controls::WriteTable(*this, Properties());
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
    controls::FeedKeyPress(state_, *event);
}

void N_Shape::keyReleaseEvent(QKeyEvent* event) {
    controls::FeedKeyRelease(state_, *event);
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
