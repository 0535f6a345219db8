#include "client/controls/iButton.h"

#include "client/controls/InputCodes.h"
#include "client/controls/OleColor.h"
#include "client/controls/PointerProbe.h"
#include "client/controls/PropertyTable.h"
#include "client/controls/StateFeed.h"
#include "client/controls/Twips.h"

#include <QBitmap>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <QTimer>

#include <cmath>

using controls::iButtonState;
using controls::PixelsToTwips;

iButton::iButton(QWidget* parent)
    : QWidget(parent),
      state_(*this, [this] { return IsMouseOver(); }),
      timer_(new QTimer(this)),
      cFont_(font()) {
    controls::ApplyNewValues(*this, Properties());
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

// The stored properties in the order the reader takes them, straight into the members
// without cutting the strip or drawing. Columns: key, place in the written set, the value of
// a new button (kKept: as it starts; its cFont is the widget's own font), the value of a
// missing key (kKept: the current value stays), how it is assigned, how it is read back, and
// whether a value equal to the load default is left out of the written set.
const controls::PropertyTable<iButton>& iButton::Properties() {
    using Row = controls::PropertyRow<iButton>;
    static const controls::PropertyTable<iButton> table = {
        Row::Picture(
            "BackPicture", 0, [](iButton& b, const QPixmap& v) { b.backPicture_ = v; },
            &iButton::BackPicture),
        Row::Boolean(
            "Enabled", 1, Row::kKept, true, [](iButton& b, bool v) { b.setEnabled(v); },
            &iButton::Enabled),
        Row::Integer(
            "cBackStyle", 3, 1, 1, Row::kShortMin, Row::kShortMax,
            [](iButton& b, qint64 v) { b.cBackStyle_ = int(v); }, &iButton::cBackStyle),
        Row::Text(
            "Caption", 4, Row::kKept, QString(),
            [](iButton& b, const QString& v) { b.caption_ = v; }, &iButton::Caption),
        Row::Integer(
            "Style", 2, Row::kKept, 0, Row::kIntMin, Row::kIntMax,
            [](iButton& b, qint64 v) { b.state_.SetStyle(int(v)); }, &iButton::Style),
        Row::Boolean(
            "AutoSize", 5, true, true, [](iButton& b, bool v) { b.autoSize_ = v; },
            &iButton::AutoSize),
        Row::Color(
            "cForeColor", 8, controls::SystemColor(controls::kColorButtonText), Row::kKept,
            [](iButton& b, quint32 v) { b.cForeColor_ = v; }, &iButton::cForeColor, Row::kAlways),
        Row::Font(
            "cFont", 6, Row::kKept, Row::kKept,
            [](iButton& b, const controls::StoredFont& v) {
                b.cFont_ = v.font;
                b.cFontCharset_ = v.charset;
            },
            [](const iButton& b) {
                return controls::StoredFont{b.cFont_, b.cFontCharset_};
            }),
        Row::Integer(
            "cDrawMode", 7, 13, Row::kKept, Row::kShortMin, Row::kShortMax,
            [](iButton& b, qint64 v) { b.cDrawMode_ = int(v); }, &iButton::cDrawMode, Row::kAlways),
    };
    return table;
}

bool iButton::ReadProperties(const controls::PropertyBag& bag, QString* failedKey) {
    loading_ = true;
    const bool ok = controls::ReadTable(*this, Properties(), bag, Qt::CaseSensitive, failedKey);
    loading_ = false;
    return ok;
}

controls::PropertyBag iButton::WriteProperties() const {
    return controls::WriteTable(*this, Properties());
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
    controls::FeedPress(state_, clicks_, *event);
}

void iButton::mouseReleaseEvent(QMouseEvent* event) {
    controls::FeedRelease(state_, clicks_, *this, *event);
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
    controls::FeedKeyPress(state_, *event);
}

void iButton::keyReleaseEvent(QKeyEvent* event) {
    controls::FeedKeyRelease(state_, *event);
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
