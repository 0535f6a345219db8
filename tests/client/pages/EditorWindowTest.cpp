// The editor windows FG1 … FG8 as the user sees them, opened from the gallery, and what their
// two buttons do: the page generated from the boxes, previewed in the browser or handed on to
// the upload window.

#include "ShellFixture.h"
#include "client/gateway/ServiceAddress.h"
#include "client/pages/Generation.h"
#include "client/pages/Preview.h"
#include "client/pages/StyleEditor.h"
#include "client/platform/Platform.h"
#include "client/shell/CommonRoutines.h"
#include "client/shell/GGCT.h"
#include "client/shell/Main.h"
#include "common/Codepage936.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace {

QString Shown(const StyleEditor* editor, int box) {
    return editor->BoxText(box);
}

// The boxes whose sample may be longer than the box, to scroll inside it: an address, which
// starts with the service's address of whatever length; style 4's right-hand sentences, which
// the design's window of fixed width leaves about seventeen characters beside the left-hand
// phrases; and style 7's slide lines, up to four of them sharing a row of 190 pixels in the
// fourth of a window that holds 55 rows.
bool MayScroll(int style, const pages::EntryBox& box) {
    using K = pages::EntryKind;
    if (box.kind == K::Picture || box.kind == K::Music || box.kind == K::Video ||
        box.kind == K::Link)
        return true;
    if (style == 4)
        return (box.index >= 10 && box.index <= 19) || (box.index >= 30 && box.index <= 39);
    if (style == 7)
        return box.index <= 77;
    return false;
}

class Editors : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        ASSERT_TRUE(previewFolder.isValid());
        SetTemporaryFolder(previewFolder.path());
    }
    static void SetTemporaryFolder(const QString& folder) {
        platform::Current().temporaryFolder = [folder] { return folder; };
    }
    StyleEditor* Open(int style) {
        StyleEditor* editor = EditorDesk::Instance().Open(style);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(editor));
        return editor;
    }
    static QList<QWidget*> Controls(const StyleEditor* editor) {
        QList<QWidget*> out;
        for (int i = 0; i < editor->StyleEntry().BoxCount(); ++i)
            out << editor->Box(i);
        for (QLabel* label : editor->Labels)
            out << label;
        if (editor->Check1)
            out << editor->Check1;
        out << editor->Command1 << editor->Command2;
        return out;
    }
    QString Sample(const pages::Style& style, int box) const {
        return pages::SampleText(style.boxes[std::size_t(box)], service.Url());
    }

    QTemporaryDir previewFolder;
};

TEST_F(Editors, EveryWindowOpensWithItsCaptionSizeAndSamples) {
    const QSize sizes[] = {{851, 448}, {704, 500}, {791, 510},  {778, 422},
                           {778, 458}, {691, 410}, {1035, 519}, {700, 481}};
    for (int n = 1; n <= 8; ++n) {
        const pages::Style& style = pages::StyleOf(n);
        StyleEditor* editor = Open(n);
        EXPECT_EQ(editor->objectName(), style.windowName);
        EXPECT_EQ(editor->windowTitle(), style.caption);
        EXPECT_EQ(editor->size(), sizes[n - 1]) << n;
        const Qt::WindowFlags flags = editor->windowFlags();
        EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint) << n;
        EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint) << n;
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint) << n;
        EXPECT_EQ(editor->parentWidget(), nullptr);
        EXPECT_FALSE(editor->isModal());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_LE(qAbs(editor->geometry().center().x() - screen.center().x()), 4) << n;
        EXPECT_LE(qAbs(editor->geometry().center().y() - screen.center().y()), 30) << n;

        int multiLine = 0;
        for (const pages::EntryBox& box : style.boxes) {
            QWidget* widget = editor->Box(box.index);
            ASSERT_TRUE(widget);
            EXPECT_EQ(widget->objectName(), style.arrayName);
            EXPECT_EQ(Shown(editor, box.index), Sample(style, box.index))
                << n << " box " << box.index;
            if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
                ++multiLine;
                EXPECT_TRUE(box.multiLine);
                EXPECT_EQ(text->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
                EXPECT_EQ(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            }
            // Each label text of the design is on the window.
            if (!box.label.isEmpty()) {
                const bool found = std::any_of(editor->Labels.begin(), editor->Labels.end(),
                                               [&](QLabel* l) { return l->text() == box.label; });
                EXPECT_TRUE(found) << n << " " << box.label.toStdString();
            }
        }
        EXPECT_EQ(editor->Box(style.BoxCount()), nullptr);
        EXPECT_EQ(multiLine, n == 2 || n == 5 ? 1 : 0) << n;
        EXPECT_EQ(editor->Command1->text(), "预览网页");
        EXPECT_EQ(editor->Command2->text(), "上传网页");
        EXPECT_EQ(editor->Check1 != nullptr, n == 2 || n == 3);
        if (editor->Check1) {
            EXPECT_FALSE(editor->Check1->isChecked());
            const QString caption = editor->Check1->text();
            EXPECT_TRUE(caption.startsWith("启用图片漂浮"));
            EXPECT_GE(caption.mid(6).size(), 20);
            EXPECT_EQ(caption.mid(6), QString(caption.size() - 6, QLatin1Char('-')));
        }
        editor->close();
    }
}

