// The client's two budgets, measured on the real windows against a local service:
// - memory: the process's resident size with the main window, all eight editors and the
//   upload window open (budget: 80 MB);
// - start: how long the sign-in window takes to show, against a bare Qt window (budget: twice
//   the bare window's time).
// Run it on a display (xvfb-run -a build/default/bench/client/bench_windows); it measures each
// budget in a process of its own ("memory", "start"), prints the figures and passes or fails
// nothing.

#include "ServiceProcess.h"
#include "client/accounts/Login.h"
#include "client/gateway/ServiceAddress.h"
#include "client/pages/StyleEditor.h"
#include "client/platform/Platform.h"
#include "client/publish/SCCT.h"
#include "client/shell/FontSubstitutes.h"
#include "client/shell/GGCT.h"
#include "client/shell/Main.h"
#include "client/shell/SingleInstance.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double ResidentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// Tells when a window has been painted on the screen for the first time.
class FirstPaint : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

// Milliseconds from construction to the window's first paint on the screen, median of rounds.
// The wait blocks on the window system's events, so no polling interval adds to the figure.
double MedianShowMs(const std::function<QWidget*()>& make, int rounds) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer clock;
        clock.start();
        QWidget* w = make();
        FirstPaint paint;
        w->installEventFilter(&paint);
        w->show();
        while (!paint.painted && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
        w->removeEventFilter(&paint);
        delete w;
        QApplication::processEvents();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

// A fresh program, from the start of main to the first paint of its first window: a bare Qt
// window, or the sign-in window as the real start-up brings it (the main window loaded from
// the service first). Prints the milliseconds.
int ColdStart(bool bare, QElapsedTimer& sinceMain) {
    QWidget* shown = nullptr;
    FirstPaint paint;
    Main* window = nullptr;
    if (bare) {
        shown = new QWidget();
        shown->installEventFilter(&paint);
        shown->show();
    } else {
        program::InstallFontSubstitutes();
        service::SetAddress(qEnvironmentVariable("ZR_BENCH_SERVICE"));
        program::SetInstanceKey(
            QStringLiteral("bench-cold-%1").arg(QApplication::applicationPid()));
        window = new Main();
        QObject::connect(window, &Main::SignInRequested, window, [&](Main* owner) {
            shown = new Login(owner);
            shown->installEventFilter(&paint);
            shown->show();
        });
        window->Load();
    }
    while (!paint.painted && sinceMain.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    std::printf("%.2f\n", double(sinceMain.nsecsElapsed()) / 1e6);
    program::ReleaseInstance();
    return 0;
}

// Runs a fresh copy of this program in `mode` and reads the figure it prints.
double RunChild(const QString& mode, const QProcessEnvironment& environment) {
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {mode});
    child.waitForFinished(60000);
    return QString::fromLatin1(child.readAllStandardOutput()).trimmed().toDouble();
}

int main(int argc, char** argv) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    if (mode == QLatin1String("cold-bare") || mode == QLatin1String("cold-login"))
        return ColdStart(mode == QLatin1String("cold-bare"), sinceMain);
    if (mode.isEmpty()) {
        for (const char* part : {"memory", "start", "cold"}) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(part)});
            child.waitForFinished(300000);
        }
        return 0;
    }
    if (mode == QLatin1String("cold")) {
        // Fresh programs in turn, so that both meet the same state of the machine's caches.
        ServiceProcess service;
        if (!service.Start()) {
            std::fprintf(stderr, "%s\n", qPrintable(service.Error()));
            return 1;
        }
        QTemporaryDir folder;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ZR_BENCH_SERVICE"), service.Url());
        environment.insert(QStringLiteral("HOME"), folder.path());
        std::vector<double> bare, login;
        RunChild(QStringLiteral("cold-bare"), environment);
        RunChild(QStringLiteral("cold-login"), environment);
        for (int round = 0; round < 11; ++round) {
            bare.push_back(RunChild(QStringLiteral("cold-bare"), environment));
            login.push_back(RunChild(QStringLiteral("cold-login"), environment));
        }
        std::sort(bare.begin(), bare.end());
        std::sort(login.begin(), login.end());
        std::printf(
            "program start to first window (%s, median of 11): bare window %.1f ms, "
            "sign-in window %.1f ms (the main window loaded first), ratio %.2f\n",
            qPrintable(QGuiApplication::platformName()), bare[5], login[5], login[5] / bare[5]);
        return 0;
    }
    program::InstallFontSubstitutes();
    ServiceProcess service;
    if (!service.Start()) {
        std::fprintf(stderr, "%s\n", qPrintable(service.Error()));
        return 1;
    }
    service::SetAddress(service.Url());
    QTemporaryDir folder;
    platform::Current().programFolder = [path = folder.path()] { return path; };
    program::SetInstanceKey(QStringLiteral("bench-windows-%1").arg(QApplication::applicationPid()));
    const double startMb = ResidentMegabytes();

    // The main window as the start-up leaves it, before the sign-in window comes (nothing
    // answers its SignInRequested).
    auto* window = new Main();
    window->Load();
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QTest::qWait(10);
    }
    const double mainMb = ResidentMegabytes();

    if (mode == QLatin1String("start")) {
        // Bare windows and sign-in windows shown in turn, so that both meet the same moments
        // of a busy machine.
        std::vector<double> bareTimes, loginTimes;
        MedianShowMs([] { return new QWidget(); }, 2);
        MedianShowMs([window] { return new Login(window); }, 2);
        for (int round = 0; round < 101; ++round) {
            bareTimes.push_back(MedianShowMs([] { return new QWidget(); }, 1));
            loginTimes.push_back(MedianShowMs([window] { return new Login(window); }, 1));
        }
        std::sort(bareTimes.begin(), bareTimes.end());
        std::sort(loginTimes.begin(), loginTimes.end());
        const double bare = bareTimes[bareTimes.size() / 2];
        const double login = loginTimes[loginTimes.size() / 2];
        std::printf(
            "window shown (%s, median of 101): bare %.2f ms, sign-in %.2f ms, ratio %.2f "
            "(budget 2.0)\n",
            qPrintable(QGuiApplication::platformName()), bare, login, login / bare);
    } else {
        window->EnableGallery();
        std::vector<double> editors;
        for (int style = 1; style <= pages::kStyleCount; ++style) {
            if (!QTest::qWaitForWindowExposed(EditorDesk::Instance().Open(style)))
                std::fprintf(stderr, "an editor was not exposed\n");
            editors.push_back(ResidentMegabytes());
        }
        if (!QTest::qWaitForWindowExposed(SCCT::ShowWindow()))
            std::fprintf(stderr, "the upload window was not exposed\n");
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
            QTest::qWait(10);
        }
        const double openMb = ResidentMegabytes();
        std::printf(
            "resident memory (%s): %.1f MB at start, %.1f MB with the main window, 8 "
            "editors and the upload window open (budget 80 MB)\n",
            qPrintable(QGuiApplication::platformName()), startMb, openMb);
        std::printf("  main window alone %.1f MB; after each editor:", mainMb);
        for (double mb : editors)
            std::printf(" %.1f", mb);
        std::printf("\n");
    }
    program::ReleaseInstance();
    return 0;
}
