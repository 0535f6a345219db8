#include "client/controls/N_Image.h"

#include "client/controls/InputCodes.h"
#include "client/controls/PointerProbe.h"
#include "client/controls/PropertyReadWrite.h"
#include "client/controls/StateFeed.h"
#include "client/controls/Twips.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

using controls::N_ImageState;
using controls::PixelsToTwips;

N_Image::N_Image(QWidget* parent)
    : QWidget(parent), state_(*this, [this] { return IsMouseOver(); }), timer_(new QTimer(this)) {
    setMouseTracking(true);
    timer_->setInterval(1);
    connect(timer_, &QTimer::timeout, this, [this] { state_.TimerTick(); });
}

N_Image::~N_Image() = default;

bool N_Image::ReadProperties(const controls::PropertyBag& bag) {
    controls::PropertyReader r(bag, Qt::CaseSensitive);
    r.Picture("Picture", [this](const QPixmap& v) { SetPicture(v); });
    r.Picture("PictureHover", [this](const QPixmap& v) { SetPictureHover(v); });
    r.Picture("PictureDown", [this](const QPixmap& v) { SetPictureDown(v); });
    return r.Ok();
}

controls::PropertyBag N_Image::WriteProperties() const {
    controls::PropertyBag bag;
    controls::PropertyWriter w(bag);
    w.PictureIfAny("Picture", picture_);
    w.PictureIfAny("PictureHover", pictureHover_);
    w.PictureIfAny("PictureDown", pictureDown_);
    return bag;
}

void N_Image::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    ShowState(state_.FaceState());
    if (!changed_.contains("Picture"))
        changed_ << "Picture";
}

void N_Image::SetPictureHover(const QPixmap& picture) {
    pictureHover_ = picture;
    ShowState(state_.FaceState());
    if (!changed_.contains("PictureHover"))
        changed_ << "PictureHover";
}

void N_Image::SetPictureDown(const QPixmap& picture) {
    pictureDown_ = picture;
    ShowState(state_.FaceState());
    if (!changed_.contains("PictureDown"))
        changed_ << "PictureDown";
}

bool N_Image::IsMouseOver() const {
    return probe_ ? probe_() : controls::IsControlUnderCursor(this);
}

const QPixmap& N_Image::PictureOf(int faceState) const {
    switch (faceState) {
        case N_ImageState::kHover:
            return pictureHover_;
        case N_ImageState::kDown:
            return pictureDown_;
        default:
            return picture_;
    }
}

void N_Image::ShowState(int faceState) {
    shown_ = PictureOf(faceState);
    // Without a picture the surface is cleared and the size stays.
    if (!shown_.isNull()) {
        const QSize size = shown_.deviceIndependentSize().toSize();
        resize(size.width(), height());
        resize(size);
    }
    update();
}

void N_Image::StartTimer() {
    timer_->start();
}

void N_Image::StopTimer() {
    timer_->stop();
}

void N_Image::paintEvent(QPaintEvent*) {
    if (shown_.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, shown_);
}

void N_Image::resizeEvent(QResizeEvent*) {
    ShowState(state_.FaceState());
}

void N_Image::mousePressEvent(QMouseEvent* event) {
    controls::FeedPress(state_, clicks_, *event);
}

void N_Image::mouseReleaseEvent(QMouseEvent* event) {
    controls::FeedRelease(state_, clicks_, *this, *event);
}

void N_Image::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a left double click is reported as the double click alone.
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    clicks_.DoublePress(controls::kLeftButton);
    state_.PlatformDoubleClick();
}

void N_Image::mouseMoveEvent(QMouseEvent* event) {
    state_.PointerMove(controls::ButtonsCode(event->buttons()),
                       controls::ShiftCode(event->modifiers()),
                       PixelsToTwips(event->position().x()), PixelsToTwips(event->position().y()));
}