TEST_F(Editors, LabelArraysHintsHeadingsAndFrames) {
    const auto labelTexts = [](const StyleEditor* editor, const QString& array) {
        QStringList out;
        for (QLabel* label : editor->Labels) {
            if (label->objectName() == array)
                out << label->text();
        }
        return out;
    };
    const auto label = [](const StyleEditor* editor, const QString& text) -> QLabel* {
        for (QLabel* l : editor->Labels) {
            if (l->text() == text)
                return l;
        }
        return nullptr;
    };
    const QColor red(255, 0, 0);

    StyleEditor* fg1 = Open(1);
    EXPECT_EQ(labelTexts(fg1, "Label1").size(), 17);
    QLabel* heading = label(fg1, "中间文字");
    ASSERT_TRUE(heading);
    EXPECT_EQ(heading->palette().color(QPalette::WindowText), red);
    EXPECT_GT(heading->font().pointSizeF(), 12);
    EXPECT_EQ(fg1->Box(9)->palette().color(QPalette::Text), red);

    StyleEditor* fg2 = Open(2);
    EXPECT_EQ(labelTexts(fg2, "Label1").size(), 14);
    for (const char* hint : {" 换行后加〈br〉否则无法换行", "时间要提前一个月"}) {
        QLabel* l = label(fg2, QString::fromUtf8(hint));
        ASSERT_TRUE(l) << hint;
        EXPECT_EQ(l->palette().color(QPalette::WindowText), red);
    }
    // The date reads year 年 month 月 day 日 from left to right.
    EXPECT_LT(fg2->Box(4)->x(), label(fg2, "年")->x());
    EXPECT_LT(label(fg2, "年")->x(), fg2->Box(9)->x());
    EXPECT_LT(fg2->Box(9)->x(), label(fg2, "月")->x());
    EXPECT_LT(fg2->Box(10)->x(), label(fg2, "日")->x());

    StyleEditor* fg4 = Open(4);
    ASSERT_TRUE(label(fg4, "文本修改（请先预览后修改）"));
    EXPECT_EQ(label(fg4, "文本修改（请先预览后修改）")->palette().color(QPalette::WindowText), red);

    const auto frames = [](const StyleEditor* editor) {
        QStringList out;
        for (const EditorFrameBox* f : editor->Frames)
            out << f->Frame().caption;
        return out;
    };
    EXPECT_EQ(frames(Open(3)), (QStringList{"其他设置", "下方文字"}));
    EXPECT_EQ(frames(fg4), QStringList{"其他"});
    StyleEditor* fg5 = Open(5);
    EXPECT_EQ(frames(fg5), (QStringList{"风格5", "您要对她（他）说的七句话", "其他设置",
                                        "您最想对她（他）说的两句话"}));
    EXPECT_EQ(fg5->Frames[0]->geometry().adjusted(-8, -8, 8, 8).contains(fg5->rect()), true);
    EXPECT_EQ(fg5->Frames[0]->CaptionColor(), red);
    EXPECT_TRUE(fg5->Frames[0]->Background().isValid());
    EXPECT_EQ(labelTexts(fg5, "Label2").size(), 16);
    for (int box : {11, 12}) {
        EXPECT_GT(fg5->Box(box)->font().pointSizeF(), 16) << box;
        EXPECT_LE(fg5->Box(box)->width(), 64) << box;
    }
    ASSERT_TRUE(label(fg5, "+"));
    EXPECT_LT(fg5->Box(11)->x(), label(fg5, "+")->x());
    EXPECT_LT(label(fg5, "+")->x(), fg5->Box(12)->x());
    StyleEditor* fg6 = Open(6);
    EXPECT_EQ(frames(fg6),
              (QStringList{"风格6－3D相册",
                           "共12张图片（建议尺寸大小：640px * 386px 切勿偏差太多）", "其他"}));
    EXPECT_EQ(labelTexts(Open(8), "Label1").size(), 14);
}

