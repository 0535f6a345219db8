#include "Program.h"

#include "GGCT.h"
#include "Platform.h"
#include "ServiceAddress.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFont>
#include <QLockFile>
#include <QStandardPaths>
#include <QUrl>

namespace program {
namespace {

QList<QPointer<QWidget>>& OpenWindows() {
    static QList<QPointer<QWidget>> windows;
    return windows;
}

void Prune() {
    OpenWindows().removeIf([](const QPointer<QWidget>& w) { return w.isNull(); });
}

// Records every top-level window the first time it is shown.
class ShowWatcher : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow())
                WindowRegistry::Add(widget);
        }
        return false;
    }
};

}  // namespace

QString ExecutableBaseName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

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

bool NetworkPresent() {
    return platform::Current().networkPresent(QUrl(service::Address()).host());
}

void InstallFontSubstitutes() {
    const QStringList sans = {QStringLiteral("Noto Sans CJK SC"),
                              QStringLiteral("WenQuanYi Zen Hei")};
    const QStringList serif = {QStringLiteral("Noto Serif CJK SC"),
                               QStringLiteral("Noto Sans CJK SC"),
                               QStringLiteral("WenQuanYi Zen Hei")};
    // 黑体 first looks for a Hei face whose line is no taller than its size, so that captions
    // in boxes of about their point size keep their lower strokes.
    const QStringList hei = {QStringLiteral("WenQuanYi Zen Hei"),
                             QStringLiteral("Noto Sans CJK SC")};
    for (const char* face : {"黑体", "SimHei"}) {
        QFont::insertSubstitutions(QString::fromUtf8(face), hei);
    }
    for (const char* face : {"微软雅黑", "Microsoft YaHei"}) {
        QFont::insertSubstitutions(QString::fromUtf8(face), sans);
    }
    for (const char* face : {"宋体", "SimSun", "新宋体"}) {
        QFont::insertSubstitutions(QString::fromUtf8(face), serif);
    }
    QFont::insertSubstitutions(QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("DejaVu Sans")});
}

void WindowRegistry::Install() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    qApp->installEventFilter(new ShowWatcher(qApp));
}

void WindowRegistry::Add(QWidget* window) {
    Prune();
    for (const auto& w : OpenWindows()) {
        if (w == window)
            return;
    }
    OpenWindows().append(window);
}

QList<QPointer<QWidget>> WindowRegistry::Windows() {
    Prune();
    return OpenWindows();
}

void EndProgram() {
    // Closing a window may itself end the program (the update notice does): one end at a time.
    static bool ending = false;
    if (ending)
        return;
    ending = true;
    const QList<QPointer<QWidget>> windows = WindowRegistry::Windows();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        if (*it)
            (*it)->close();
    }
    // Windows shown before the registry watched them, if any.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            w->close();
    }
    GGCT::Reset();
    OpenWindows().clear();
    platform::Current().programEnded();
    QCoreApplication::quit();
    ending = false;
}

}  // namespace program
