#pragma once
// The ways text reaches a line edit besides typed keys, as the window system delivers them:
// a commit of an input method (how Chinese is typed), a paste from the clipboard (as the
// edit's context menu does it) and a drop of dragged text.

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>

namespace text_entry {

inline void Commit(QLineEdit* edit, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(edit, &event);
}

inline void Paste(QLineEdit* edit, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    edit->paste();
}

// Dropped at the end of the edit's text.
inline void Drop(QLineEdit* edit, const QString& text) {
    QMimeData data;
    data.setText(text);
    const QPointF at(edit->width() - 2, edit->height() / 2.0);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &enter);
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &drop);
}

}  // namespace text_entry
