#pragma once
// N_Shape: the push button of the sign-in window, the upload window and the update notice. A
// filled shape (a rounded rectangle on every window) with a one-line "Verdana" caption and an
// optional picture, in three colour sets (normal, hover, down) it switches by itself.
//
// Windows build it from a stored property set (ReadProperties), connect Click, and change
// only Enabled at run time. Colours are OLE values (OleColor.h); geometry is in pixels.

#include "client/controls/N_ShapeState.h"
#include "client/controls/PropertyTable.h"

#include <QFont>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

#include <functional>

class QTimer;

class N_Shape : public QWidget, private controls::N_ShapeState::Host {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Style READ Style WRITE SetStyle)
    Q_PROPERTY(int FontSize READ FontSize WRITE SetFontSize)
    Q_PROPERTY(bool FontBold READ FontBold WRITE SetFontBold)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool Graphical READ Graphical WRITE SetGraphical)
    Q_PROPERTY(bool Text_Visible READ Text_Visible WRITE SetText_Visible)
    Q_PROPERTY(bool StretchToText READ StretchToText WRITE SetStretchToText)
    Q_PROPERTY(int CurPicture READ CurPicture)
    Q_PROPERTY(bool MouseInside READ MouseInside)

public:
    // A button created afresh: caption = its instance name, the colours of a new button.
    explicit N_Shape(QWidget* parent = nullptr, const QString& name = QStringLiteral("N_Shape1"));
    ~N_Shape() override;

    // Reads the stored set in the button's key order, each value through its assignment;
    // missing keys take their load defaults. False (and the key in *failedKey) when a value
    // could not be read: loading stopped at that key and the properties after it keep their
    // values. The keys, their order and defaults are the table in N_Shape.cpp.
    bool ReadProperties(const controls::PropertyBag& bag, QString* failedKey = nullptr);
    // The stored set, same keys and order; values equal to their load default are left out.
    controls::PropertyBag WriteProperties() const;

    // Layout: width (with StretchToText), picture box and caption positions.
    void Ajustar_Botao();

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // 0 rectangle, 1 square, 2 oval, 3 circle, 4 rounded rectangle, 5 rounded square.
    int Style() const { return style_; }
    void SetStyle(int style);
    int FontSize() const { return fontSize_; }
    void SetFontSize(int points);
    bool FontBold() const { return fontBold_; }
    void SetFontBold(bool bold);
    // The button's own enabled flag (a disabled container does not change it).
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool BorderGotFocus() const { return borderGotFocus_; }
    void SetBorderGotFocus(bool on);
    quint32 BorderCustom() const { return borderCustom_; }
    void SetBorderCustom(quint32 ole);
    QPixmap Picture_Normal() const { return pictureNormal_; }
    void SetPicture_Normal(const QPixmap& picture);
    QPixmap Picture_Hover() const { return pictureHover_; }
    void SetPicture_Hover(const QPixmap& picture);
    QPixmap Picture_Down() const { return pictureDown_; }
    void SetPicture_Down(const QPixmap& picture);
    bool Graphical() const { return graphical_; }
    void SetGraphical(bool on);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool on);
    bool Text_Visible() const { return textVisible_; }
    void SetText_Visible(bool on);
    bool StretchToText() const { return stretchToText_; }
    void SetStretchToText(bool on);
    quint32 BackGround() const { return background_; }
    void SetBackGround(quint32 ole);
    // The normal colours read back what the face shows now; the others what was assigned.
    quint32 BackColorNormal() const { return faceFill_; }
    void SetBackColorNormal(quint32 ole);
    quint32 BackColorHover() const { return backColorHover_; }
    void SetBackColorHover(quint32 ole);
    quint32 BackColorDown() const { return backColorDown_; }
    void SetBackColorDown(quint32 ole);
    quint32 BorderColorNormal() const { return faceBorder_; }
    void SetBorderColorNormal(quint32 ole);
    quint32 BorderColorHover() const { return borderColorHover_; }
    void SetBorderColorHover(quint32 ole);
    quint32 BorderColorDown() const { return borderColorDown_; }
    void SetBorderColorDown(quint32 ole);
    quint32 ForeColorNormal() const { return captionColor_; }
    void SetForeColorNormal(quint32 ole);
    quint32 ForeColorHover() const { return foreColorHover_; }
    void SetForeColorHover(quint32 ole);
    quint32 ForeColorDown() const { return foreColorDown_; }
    void SetForeColorDown(quint32 ole);
    // The control's own font: stored, but the caption does not use it.
    QFont Font() const { return font_; }
    void SetFont(const QFont& font);
    // 3 Picture_Normal, 1 Picture_Down, 2 Picture_Hover, 0 none or another picture.
    int CurPicture() const;
    bool MouseInside() const { return state_.MouseInside(); }

    // Keys of the properties assigned since the last ClearChangedProperties().
    const QStringList& ChangedProperties() const { return changed_; }
    void ClearChangedProperties() { changed_.clear(); }

    // Geometry of the parts in pixels, as the last layout left them.
    QRect CaptionRect() const;
    QRect PictureBoxRect() const { return QRect(pictureBoxPos_, pictureBoxSize_); }
    QPixmap ShownPicture() const { return shown_; }

    const controls::N_ShapeState& State() const { return state_; }
    // Replaces the hover test (the window under the cursor is this button); for a test bench
    // or a demonstration. An empty function restores it.
    void SetPointerProbe(std::function<bool()> probe) { probe_ = std::move(probe); }

