#include "iButton.h"

#include "InputCodes.h"
#include "OleColor.h"
#include "PointerProbe.h"
#include "PropertyReadWrite.h"
#include "Twips.h"

#include <QBitmap>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <QTimer>

#include <cmath>
#include <limits>

using controls::iButtonState;
using controls::PixelsToTwips;

namespace {

constexpr qint64 kShortMin = std::numeric_limits<qint16>::min();
constexpr qint64 kShortMax = std::numeric_limits<qint16>::max();
constexpr qint64 kIntMin = std::numeric_limits<qint32>::min();
constexpr qint64 kIntMax = std::numeric_limits<qint32>::max();

}  // namespace

iButton::iButton(QWidget* parent)
    : QWidget(parent),
      state_(*this, [this] { return IsMouseOver(); }),
      timer_(new QTimer(this)),
      cForeColor_(controls::SystemColor(controls::kColorButtonText)),
      cFont_(font()) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    timer_->setInterval(50);
    connect(timer_, &QTimer::timeout, this, [this] { state_.TimerTick(); });
    SliceStrip();
    // The polling timer runs from creation: its first tick with the pointer elsewhere
    // raises MouseOut once and stops it.
    timer_->start();
}

iButton::~iButton() = default;

bool iButton::ReadProperties(const controls::PropertyBag& bag) {
    loading_ = true;
    controls::PropertyReader r(bag, Qt::CaseSensitive);
    r.Picture("BackPicture", [this](const QPixmap& v) { backPicture_ = v; });
    r.Boolean("Enabled", true, [this](bool v) { setEnabled(v); });
    r.Integer("cBackStyle", 1, kShortMin, kShortMax, [this](qint64 v) { cBackStyle_ = int(v); });
    r.Text("Caption", QString(), [this](const QString& v) { caption_ = v; });
    r.Integer("Style", 0, kIntMin, kIntMax, [this](qint64 v) { state_.SetStyle(int(v)); });
    r.Boolean("AutoSize", true, [this](bool v) { autoSize_ = v; });
    r.Color("cForeColor", cForeColor_, [this](quint32 v) { cForeColor_ = v; });
    r.Font("cFont", {cFont_, cFontCharset_}, [this](const controls::StoredFont& v) {
        cFont_ = v.font;
        cFontCharset_ = v.charset;
    });
    r.Integer("cDrawMode", cDrawMode_, kShortMin, kShortMax,
              [this](qint64 v) { cDrawMode_ = int(v); });
    loading_ = false;
    return r.Ok();
}

controls::PropertyBag iButton::WriteProperties() const {
    controls::PropertyBag bag;
    controls::PropertyWriter w(bag);
    w.PictureIfAny("BackPicture", backPicture_);
    w.Boolean("Enabled", Enabled(), true);
    w.Integer("Style", Style(), 0);
    w.Integer("cBackStyle", cBackStyle_, 1);
    w.Text("Caption", caption_, QString());
    w.Boolean("AutoSize", autoSize_, true);
    w.Font("cFont", cFont_, cFontCharset_);
    w.Integer("cDrawMode", cDrawMode_);
    w.Color("cForeColor", cForeColor_);
    return bag;
}

void iButton::SetBackPicture(const QPixmap& strip) {
    backPicture_ = strip;
    SliceStrip();
    MarkChanged("BackPicture");
}

void iButton::SetEnabled(bool enabled) {
    MarkChanged("Enabled");
    setEnabled(enabled);
}

void iButton::SetcBackStyle(int style) {
    MarkChanged("cBackStyle");
    cBackStyle_ = style;
    state_.Redraw();
}

void iButton::SetCaption(const QString& caption) {
    MarkChanged("Caption");
    caption_ = caption;
    state_.Redraw();
}

void iButton::SetStyle(int style) {
    MarkChanged("Style");
    state_.SetStyle(style);
    SliceStrip();
}

void iButton::SetAutoSize(bool on) {
    MarkChanged("AutoSize");
    autoSize_ = on;
    if (on)
        SliceStrip();
}

void iButton::SetcForeColor(quint32 ole) {
    MarkChanged("cForeColor");
    cForeColor_ = ole;
    state_.Redraw();
}

void iButton::SetcFont(const QFont& font) {
    MarkChanged("cFont");
    cFont_ = font;
    state_.Redraw();
}

void iButton::SetcDrawMode(int mode) {
    MarkChanged("cDrawMode");
    cDrawMode_ = mode;
    state_.Redraw();
}

void iButton::SetValue(bool value) {
    state_.SetValue(value);
}

WId iButton::hWnd() {
    return winId();
}

QPixmap iButton::Image() {
    return grab();
}

void iButton::MarkChanged(const char* key) {
    const QString name = QString::fromLatin1(key);
    if (!changed_.contains(name))
        changed_ << name;
}

bool iButton::IsMouseOver() const {
    return probe_ ? probe_() : controls::IsControlUnderCursor(this);
}

