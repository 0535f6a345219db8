#pragma once
// The single-copy test: one running copy of the program per user. A copy holds a lock file in
// the per-user runtime folder for as long as it runs; a second copy finds it held and ends.

#include <QString>

#include <memory>

class QLockFile;

namespace program {

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

}  // namespace program
