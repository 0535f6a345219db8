#include "client/shell/Gallery.h"

#include <QMouseEvent>
#include <QPainter>

ClickablePicture::ClickablePicture(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

void ClickablePicture::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void ClickablePicture::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), picture_);
}

void ClickablePicture::mouseMoveEvent(QMouseEvent* event) {
    setCursor(Qt::PointingHandCursor);
    event->accept();
}

void ClickablePicture::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickablePicture::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit Clicked();
}

BackdropWidget::BackdropWidget(const QPixmap* background, QWidget* parent)
    : QWidget(parent), background_(background) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BackdropWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (background_ && !background_->isNull() && backdrop_.isValid()) {
        painter.drawPixmap(QPoint(0, 0), *background_, backdrop_);
    } else {
        painter.fillRect(rect(), palette().window());
    }
}

StyleTile::StyleTile(const QPixmap* background, QWidget* parent)
    : BackdropWidget(background, parent),
      Label1(new QLabel(this)),
      Image1(new ClickablePicture(this)) {}

void StyleTile::mousePressEvent(QMouseEvent* event) {
    event->accept();
}
