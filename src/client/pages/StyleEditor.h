#pragma once
// The editor windows FG1 … FG8: one class, built from a style's table entry. The window shows
// the style's boxes filled with their sample entries, their labels, frames and hints, the
// floating-picture check box of styles 2 and 3, and two buttons: "预览网页" generates the page
// and shows it in the browser, "上传网页" generates it and asks for the upload window.
//
// An editor is not modal and has no owner; closing it discards its entries (it is deleted),
// so the next opening shows the samples again. EditorDesk opens them, one per style.

#include "client/pages/StyleTables.h"

#include <QCheckBox>
#include <QLabel>
#include <QList>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <array>

class EditorFrameBox;

class StyleEditor : public QWidget {
    Q_OBJECT
public:
    explicit StyleEditor(const pages::Style& style);

    const pages::Style& StyleEntry() const { return style_; }

    // The entry array: a line edit, or a plain-text box for the multi-line entries.
    QWidget* Box(int index) const;
    QString BoxText(int index) const;
    void SetBoxText(int index, const QString& text);
    // Whether the floating picture goes in front of the page (styles 2 and 3).
    bool FloatingPictureTicked() const;

    // The labels in array order: the boxes' labels by box, then the other texts.
    QList<QLabel*> Labels;
    QList<EditorFrameBox*> Frames;
    QCheckBox* Check1 = nullptr;
    QPushButton* Command1;
    QPushButton* Command2;

    // FGTHn: the page of this editor's entries into the work buffer FGN.
    void Generate();
    // "预览网页": generate, then preview; returns when the preview has finished its wait.
    void PreviewPage();
    // "上传网页": generate, then ask for the upload window.
    void UploadPage();

signals:
    void UploadRequested();

private:
    void BuildFrames();
    void BuildBoxes();
    void BuildLabels();
    void BuildCheckBox();
    void BuildButtons();
    void SetTabOrders();
    QLabel* AddLabel(const QString& text, const QRect& rect, pages::LabelLook look,
                     Qt::Alignment alignment);

    const pages::Style& style_;
    QList<QWidget*> boxes_;
};

// A frame with its caption in the top line, painted behind the controls it holds.
class EditorFrameBox : public QWidget {
public:
    EditorFrameBox(QWidget* parent, const pages::EditorFrame& frame);
    const pages::EditorFrame& Frame() const { return frame_; }
    QColor Background() const;
    QColor CaptionColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    pages::EditorFrame frame_;
};

// The one place editors are opened from: one window per style, brought forward when open.
class EditorDesk : public QObject {
    Q_OBJECT
public:
    static EditorDesk& Instance();

    // Shows the editor of style 1 to 8, or brings the open one forward with its entries.
    StyleEditor* Open(int style);
    StyleEditor* Find(int style) const;

signals:
    // An editor's "上传网页" has generated its page.
    void UploadRequested();

private:
    std::array<QPointer<StyleEditor>, pages::kStyleCount> editors_;
};
