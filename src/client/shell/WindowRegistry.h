#pragma once
// The top-level windows of the run in the order they were first shown, so that the end of the
// program can close them newest first. The shared-state window counts as opened when it is
// created; every other window registers itself on its first show once Install() has run.

#include <QList>
#include <QPointer>
#include <QWidget>

namespace program {

class WindowRegistry {
public:
    static void Install();  // starts watching the application's windows
    static void Add(QWidget* window);
    // The windows still open, oldest first.
    static QList<QPointer<QWidget>> Windows();
    // Forgets every window (the end of the run closed them).
    static void Clear();
};

}  // namespace program
