#pragma once
// N_Image: a button drawn entirely from three pictures (normal, pointer over it, left button
// held on it). It always takes the size of the picture it shows; a resize from outside is
// undone at once. The sign-in window's close button is one.
//
// Click is raised when the platform reports a click: the left button pressed on the control
// and released with the pointer still inside it. Event coordinates are in twips.

#include "client/controls/InputCodes.h"
#include "client/controls/N_ImageState.h"
#include "client/controls/PropertyBag.h"

#include <QPixmap>
#include <QStringList>
#include <QWidget>

#include <functional>

class QTimer;

class N_Image : public QWidget, private controls::N_ImageState::Host {
    Q_OBJECT
    Q_PROPERTY(QPixmap Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(QPixmap PictureHover READ PictureHover WRITE SetPictureHover)
    Q_PROPERTY(QPixmap PictureDown READ PictureDown WRITE SetPictureDown)

public:
    explicit N_Image(QWidget* parent = nullptr);
    ~N_Image() override;

    // Picture, PictureHover, PictureDown in this order; a missing key is no picture. False
    // when a value could not be read (the keys after it are not applied).
    bool ReadProperties(const controls::PropertyBag& bag);
    // The same keys in the same order; a key without a picture is left out.
    controls::PropertyBag WriteProperties() const;

    QPixmap Picture() const { return picture_; }
    void SetPicture(const QPixmap& picture);
    QPixmap PictureHover() const { return pictureHover_; }
    void SetPictureHover(const QPixmap& picture);
    QPixmap PictureDown() const { return pictureDown_; }
    void SetPictureDown(const QPixmap& picture);

    // The picture drawn now (the picture holder's).
    QPixmap ShownPicture() const { return shown_; }
    const controls::N_ImageState& State() const { return state_; }
    const QStringList& ChangedProperties() const { return changed_; }
    void ClearChangedProperties() { changed_.clear(); }
    // Replaces the hover test (the window under the cursor is this control); for a test
    // bench or a demonstration. An empty function restores it.
    void SetPointerProbe(std::function<bool()> probe) { probe_ = std::move(probe); }

signals:
    void Click();
    void DblClick();
    void MouseMove(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    void MouseDown(int button, int shift, double x, double y);
    void MouseEnter();
    void MouseLeave();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // N_ImageState::Host
    void ShowState(int faceState) override;
    void StartTimer() override;
    void StopTimer() override;
    void RaiseClick() override { emit Click(); }
    void RaiseDblClick() override { emit DblClick(); }
    void RaiseMouseMove(int b, int s, double x, double y) override { emit MouseMove(b, s, x, y); }
    void RaiseMouseUp(int b, int s, double x, double y) override { emit MouseUp(b, s, x, y); }
    void RaiseMouseDown(int b, int s, double x, double y) override { emit MouseDown(b, s, x, y); }
    void RaiseMouseEnter() override { emit MouseEnter(); }
    void RaiseMouseLeave() override { emit MouseLeave(); }

    bool IsMouseOver() const;
    const QPixmap& PictureOf(int faceState) const;

    controls::N_ImageState state_;
    QTimer* timer_;
    std::function<bool()> probe_;
    QStringList changed_;
    QPixmap picture_, pictureHover_, pictureDown_;
    QPixmap shown_;
    controls::ClickTracker clicks_;
};
