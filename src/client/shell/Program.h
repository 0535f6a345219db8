#pragma once
// The program as a whole: its version, the single-copy test, the network test, and the
// orderly end that closes every window, newest first.

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class QLockFile;

namespace program {

inline constexpr char16_t kClientVersion[] = u"V1.2";

// The executable's file name without folder and extension.
QString ExecutableBaseName();

// Holds the per-user lock of a running copy for as long as the object lives. The key tells
// copies apart (tests use their own); by default "ZenriBiaobai".
class SingleInstance {
public:
    explicit SingleInstance(const QString& key = QStringLiteral("ZenriBiaobai"));
    ~SingleInstance();
    // False when another copy holds the lock.
    bool Acquire();

private:
    std::unique_ptr<QLockFile> lock_;
};

// The run's own lock, held until the program ends or ReleaseInstance() is called. The key
// is "ZenriBiaobai" unless set before (tests use their own).
void SetInstanceKey(const QString& key);
bool AcquireInstance();
void ReleaseInstance();

// Whether the configured service can be reached at all (platform::Current().networkPresent).
bool NetworkPresent();

// Top-level windows in the order they were first shown (the shared-state window counts as
// opened when it is created). Windows register themselves on first show.
class WindowRegistry {
public:
    static void Install();  // starts watching the application's windows
    static void Add(QWidget* window);
    static QList<QPointer<QWidget>> Windows();
};

// The windows name the faces of a Chinese Windows desktop (黑体, 宋体, 微软雅黑, Verdana,
// Arial); this maps them to faces of this machine with the same look.
void InstallFontSubstitutes();

// Closes every open window, most recently opened first, the hidden shared-state window
// included, and asks the application to quit. Tells platform::Current().programEnded.
void EndProgram();

}  // namespace program