signals:
    void Click();
    void DblClick();
    void MouseMove(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    void MouseDown(int button, int shift, double x, double y);
    void MouseEnter();
    void MouseLeave();
    void MouseOut();
    void Resize();
    void KeyPress(int keyAscii);
    void KeyDown(int keyCode, int shift);
    void KeyUp(int keyCode, int shift);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // N_ShapeState::Host
    void PaintState(int faceState) override;
    void Repaint() override;
    void ShowPicture(controls::N_ShapeState::Picture which) override;
    bool Shows(controls::N_ShapeState::Picture which) const override;
    void StartTimer() override;
    void StopTimer() override;
    void MoveFocus(bool forward) override;
    void RaiseClick() override { emit Click(); }
    void RaiseDblClick() override { emit DblClick(); }
    void RaiseMouseMove(int b, int s, double x, double y) override { emit MouseMove(b, s, x, y); }
    void RaiseMouseUp(int b, int s, double x, double y) override { emit MouseUp(b, s, x, y); }
    void RaiseMouseDown(int b, int s, double x, double y) override { emit MouseDown(b, s, x, y); }
    void RaiseMouseEnter() override { emit MouseEnter(); }
    void RaiseMouseLeave() override { emit MouseLeave(); }
    void RaiseMouseOut() override { emit MouseOut(); }
    void RaiseKeyPress(int code) override { emit KeyPress(code); }
    void RaiseKeyDown(int key, int shift) override { emit KeyDown(key, shift); }
    void RaiseKeyUp(int key, int shift) override { emit KeyUp(key, shift); }

    bool IsMouseOver() const;
    bool IsOverAt(int x, int y) const;
    const QPixmap& PictureOf(controls::N_ShapeState::Picture which) const;
    controls::N_ShapeState::Part PartAt(QPointF pos) const;
    QFont CaptionFont() const;
    QSize CaptionSize() const;
    void MarkChanged(const char* key);
    void ApplyEnabledLook(bool enabled);

    controls::N_ShapeState state_;
    QTimer* timer_;
    std::function<bool()> probe_;
    QStringList changed_;

    // The stored properties start blank: a new button's values are in the property table
    // (N_Shape.cpp), which the constructor walks.
    QString caption_;
    // The caption's size, kept for the caption and font it was measured with.
    mutable bool measured_ = false;
    mutable QString measuredCaption_;
    mutable QFont measuredFont_;
    mutable QSize measuredSize_;
    int style_ = 0;
    int fontSize_ = 0;
    bool fontBold_ = false;
    bool borderGotFocus_ = false;
    quint32 borderCustom_ = 0;
    QPixmap pictureNormal_, pictureHover_, pictureDown_;
    bool graphical_ = false;
    bool stretch_ = false;
    bool textVisible_ = false;
    bool stretchToText_ = false;
    quint32 background_ = 0;
    // The colours assigned to each state.
    quint32 backColorNormal_ = 0, backColorHover_ = 0, backColorDown_ = 0;
    quint32 borderColorNormal_ = 0, borderColorHover_ = 0, borderColorDown_ = 0;
    quint32 foreColorNormal_ = 0, foreColorHover_ = 0, foreColorDown_ = 0;
    // What the face shows now.
    quint32 faceFill_ = 0, faceBorder_ = 0, captionColor_ = 0;
    // A font without a face (as QFont(QString()) is, not the application's font), which the
    // table's new value names.
    QFont font_{QString()};

    QPixmap shown_;
    QPoint pictureBoxPos_{8, 0};
    QSize pictureBoxSize_{17, 17};
    QPoint captionPos_{8, 0};
    int heldButtons_ = 0;
    controls::N_ShapeState::Part pressPart_ = controls::N_ShapeState::Part::Face;
    bool lastOwnEnabled_ = true;
};