TEST_F(Editors, Style7RowsCarryTheirLabelsAndBoxes) {
    StyleEditor* fg7 = Open(7);
    QList<QLabel*> rowLabels;
    for (QLabel* label : fg7->Labels) {
        if (label->objectName() == "Label1")
            rowLabels << label;
    }
    ASSERT_EQ(rowLabels.size(), 56);
    for (int i = 0; i < 55; ++i)
        EXPECT_EQ(rowLabels[i]->text(), QStringLiteral("第%1张图").arg(i + 1));
    EXPECT_EQ(rowLabels[55]->text(), "标题");
    EXPECT_EQ(rowLabels[55]->buddy(), fg7->Box(78));
    // Each row's boxes stand on its label's line, to its right, left to right in index order.
    const auto rows = pages::Style7Rows();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const QRect label = rowLabels[int(row)]->geometry();
        int left = label.right();
        for (int box : rows[row]) {
            const QRect rect = fg7->Box(box)->geometry();
            EXPECT_EQ(rect.top(), label.top()) << "row " << row + 1;
            EXPECT_GT(rect.left(), left) << "row " << row + 1;
            left = rect.right();
        }
    }
    // Four columns of 15, 15, 15 and 10 rows.
    QMap<int, int> perColumn;
    for (int i = 0; i < 55; ++i)
        ++perColumn[rowLabels[i]->x()];
    EXPECT_EQ(perColumn.values(), (QList<int>{15, 15, 15, 10}));
}

// "预览网页" and "上传网页" side by side at the foot, where no box starts below them; in FG8 one
// above the other at the right edge, right of every box, 1455 x 855 twips each.
TEST_F(Editors, ButtonsSideBySideAtTheFootOrStackedAtTheRightInFG8) {
    for (int n = 1; n <= 8; ++n) {
        StyleEditor* editor = Open(n);
        const QRect one = editor->Command1->geometry(), two = editor->Command2->geometry();
        int lowestTop = 0, rightmost = 0;
        for (int i = 0; i < editor->StyleEntry().BoxCount(); ++i) {
            lowestTop = std::max(lowestTop, editor->Box(i)->y());
            rightmost = std::max(rightmost, editor->Box(i)->geometry().right());
        }
        if (n == 8) {
            EXPECT_EQ(one.size(), QSize(1455 / 15, 855 / 15));
            EXPECT_EQ(two.size(), QSize(1455 / 15, 855 / 15));
            EXPECT_EQ(one.left(), two.left());
            EXPECT_GT(two.top(), one.bottom());
            EXPECT_GT(one.left(), rightmost);
            EXPECT_LE(editor->width() - 1 - one.right(), 24);
        } else {
            EXPECT_EQ(one.top(), two.top()) << n;
            EXPECT_EQ(one.size(), two.size()) << n;
            EXPECT_GT(two.left(), one.right()) << n;
            // Nothing starts below them (style 5's large box ends beside them).
            EXPECT_GT(one.top(), lowestTop) << n;
            EXPECT_LE(editor->height() - 1 - one.bottom(), 24) << n;
        }
        editor->close();
    }
}

