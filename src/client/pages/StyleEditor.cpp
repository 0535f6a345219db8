#include "client/pages/StyleEditor.h"

#include "client/controls/PropertyBag.h"
#include "client/gateway/ServiceAddress.h"
#include "client/pages/Generation.h"
#include "client/pages/Preview.h"
#include "client/shell/CommonRoutines.h"
#include "client/shell/GGCT.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>

#include <algorithm>

namespace {

// The looks of the window: 9-point 宋体 everywhere, red hints, a large red heading.
const QColor kRed(255, 0, 0);
const QColor kLightBlue(204, 232, 255);
const QColor kFrameLine(160, 160, 160);
constexpr double kWindowPoints = 9;
constexpr double kHeadingPoints = 15.75;
constexpr double kLargePoints = 21.75;

QFont WindowFont() {
    return controls::MakeFont(QStringLiteral("宋体"), kWindowPoints);
}

}  // namespace

EditorFrameBox::EditorFrameBox(QWidget* parent, const pages::EditorFrame& frame)
    : QWidget(parent), frame_(frame) {
    setObjectName(frame.name.isEmpty() ? QStringLiteral("Frame") : frame.name);
    setProperty("index", frame.index);
    setGeometry(frame.rect);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QColor EditorFrameBox::Background() const {
    return frame_.outer && frame_.caption == QStringLiteral("风格5") ? kLightBlue : QColor();
}

QColor EditorFrameBox::CaptionColor() const {
    return Background().isValid() ? kRed : palette().color(QPalette::WindowText);
}

// An etched rectangle whose top line the caption interrupts, as a frame of the desktop has.
void EditorFrameBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics metrics(font());
    const int top = metrics.height() / 2;
    if (Background().isValid())
        p.fillRect(rect(), Background());
    const QRect line = rect().adjusted(0, top, -1, -1);
    p.setPen(kFrameLine);
    p.drawRect(line);
    p.setPen(Qt::white);
    p.drawRect(line.adjusted(1, 1, 1, 1));
    const int width = metrics.horizontalAdvance(frame_.caption) + 6;
    const QRect caption(8, 0, width, metrics.height());
    p.fillRect(caption, Background().isValid() ? Background() : palette().color(QPalette::Window));
    p.setPen(CaptionColor());
    p.drawText(caption, Qt::AlignCenter, frame_.caption);
}

