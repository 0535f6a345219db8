// Generating each style's sample page from its template and sample entries, as the editors'
// buttons do (the template store loaded once, as the program holds it).

#include "client/pages/Generation.h"
#include "client/pages/StyleTables.h"
#include "client/pages/TemplateStore.h"

#include <benchmark/benchmark.h>

namespace {

const pages::TemplateStore& Store() {
    static const pages::TemplateStore store(QStringLiteral("http://127.0.0.1:8080"));
    return store;
}

void BM_GenerateSamplePage(benchmark::State& state) {
    const pages::Style& style = pages::StyleOf(int(state.range(0)));
    const bool floating = state.range(1) != 0;
    // The entries as an editor holds them, read at every step.
    std::vector<QString> boxes;
    for (const pages::EntryBox& box : style.boxes)
        boxes.push_back(pages::SampleText(box, Store().ServiceAddress()));
    QString FGN;
    for (auto _ : state) {
        pages::FGTH(
            style, [&](int i) { return boxes[std::size_t(i)]; }, floating, Store(), FGN);
        benchmark::DoNotOptimize(FGN.data());
    }
    state.counters["page_chars"] = double(FGN.size());
    state.SetLabel(style.windowName.toStdString() + (floating ? " + PF" : ""));
}
BENCHMARK(BM_GenerateSamplePage)
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 7, 8}, {0}})
    ->Args({2, 1})
    ->Args({3, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