// Nothing outside the client area, nothing on top of anything else, every text whole at the
// window's fonts.
TEST_F(Editors, EverythingFitsItsWindow) {
    for (int n = 1; n <= 8; ++n) {
        StyleEditor* editor = Open(n);
        // Measured at the face the shell puts in place of 宋体, not at a fallback.
        ASSERT_EQ(QFontInfo(editor->font()).family(), "Noto Serif CJK SC");
        const QList<QWidget*> controls = Controls(editor);
        for (QWidget* w : controls) {
            EXPECT_TRUE(editor->rect().contains(w->geometry()))
                << n << " " << w->objectName().toStdString();
        }
        for (const EditorFrameBox* frame : editor->Frames)
            EXPECT_TRUE(editor->rect().contains(frame->geometry())) << n;
        for (qsizetype i = 0; i < controls.size(); ++i) {
            for (qsizetype j = i + 1; j < controls.size(); ++j) {
                EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                    << n << ": " << controls[i]->objectName().toStdString() << " and "
                    << controls[j]->objectName().toStdString() << " at " << controls[i]->x() << ","
                    << controls[i]->y();
            }
        }
        for (QLabel* label : editor->Labels) {
            const QFontMetrics m(label->font());
            EXPECT_LE(m.horizontalAdvance(label->text()), label->width())
                << n << " " << label->text().toStdString();
            EXPECT_LE(m.height(), label->height() + 2) << n << " " << label->text().toStdString();
        }
        for (QPushButton* b : {editor->Command1, editor->Command2}) {
            EXPECT_LE(QFontMetrics(b->font()).horizontalAdvance(b->text()) + 12, b->width());
        }
        if (editor->Check1) {
            EXPECT_LE(editor->Check1->sizeHint().width(), editor->Check1->width());
        }
        for (const EditorFrameBox* frame : editor->Frames) {
            const QFontMetrics m(frame->font());
            EXPECT_LE(m.horizontalAdvance(frame->Frame().caption) + 16, frame->width()) << n;
            // The frame's caption line stays clear of the controls inside it.
            for (QWidget* w : controls) {
                if (frame->geometry().contains(w->geometry())) {
                    EXPECT_GE(w->y(), frame->y() + m.height() - 2) << n;
                }
            }
        }
        // Boxes tall enough for their font; samples whole in their box, except where the
        // design's window has no room for them (MayScroll).
        for (const pages::EntryBox& box : editor->StyleEntry().boxes) {
            auto* line = qobject_cast<QLineEdit*>(editor->Box(box.index));
            if (!line)
                continue;
            const QFontMetrics m(line->font());
            EXPECT_GE(line->height(), m.height() + 4) << n << " box " << box.index;
            if (!MayScroll(n, box)) {
                EXPECT_LE(m.horizontalAdvance(line->text()) + 8, line->width())
                    << n << " box " << box.index << " " << line->text().toStdString();
            }
        }
        editor->close();
    }
}

// Tab goes through the boxes in reading order: along a line, then down, column by column.
TEST_F(Editors, TabFollowsReadingOrder) {
    for (int n = 1; n <= 8; ++n) {
        StyleEditor* editor = Open(n);
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
        QList<QWidget*> visited;
        editor->Box(editor->StyleEntry().tabOrder.front())->setFocus(Qt::TabFocusReason);
        for (int step = 0; step < 100 && !visited.contains(QApplication::focusWidget()); ++step) {
            visited << QApplication::focusWidget();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QList<QWidget*> expected;
        for (int i = 0; i < editor->StyleEntry().BoxCount(); ++i)
            expected << editor->Box(i);
        if (editor->Check1)
            expected << editor->Check1;
        expected << editor->Command1 << editor->Command2;
        EXPECT_EQ(visited.size(), expected.size()) << n;
        for (QWidget* w : expected)
            EXPECT_TRUE(visited.contains(w)) << n << " " << w->objectName().toStdString();
        for (qsizetype i = 1; i < visited.size(); ++i) {
            const QRect a = visited[i - 1]->geometry(), b = visited[i]->geometry();
            const bool sameLineOnward = qAbs(a.top() - b.top()) <= 4 && b.left() > a.left();
            const bool below = b.top() > a.top() + 4;
            const bool nextColumn = b.left() > a.right();
            EXPECT_TRUE(sameLineOnward || below || nextColumn)
                << n << ": step " << i << " from " << a.x() << "," << a.y() << " to " << b.x()
                << "," << b.y();
        }
        editor->close();
    }
}

TEST_F(Editors, OpenEditorComesForwardWithItsEntriesAndClosingDiscardsThem) {
    StyleEditor* first = Open(3);
    first->SetBoxText(15, "小美");
    StyleEditor* again = Open(3);
    EXPECT_EQ(again, first);
    EXPECT_EQ(again->BoxText(15), "小美");
    // Several editors at once.
    StyleEditor* other = Open(6);
    EXPECT_NE(other, first);
    EXPECT_TRUE(first->isVisible() && other->isVisible());

    QPointer<StyleEditor> closed(first);
    first->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(closed);
    StyleEditor* reopened = Open(3);
    EXPECT_EQ(reopened->BoxText(15), "小雨");
}

// Whatever was typed and ticked, the next opening after a close shows every sample again.
TEST_F(Editors, EveryBoxShowsItsSampleAgainAfterCloseAndReopen) {
    for (int n = 1; n <= 8; ++n) {
        const pages::Style& style = pages::StyleOf(n);
        QPointer<StyleEditor> editor(Open(n));
        for (int box = 0; box < style.BoxCount(); ++box)
            editor->SetBoxText(box, QStringLiteral("改过了%1").arg(box));
        if (editor->Check1)
            editor->Check1->setChecked(true);
        editor->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_FALSE(editor) << n;

        StyleEditor* reopened = Open(n);
        for (int box = 0; box < style.BoxCount(); ++box)
            EXPECT_EQ(reopened->BoxText(box), Sample(style, box)) << n << " box " << box;
        if (reopened->Check1) {
            EXPECT_FALSE(reopened->Check1->isChecked()) << n;
        }
        reopened->close();
    }
}

TEST_F(Editors, TileOfTheGalleryOpensItsEditorAndRecordsTheStyle) {
    auto* window = new Main();
    ASSERT_EQ(window->Load(), Main::Start::AwaitingSignIn);
    QObject::connect(window, &Main::EditorRequested, &EditorDesk::Instance(), &EditorDesk::Open);
    window->FGZS->setEnabled(true);
    ClickablePicture* picture = window->Image1[3];
    QTest::mouseClick(picture, Qt::LeftButton, {}, picture->rect().center());
    StyleEditor* editor = EditorDesk::Instance().Find(4);
    ASSERT_TRUE(editor);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->windowTitle(), "文本切换");
    EXPECT_EQ(GGCT::Instance().YMFG, "文本切换效果");

    // The buttons leave the style name alone.
    GGCT::Instance().YMFG = QStringLiteral("页面风格");
    platform::Current().wait = [](int) {};
    QTest::mouseClick(editor->Command1, Qt::LeftButton);
    QTest::mouseClick(editor->Command2, Qt::LeftButton);
    EXPECT_EQ(GGCT::Instance().YMFG, "页面风格");
}

