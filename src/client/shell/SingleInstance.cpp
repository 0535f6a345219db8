#include "client/shell/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace program {
namespace {

QString& InstanceKey() {
    static QString key = QStringLiteral("ZenriBiaobai");
    return key;
}

std::unique_ptr<SingleInstance>& HeldInstance() {
    static std::unique_ptr<SingleInstance> held;
    return held;
}

}  // namespace

SingleInstance::SingleInstance(const QString& key) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    lock_ = std::make_unique<QLockFile>(QDir(folder).filePath(key + QStringLiteral(".lock")));
    lock_->setStaleLockTime(0);  // a lock is stale only when its process is gone
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Acquire() {
    return lock_->tryLock(0);
}

void SetInstanceKey(const QString& key) {
    InstanceKey() = key;
}

bool AcquireInstance() {
    if (HeldInstance())
        return true;
    auto instance = std::make_unique<SingleInstance>(InstanceKey());
    if (!instance->Acquire())
        return false;
    HeldInstance() = std::move(instance);
    return true;
}

void ReleaseInstance() {
    HeldInstance().reset();
}

}  // namespace program