void iButton::SliceStrip() {
    cells_.clear();
    cellsReady_ = false;
    if (!backPicture_.isNull()) {
        const QSize strip = backPicture_.deviceIndependentSize().toSize();
        const int count = Style() == 0 ? 5 : 10;
        cellSize_ = QSize(int(std::lround(double(strip.width()) / count)), strip.height());
        const double ratio = backPicture_.devicePixelRatio();
        for (int i = 0; i <= Style() * 4 + 3; ++i) {
            QPixmap cell =
                backPicture_.copy(QRectF(cellSize_.width() * i * ratio, 0,
                                         cellSize_.width() * ratio, cellSize_.height() * ratio)
                                      .toRect());
            cell.setDevicePixelRatio(ratio);
            cells_.push_back(cell);
        }
        if (autoSize_ && cellSize_.width() > 0 && cellSize_.height() > 0)
            resize(cellSize_);
        cellsReady_ = true;
    }
    state_.DrawCurrent();
}

QPixmap iButton::CellFor(int look) const {
    if (!cellsReady_)
        return {};
    const int index = state_.CellIndex(look);
    if (index < 0 || index >= int(cells_.size()))
        return {};
    return cells_[size_t(index)];
}

void iButton::DrawButton(int look) {
    if (loading_)
        return;
    const QPixmap cell = CellFor(look);
    if (cBackStyle_ == 0 && !cell.isNull() && !size().isEmpty()) {
        // See-through face: the cell, stretched like the drawing, decides which pixels are
        // the button's; those in the mask colour belong to the window behind it.
        const QPixmap stretched = cell.scaled(size() * cell.devicePixelRatio(),
                                              Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QBitmap mask =
            stretched.createMaskFromColor(controls::FromOle(kMaskColor), Qt::MaskInColor);
        mask.setDevicePixelRatio(cell.devicePixelRatio());
        setMask(mask);
    } else {
        clearMask();
    }
    update();
}

void iButton::StartTimer() {
    if (!timer_->isActive())
        timer_->start();
}

void iButton::StopTimer() {
    timer_->stop();
}

void iButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int look = state_.LastLook();
    const QPixmap cell = CellFor(look);
    if (cell.isNull()) {
        painter.fillRect(rect(),
                         controls::FromOle(controls::SystemColor(controls::kColorButtonFace)));
    } else {
        painter.drawPixmap(rect(), cell);
    }
    if (caption_.isEmpty())
        return;
    const QFontMetrics metrics(cFont_);
    int x = (width() - metrics.horizontalAdvance(caption_)) / 2;
    int y = (height() - metrics.height()) / 2;
    // The pressed look prints the caption one pixel right and down.
    if (look == iButtonState::kPressed) {
        x += 1;
        y += 1;
    }
    painter.setFont(cFont_);
    painter.setPen(controls::FromOle(cForeColor_));
    painter.drawText(x, y + metrics.ascent(), caption_);
}

void iButton::resizeEvent(QResizeEvent*) {
    if (autoSize_ && !backPicture_.isNull() && !cellSize_.isEmpty())
        resize(cellSize_);
    state_.DrawCurrent();
}

void iButton::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownOnce_ && !event->spontaneous()) {
        shownOnce_ = true;
        SliceStrip();
    }
}

void iButton::mousePressEvent(QMouseEvent* event) {
    const int button = controls::ButtonCode(event->button());
    clicks_.Press(button);
    state_.Press(button, controls::ShiftCode(event->modifiers()),
                 PixelsToTwips(event->position().x()), PixelsToTwips(event->position().y()));
}

void iButton::mouseReleaseEvent(QMouseEvent* event) {
    const int button = controls::ButtonCode(event->button());
    const bool click = clicks_.Release(button, rect().contains(event->position().toPoint()));
    state_.Release(button, controls::ShiftCode(event->modifiers()),
                   PixelsToTwips(event->position().x()), PixelsToTwips(event->position().y()));
    if (click)
        state_.PlatformClick();
}

void iButton::mouseDoubleClickEvent(QMouseEvent* event) {
    clicks_.DoublePress(controls::ButtonCode(event->button()));
    state_.PlatformDoubleClick();
}

void iButton::mouseMoveEvent(QMouseEvent* event) {
    state_.PointerMove(controls::ButtonsCode(event->buttons()),
                       controls::ShiftCode(event->modifiers()),
                       PixelsToTwips(event->position().x()), PixelsToTwips(event->position().y()));
}

void iButton::keyPressEvent(QKeyEvent* event) {
    state_.KeyDown(controls::KeyCode(*event), controls::ShiftCode(event->modifiers()));
    if (const auto code = controls::CharacterCode(*event))
        state_.KeyPress(*code);
}

void iButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat())
        return;
    state_.KeyUp(controls::KeyCode(*event), controls::ShiftCode(event->modifiers()));
}

void iButton::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    state_.DrawCurrent();
}

void iButton::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    state_.DrawCurrent();
}

void iButton::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !loading_)
        state_.DrawCurrent();
}