TEST_F(Editors, PreviewShowsTheSamplePageAndRemovesItsFileAfterTheWait) {
    StyleEditor* editor = Open(1);
    const QString file = preview::FilePath();
    QByteArray during;
    QList<int> waits;
    platform::Current().wait = [&](int ms) {
        waits << ms;
        QFile f(file);
        if (f.open(QIODevice::ReadOnly))
            during = f.readAll();
    };
    QTest::mouseClick(editor->Command1, Qt::LeftButton);

    const QString page =
        pages::SamplePage(pages::StyleOf(1), false, false, GGCT::Instance().Templates());
    EXPECT_EQ(GGCT::Instance().FGN, page);
    EXPECT_EQ(waits, QList<int>{5000});
    EXPECT_EQ(during, cp936::Encode(page + "\r\n"));
    EXPECT_FALSE(during.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(openedDocuments, QStringList{file});
    EXPECT_EQ(QFileInfo(file).fileName(), "yl.htm");
    EXPECT_FALSE(QFile::exists(file));
}

// A preview started during another's wait writes, opens and deletes on its own schedule.
TEST_F(Editors, SecondPreviewDuringTheWait) {
    StyleEditor* one = Open(1);
    StyleEditor* eight = Open(8);
    const QString file = preview::FilePath();
    QStringList seen;
    platform::Current().wait = [&](int) {
        QFile f(file);
        seen << (f.open(QIODevice::ReadOnly) ? cp936::Decode(f.readAll()).left(60) : "(none)");
        if (seen.size() == 1)
            QTest::mouseClick(eight->Command1, Qt::LeftButton);
    };
    QTest::mouseClick(one->Command1, Qt::LeftButton);
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(openedDocuments, (QStringList{file, file}));
    EXPECT_FALSE(QFile::exists(file));
    // The page of the last press is the one the work buffer holds.
    EXPECT_EQ(GGCT::Instance().FGN,
              pages::SamplePage(pages::StyleOf(8), false, false, GGCT::Instance().Templates()));
}

// A temporary folder that is missing, or whose place is taken by a file, cannot take the
// preview: a "提示" box says so, and nothing is opened or waited for.
TEST_F(Editors, UnwritableTemporaryFolderIsToldAndNothingOpens) {
    QFile file(previewFolder.filePath("a-file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    StyleEditor* editor = Open(2);
    bool waited = false;
    platform::Current().wait = [&](int) { waited = true; };
    for (const QString& folder :
         {previewFolder.filePath("missing/folder"), previewFolder.filePath("a-file/temp")}) {
        messages.clear();
        SetTemporaryFolder(folder);
        QTest::mouseClick(editor->Command1, Qt::LeftButton);
        ASSERT_EQ(messages.size(), 1) << folder.toStdString();
        EXPECT_EQ(messages[0].title, "提示");
        EXPECT_EQ(messages[0].text, QString::fromUtf16(preview::kCannotWrite) +
                                        QDir::toNativeSeparators(preview::FilePath()));
        EXPECT_TRUE(openedDocuments.isEmpty());
        EXPECT_FALSE(waited);
    }
}

// A folder without write permission: the same. Permissions do not stop root, whose test run
// the case above covers.
TEST_F(Editors, ReadOnlyTemporaryFolderIsToldAndNothingOpens) {
    const QString folder = previewFolder.filePath("read-only");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    QFile probe(QDir(folder).filePath("probe"));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.close();
        probe.remove();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "permissions do not keep this user from writing";
    }
    SetTemporaryFolder(folder);
    StyleEditor* editor = Open(3);
    bool waited = false;
    platform::Current().wait = [&](int) { waited = true; };
    QTest::mouseClick(editor->Command1, Qt::LeftButton);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].title, "提示");
    EXPECT_TRUE(openedDocuments.isEmpty());
    EXPECT_FALSE(waited);
}