StyleEditor::StyleEditor(const pages::Style& style)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      style_(style) {
    setObjectName(style.windowName);
    setWindowTitle(style.caption);
    setWindowIcon(ProgramIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(WindowFont());
    setFixedSize(style.ClientSize());

    BuildFrames();
    BuildBoxes();
    BuildLabels();
    BuildCheckBox();
    BuildButtons();
    SetTabOrders();
    CentreOnScreen(this);
}

void StyleEditor::BuildFrames() {
    for (const pages::EditorFrame& frame : style_.frames)
        Frames.append(new EditorFrameBox(this, frame));
}

void StyleEditor::BuildBoxes() {
    const QString service = service::Address();
    for (const pages::EntryBox& entry : style_.boxes) {
        QWidget* box;
        if (entry.multiLine) {
            auto* edit = new QPlainTextEdit(this);
            edit->setLineWrapMode(QPlainTextEdit::NoWrap);
            edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            edit->setTabChangesFocus(true);
            box = edit;
        } else {
            auto* edit = new QLineEdit(this);
            if (entry.largeFont) {
                edit->setFont(controls::MakeFont(QStringLiteral("黑体"), kLargePoints));
                edit->setAlignment(Qt::AlignCenter);
            }
            box = edit;
        }
        if (entry.redText)
            SetPaletteColor(box, QPalette::Text, kRed);
        box->setObjectName(style_.arrayName);
        box->setProperty("index", entry.index);
        box->setGeometry(entry.rect);
        boxes_.append(box);
        SetBoxText(entry.index, pages::SampleText(entry, service));
    }
}

QLabel* StyleEditor::AddLabel(const QString& text, const QRect& rect, pages::LabelLook look,
                              Qt::Alignment alignment) {
    auto* label = new QLabel(text, this);
    label->setGeometry(rect);
    label->setAlignment(alignment);
    switch (look) {
        case pages::LabelLook::Plain:
            break;
        case pages::LabelLook::Hint:
            SetPaletteColor(label, QPalette::WindowText, kRed);
            break;
        case pages::LabelLook::Heading:
            label->setFont(controls::MakeFont(QStringLiteral("黑体"), kHeadingPoints, true));
            SetPaletteColor(label, QPalette::WindowText, kRed);
            break;
        case pages::LabelLook::Sign:
            label->setFont(controls::MakeFont(QStringLiteral("黑体"), kLargePoints));
            break;
    }
    Labels.append(label);
    return label;
}

// The boxes' labels first, by box, then the headings, hints and units.
void StyleEditor::BuildLabels() {
    for (const pages::EntryBox& entry : style_.boxes) {
        if (entry.label.isEmpty())
            continue;
        // A label beside its box hugs it; a label above its box starts where the box does.
        const bool above = entry.labelRect.bottom() < entry.rect.top();
        QLabel* label = AddLabel(entry.label, entry.labelRect, pages::LabelLook::Plain,
                                 (above ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
        label->setObjectName(style_.labelArray);
        label->setBuddy(Box(entry.index));
    }
    for (const pages::EditorLabel& extra : style_.labels) {
        const Qt::Alignment alignment =
            extra.look == pages::LabelLook::Heading || extra.look == pages::LabelLook::Sign
                ? Qt::AlignCenter
                : Qt::AlignLeft | Qt::AlignVCenter;
        AddLabel(extra.text, extra.rect, extra.look, alignment)->setObjectName(extra.array);
    }
}

void StyleEditor::BuildCheckBox() {
    if (!style_.floatingPicture)
        return;
    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(style_.checkBox);
    // The caption runs on as a row of hyphens to the end of the box.
    const QString caption = QString::fromUtf16(pages::kFloatingPictureCaption);
    Check1->setText(caption);
    const QFontMetrics metrics(Check1->font());
    const int hyphen = std::max(1, metrics.horizontalAdvance(QLatin1Char('-')));
    int hyphens = std::max(0, (style_.checkBox.width() - Check1->sizeHint().width()) / hyphen);
    Check1->setText(caption + QString(hyphens, QLatin1Char('-')));
    while (hyphens > 0 && Check1->sizeHint().width() > style_.checkBox.width())
        Check1->setText(caption + QString(--hyphens, QLatin1Char('-')));
    Check1->setChecked(false);
}

void StyleEditor::BuildButtons() {
    Command1 = new QPushButton(QString::fromUtf16(pages::kPreviewCaption), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(style_.command1);
    Command1->setAutoDefault(false);
    Command2 = new QPushButton(QString::fromUtf16(pages::kUploadCaption), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(style_.command2);
    Command2->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &StyleEditor::PreviewPage);
    connect(Command2, &QPushButton::clicked, this, &StyleEditor::UploadPage);
}

void StyleEditor::SetTabOrders() {
    QList<QWidget*> chain;
    for (int index : style_.tabOrder)
        chain.append(index == pages::kCheckBoxInTabOrder ? Check1 : Box(index));
    chain << Command1 << Command2;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

QWidget* StyleEditor::Box(int index) const {
    return index >= 0 && index < boxes_.size() ? boxes_[index] : nullptr;
}

QString StyleEditor::BoxText(int index) const {
    QWidget* box = Box(index);
    if (auto* line = qobject_cast<QLineEdit*>(box))
        return line->text();
    if (auto* text = qobject_cast<QPlainTextEdit*>(box))
        return text->toPlainText();
    return QString();
}

void StyleEditor::SetBoxText(int index, const QString& text) {
    QWidget* box = Box(index);
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->setText(text);
        line->setCursorPosition(0);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) {
        plain->setPlainText(text);
    }
}

bool StyleEditor::FloatingPictureTicked() const {
    return Check1 && Check1->isChecked();
}

void StyleEditor::Generate() {
    GGCT& shared = GGCT::Instance();
    pages::FGTH(
        style_, [this](int box) { return BoxText(box); }, FloatingPictureTicked(),
        shared.Templates(), shared.FGN);
}

void StyleEditor::PreviewPage() {
    Generate();
    YLWY();
}

void StyleEditor::UploadPage() {
    Generate();
    emit UploadRequested();
}

EditorDesk& EditorDesk::Instance() {
    static EditorDesk desk;
    return desk;
}

StyleEditor* EditorDesk::Find(int style) const {
    if (style < 1 || style > pages::kStyleCount)
        return nullptr;
    return editors_[std::size_t(style - 1)];
}

StyleEditor* EditorDesk::Open(int style) {
    if (style < 1 || style > pages::kStyleCount)
        return nullptr;
    QPointer<StyleEditor>& slot = editors_[std::size_t(style - 1)];
    if (!slot) {
        slot = new StyleEditor(pages::StyleOf(style));
        connect(slot, &StyleEditor::UploadRequested, this, &EditorDesk::UploadRequested);
    }
    StyleEditor* editor = slot;
    editor->showNormal();
    editor->raise();
    editor->activateWindow();
    return editor;
}
