// From "上 传" to "上传成功！" in the upload window, for the largest sample page, against a
// real service on loopback (the SQLite store, the page written through to disk). The first
// upload claims the name; the figure is for the uploads after it (page, server time, record).

#include "ServiceProcess.h"
#include "client/gateway/Gateway.h"
#include "client/gateway/ServiceAddress.h"
#include "client/pages/Generation.h"
#include "client/pages/StyleTables.h"
#include "client/publish/SCCT.h"
#include "client/shell/GGCT.h"
#include "common/Statements.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// The sample page with the most characters.
QString LargestSamplePage(int* style) {
    const pages::TemplateStore& store = GGCT::Instance().Templates();
    QString largest;
    for (const pages::Style& s : pages::Styles()) {
        const QString page = pages::SamplePage(s, s.floatingPicture, false, store);
        if (page.size() > largest.size()) {
            largest = page;
            *style = s.number;
        }
    }
    return largest;
}

void BM_UploadLargestSamplePage(benchmark::State& state) {
    int style = 0;
    GGCT::Instance().FGN = LargestSamplePage(&style);
    SCCT* window = SCCT::ShowWindow();
    window->Text1->setText(QStringLiteral("benchpage"));
    window->Upload();
    if (window->TS->text() != QStringLiteral("上传成功！")) {
        state.SkipWithError("the first upload failed");
        return;
    }
    for (auto _ : state) {
        window->TS->clear();
        window->Upload();
        if (window->TS->text() != QStringLiteral("上传成功！")) {
            state.SkipWithError("an upload failed");
            break;
        }
    }
    state.SetLabel("style " + std::to_string(style) + ", " +
                   std::to_string(GGCT::Instance().FGN.size()) + " characters");
}
BENCHMARK(BM_UploadLargestSamplePage)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ServiceProcess service;
    if (!service.Start()) {
        std::fprintf(stderr, "%s\n", qPrintable(service.Error()));
        return 1;
    }
    service::SetAddress(service.Url());
    const auto row = gateway::Query(statements::SignInLookup(u"88888888", u"zenri520")).Fields(1);
    if (!row) {
        std::fprintf(stderr, "cannot sign in\n");
        return 1;
    }
    GGCT::Instance().YHM = QStringLiteral("88888888");
    GGCT::Instance().WJM = QString();
    GGCT::Instance().YMFG = QStringLiteral("阿狸心形表白");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // Where the time went: the service's own time for each request of the last upload.
    const QStringList lines = service.LogLines();
    std::printf("the service's log of the last upload:\n");
    for (const QString& line : lines.mid(std::max<qsizetype>(0, lines.size() - 3)))
        std::printf("  %s\n", qPrintable(line));
    return 0;
}
