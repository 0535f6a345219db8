// EncodeValue over a 1 MiB page (mostly ASCII with Chinese mixed in), against the obvious
// version that asks the code page converter for every character; and the service's way back,
// DecodeValueBytes, over the encoded page.

#include "common/Codepage936.h"
#include "common/ValueEncoding.h"

#include <QStringEncoder>

#include <benchmark/benchmark.h>

namespace {

QString MakePage() {
    const QString chunk = QString::fromUtf8(
        "<div class=\"line\" style=\"color:#ff6699\">亲爱的，我爱你！Every day with you is a "
        "gift.</div>\n<script>var t = '我们在一起的第' + days + '天';</script>\n");
    QString page;
    while (page.size() < 1024 * 1024)
        page += chunk;
    page.truncate(1024 * 1024);
    return page;
}

QString EncodePerCharacter(QStringView text) {
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QByteArray bytes = encoder.encode(text.mid(i, 1));
        int code = 63;
        if (bytes.size() == 1)
            code = static_cast<unsigned char>(bytes[0]);
        if (bytes.size() == 2) {
            code = 256 * static_cast<unsigned char>(bytes[0]) +
                   static_cast<unsigned char>(bytes[1]) - 65536;
        }
        out += QString::number(code);
        out += QLatin1Char('A');
    }
    out.chop(1);
    return out;
}

void BM_EncodeValue(benchmark::State& state) {
    const QString page = MakePage();
    EncodeValue(u"warm");  // build the tables outside the timing
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeValue(page));
    state.SetItemsProcessed(state.iterations() * page.size());
}
BENCHMARK(BM_EncodeValue)->Unit(benchmark::kMillisecond);

void BM_EncodeValuePerCharacterConverter(benchmark::State& state) {
    const QString page = MakePage();
    if (EncodePerCharacter(QStringView(page).left(4096)) !=
        EncodeValue(QStringView(page).left(4096))) {
        state.SkipWithError("the two versions disagree");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodePerCharacter(page));
    state.SetItemsProcessed(state.iterations() * page.size());
}
BENCHMARK(BM_EncodeValuePerCharacterConverter)->Unit(benchmark::kMillisecond)->Iterations(2);

// What the service does with every upload: the encoded page back to its bytes.
void BM_DecodeValueBytes(benchmark::State& state) {
    const QByteArray encoded = EncodeValue(MakePage()).toLatin1();
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeValueBytes(encoded));
    state.SetBytesProcessed(state.iterations() * encoded.size());
}
BENCHMARK(BM_DecodeValueBytes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