// Before any page is generated the work buffer is empty, and a preview of it is a file of
// the line break alone.
TEST_F(Editors, WorkBufferStartsEmpty) {
    EXPECT_EQ(GGCT::Instance().FGN, "");
    QByteArray during;
    platform::Current().wait = [&](int) {
        QFile f(preview::FilePath());
        if (f.open(QIODevice::ReadOnly))
            during = f.readAll();
    };
    YLWY();
    EXPECT_EQ(during, "\r\n");
    EXPECT_EQ(openedDocuments, QStringList{preview::FilePath()});
    EXPECT_FALSE(QFile::exists(preview::FilePath()));
}

TEST_F(Editors, PreviewFileHoldsTheBufferInCodePage936) {
    EXPECT_EQ(preview::FileBytes(QString()), "\r\n");
    EXPECT_EQ(preview::FileBytes(QStringLiteral("爱")), QByteArray("\xB0\xAE\r\n"));
    // What the code page lacks shows as one "?" a character.
    EXPECT_EQ(preview::FileBytes(QString::fromUtf8("a\u20A9b\U0001F496c")), "a?b?c\r\n");
}

TEST_F(Editors, UploadButtonRegeneratesEveryTimeAndAsksForTheUploadWindow) {
    StyleEditor* editor = Open(5);
    QSignalSpy asked(&EditorDesk::Instance(), &EditorDesk::UploadRequested);
    editor->SetBoxText(15, "第一次");
    QTest::mouseClick(editor->Command2, Qt::LeftButton);
    EXPECT_TRUE(GGCT::Instance().FGN.contains("<title>第一次</title>"));
    editor->SetBoxText(15, "第二次");
    QTest::mouseClick(editor->Command2, Qt::LeftButton);
    EXPECT_TRUE(GGCT::Instance().FGN.contains("<title>第二次</title>"));
    EXPECT_FALSE(GGCT::Instance().FGN.contains("第一次"));
    EXPECT_EQ(asked.count(), 2);
    EXPECT_TRUE(openedDocuments.isEmpty());
}

TEST_F(Editors, CheckBoxDecidesAtEveryPress) {
    for (int n : {2, 3}) {
        StyleEditor* editor = Open(n);
        const QString snippet = GGCT::Instance().Templates().Template(u"PF");
        QTest::mouseClick(editor->Command2, Qt::LeftButton);
        EXPECT_TRUE(GGCT::Instance().FGN.startsWith("<!DOCTYPE html>")) << n;
        editor->Check1->setChecked(true);
        QTest::mouseClick(editor->Command2, Qt::LeftButton);
        EXPECT_TRUE(GGCT::Instance().FGN.startsWith(snippet.left(30))) << n;
        EXPECT_FALSE(GGCT::Instance().FGN.contains("图片地址1"));
        editor->Check1->setChecked(false);
        QTest::mouseClick(editor->Command2, Qt::LeftButton);
        EXPECT_TRUE(GGCT::Instance().FGN.startsWith("<!DOCTYPE html>")) << n;
    }
}

}  // namespace
