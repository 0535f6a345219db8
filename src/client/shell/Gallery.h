#pragma once
// The style gallery of the main window: the panel FGZS and its twelve tiles. Panel and tiles
// paint the part of the window's background picture that lies behind the panel, so the
// gallery looks transparent.

#include <QLabel>
#include <QPixmap>
#include <QPoint>
#include <QWidget>

// A picture stretched over the whole control; a click (press and release of the left button
// inside it) is reported. The hand cursor shows once the pointer moves over it.
class ClickablePicture : public QWidget {
    Q_OBJECT
public:
    explicit ClickablePicture(QWidget* parent = nullptr);
    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return picture_; }

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap picture_;
    bool pressed_ = false;
};

// Paints the rectangle of the background picture behind the gallery panel at its own (0, 0).
class BackdropWidget : public QWidget {
    Q_OBJECT
public:
    BackdropWidget(const QPixmap* background, QWidget* parent);
    // The source rectangle: the panel's client area in window coordinates.
    void SetBackdropRect(const QRect& rect) { backdrop_ = rect; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QPixmap* background_;
    QRect backdrop_;
};

// One tile FG(i): caption Label1(i) and picture Image1(i). Presses on the caption and the
// margin are taken here, so they neither click nor move the window.
class StyleTile : public BackdropWidget {
    Q_OBJECT
public:
    StyleTile(const QPixmap* background, QWidget* parent);
    QLabel* Label1;
    ClickablePicture* Image1;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// The panel FGZS.
using GalleryPanel = BackdropWidget;
