#pragma once
// N_TextBox: the entry box of the sign-in window. A single-line edit box (`txt`) inside a
// filled, bordered rectangle (`shpBorder`), with an optional header strip (`lblHeader`) above
// the rectangle, a label mode (`lbl` shows the text instead of the box), a digits-only mode
// and select-all on focus. Geometry of the parts is kept in twips, as the layout is defined.
//
// The sign-in window sets Text, ForeColor, the font name, PasswordChar and MaxLength at run
// time and listens to Change, KeyPress (whose handler may change or drop the character) and
// GotFocus / LostFocus. Stored keys are matched without regard to letter case.

#include "client/controls/EntryValidator.h"
#include "client/controls/PropertyTable.h"

#include <QFont>
#include <QRect>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;

class N_TextBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(QString PasswordChar READ PasswordChar WRITE SetPasswordChar)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool Locked READ Locked WRITE SetLocked)

public:
    // A box created afresh: its design state, with the instance name as sample text.
    explicit N_TextBox(QWidget* parent = nullptr,
                       const QString& name = QStringLiteral("N_TextBox1"));
    ~N_TextBox() override;

    // Reads the stored set in the control's order, straight into the parts; the layout runs
    // once, after the vertical alignment. False (and the key in *failedKey) when a value could
    // not be read (loading stops at that key). Reading does not mark the set as changed. The
    // keys, their order and defaults are the table in N_TextBox.cpp.
    bool ReadProperties(const controls::PropertyBag& bag, QString* failedKey = nullptr);
    // Every property under its key, in the order the control declares them.
    controls::PropertyBag WriteProperties() const;

    // Places header, rectangle, label and box for vertical alignment v (0 top, 1 middle,
    // 2 bottom).
    void LayoutControl(int v);
    // The information box with the control's title and credit line.
    void About();

    QFont Font() const;
    void SetFont(const QFont& font);
    // The font with another face name (the sign-in window switches to "Wingdings" and back).
    void SetFontName(const QString& family);
    quint32 ForeColor() const { return foreColor_; }
    void SetForeColor(quint32 ole);
    quint32 BorderColor() const { return borderColor_; }
    void SetBorderColor(quint32 ole);
    quint32 BackColor() const { return backColor_; }
    void SetBackColor(quint32 ole);
    // Most characters the user can type; 0 = no limit. Texts assigned are not cut.
    int MaxLength() const;
    void SetMaxLength(int length);
    QString Text() const;
    void SetText(const QString& text);
    // 0 left, 1 right, 2 centre; above 2 counts as 2. A negative value is refused (false).
    int AlignementHorizontal() const { return alignHorizontal_; }
    bool SetAlignementHorizontal(int alignment);
    // 0 top, 1 middle, 2 bottom; above 2 counts as 2. A negative value is refused (false).
    int AlignementVertical() const { return alignVertical_; }
    bool SetAlignementVertical(int alignment);
    bool NumberBox() const { return numberBox_; }
    void SetNumberBox(bool on);
    // A filter of every character the user puts in, however it comes (typed, committed by an
    // input method, pasted, dropped); the KeyPress handler sees typed characters before it.
    // Not a stored property.
    void SetTextFilter(controls::TextFilter filter);
    bool SelOnFocus() const { return selOnFocus_; }
    void SetSelOnFocus(bool on);
    bool LabelBox() const;
    void SetLabelBox(bool on);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Locked() const;
    void SetLocked(bool locked);
    // At most one character; "" removes the masking. With the font "Wingdings" the letter "l"
    // shows as a filled circle, as it does in that font.
    QString PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(const QString& mask);
    bool Header() const;
    void SetHeader(bool visible);
    int HeaderAlignement() const { return headerAlign_; }
    bool SetHeaderAlignement(int alignment);
    quint32 HeaderForeColor() const { return headerForeColor_; }
    void SetHeaderForeColor(quint32 ole);
    quint32 HeaderBackColor() const { return headerBackColor_; }
    void SetHeaderBackColor(quint32 ole);
    QFont HeaderFont() const;
    void SetHeaderFont(const QFont& font);
    QString HeaderCaption() const;
    void SetHeaderCaption(const QString& caption);

    // The parts, and their geometry in twips.
    QLineEdit* txt() const;
    QLabel* lbl() const { return lbl_; }
    QLabel* lblHeader() const { return lblHeader_; }
    QRect TxtGeometry() const { return txtRect_; }
    QRect LblGeometry() const { return lblRect_; }
    QRect HeaderGeometry() const { return headerRect_; }
    QRect ShpBorderGeometry() const { return borderRect_; }
    // The character the box shows for each masked one (none without masking).
    QChar MaskCharacter() const;

    // Keys of the properties assigned since the last ClearChangedProperties().
    const QStringList& ChangedProperties() const { return changed_; }
    void ClearChangedProperties() { changed_.clear(); }

signals:
    void DblClick();
    void MouseDown(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    void Change();
    void Click();
    void KeyUp(int keyCode, int shift);
    void KeyDown(int keyCode, int shift);
    // The handler may change keyAscii, or set it to 0 to discard the character.
    void KeyPress(int& keyAscii);
    // The focus notifications the window receives for the control.
    void GotFocus();
    void LostFocus();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class Edit;
    friend class Edit;

    static const controls::PropertyTable<N_TextBox>& Properties();

    void MarkChanged(const char* key);
    void LoseWindowFocus();
    void ApplyGeometry();
    void ApplyMask();
    void ApplyBoxColors();
    void ApplyBoxFont(const QFont& font);
    void ApplyHeaderColors();
    int LineHeightTwips(const QFont& font) const;

    Edit* txt_;
    QLabel* lbl_;
    QLabel* lblHeader_;
    controls::EntryValidator* limit_;
    controls::TextFilter textFilter_;
    QStringList changed_;
    bool loading_ = false;
    bool colorsPending_ = false;  // colours assigned while loading, applied at its end

    // A new box's values are in the property table (N_TextBox.cpp), which the constructor
    // walks; the vertical alignment starts in the middle, before any layout.
    quint32 foreColor_ = 0;
    quint32 borderColor_ = 0;
    quint32 backColor_ = 0;
    int alignHorizontal_ = 0;
    int alignVertical_ = 1;
    bool numberBox_ = false;
    bool selOnFocus_ = false;
    QString passwordChar_;
    int headerAlign_ = 0;
    quint32 headerForeColor_ = 0;
    bool windowFocus_ = false;  // GotFocus was raised and LostFocus not yet
    quint32 headerBackColor_ = 0;

    QRect txtRect_{45, 30, 0, 0};
    QRect lblRect_{45, 30, 0, 0};
    QRect headerRect_{0, 0, 0, 0};
    QRect borderRect_{0, 0, 0, 0};
};
