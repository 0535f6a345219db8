#pragma once
// iButton: a button whose face comes from one picture strip, BackPicture, a row of equal cells
// (normal, hover, pressed, disabled; Style 1 adds the four looks of Value true). The strip is
// cut once, when the button is first shown; each redraw paints one cell stretched over the
// whole button and prints the caption centred on it. The main window's exit button is one.
//
// Click is raised for the platform's click (the left button pressed on the button and
// released inside it), Enter, and the release of Space. Event coordinates are in twips.

#include "client/controls/InputCodes.h"
#include "client/controls/PropertyTable.h"
#include "client/controls/iButtonState.h"

#include <QFont>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QTimer;

class iButton : public QWidget, private controls::iButtonState::Host {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Style READ Style WRITE SetStyle)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool Value READ Value WRITE SetValue)

public:
    // Pixels of a see-through face (cBackStyle 0) in this colour let the window behind show.
    static constexpr quint32 kMaskColor = 0x00FF00FF;

    explicit iButton(QWidget* parent = nullptr);
    ~iButton() override;

    // Reads BackPicture, Enabled, cBackStyle, Caption, Style, AutoSize, cForeColor, cFont,
    // cDrawMode and puts the values in place without cutting the strip or drawing. False (and
    // the key in *failedKey) when a value could not be read (the keys after it are not
    // applied). The keys, their order and defaults are the table in iButton.cpp.
    bool ReadProperties(const controls::PropertyBag& bag, QString* failedKey = nullptr);
    // BackPicture, Enabled, Style, cBackStyle, Caption, AutoSize, cFont, cDrawMode,
    // cForeColor; a value equal to its stored default is left out.
    controls::PropertyBag WriteProperties() const;

    // Draws the face for `look` (0 normal, 1 hover, 2 pressed, 3 disabled) when it differs
    // from the look drawn last, or when forced.
    void cMouseAction(int look, bool force) { state_.cMouseAction(look, force); }

    QPixmap BackPicture() const { return backPicture_; }
    void SetBackPicture(const QPixmap& strip);
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    void SetEnabled(bool enabled);
    // 1 opaque face, 0 see-through face.
    int cBackStyle() const { return cBackStyle_; }
    void SetcBackStyle(int style);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // 0 push button (strip of 5 cells), 1 toggle button (strip of 10 cells).
    int Style() const { return state_.Style(); }
    void SetStyle(int style);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    quint32 cForeColor() const { return cForeColor_; }
    void SetcForeColor(quint32 ole);
    QFont cFont() const { return cFont_; }
    void SetcFont(const QFont& font);
    int cDrawMode() const { return cDrawMode_; }
    void SetcDrawMode(int mode);
    bool Value() const { return state_.Value(); }
    void SetValue(bool value);
    // The window handle (this makes the widget a native window) and the painted surface.
    WId hWnd();
    QPixmap Image();

    // The cells cut from the strip (empty before the strip is cut or without a strip).
    const std::vector<QPixmap>& Cells() const { return cells_; }
    bool CellsReady() const { return cellsReady_; }
    QSize CellSize() const { return cellSize_; }
    const controls::iButtonState& State() const { return state_; }
    const QStringList& ChangedProperties() const { return changed_; }
    void ClearChangedProperties() { changed_.clear(); }
    // Replaces the hover test (the window under the cursor is this button); for a test bench
    // or a demonstration. An empty function restores it.
    void SetPointerProbe(std::function<bool()> probe) { probe_ = std::move(probe); }

signals:
    void Click();
    void MouseDown(int button, int shift, double x, double y);
    void KeyDown(int keyCode, int shift);
    void KeyUp(int keyCode, int shift);
    void KeyPress(int keyAscii);
    void MouseUp(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);
    void MouseOut();
    void MouseOver();
    void DBClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static const controls::PropertyTable<iButton>& Properties();

    // iButtonState::Host
    void DrawButton(int look) override;
    bool IsEnabled() const override { return isEnabled(); }
    void StartTimer() override;
    void StopTimer() override;
    void RaiseClick() override { emit Click(); }
    void RaiseMouseDown(int b, int s, double x, double y) override { emit MouseDown(b, s, x, y); }
    void RaiseKeyDown(int key, int shift) override { emit KeyDown(key, shift); }
    void RaiseKeyUp(int key, int shift) override { emit KeyUp(key, shift); }
    void RaiseKeyPress(int code) override { emit KeyPress(code); }
    void RaiseMouseUp(int b, int s, double x, double y) override { emit MouseUp(b, s, x, y); }
    void RaiseMouseMove(int b, int s, double x, double y) override { emit MouseMove(b, s, x, y); }
    void RaiseMouseOut() override { emit MouseOut(); }
    void RaiseMouseOver() override { emit MouseOver(); }
    void RaiseDBClick() override { emit DBClick(); }

    bool IsMouseOver() const;
    void SliceStrip();
    QPixmap CellFor(int look) const;
    void MarkChanged(const char* key);

    controls::iButtonState state_;
    QTimer* timer_;
    std::function<bool()> probe_;
    QStringList changed_;

    // A new button's values are in the property table (iButton.cpp), which the constructor
    // walks; cFont starts as the widget's own font.
    QPixmap backPicture_;
    int cBackStyle_ = 0;
    QString caption_;
    bool autoSize_ = false;
    quint32 cForeColor_ = 0;
    QFont cFont_;
    std::optional<int> cFontCharset_;
    int cDrawMode_ = 0;

    std::vector<QPixmap> cells_;
    bool cellsReady_ = false;
    QSize cellSize_;
    bool shownOnce_ = false;
    bool loading_ = false;
    controls::ClickTracker clicks_;
};
