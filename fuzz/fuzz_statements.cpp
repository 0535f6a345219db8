// Fuzzes the statement recogniser of the service: a received statement taken apart into its
// shape and quoted values and matched against the catalogue.
//
// Properties: every kind of the catalogue built with values taken from the input is recognised
// as that kind with those values; a recognised statement is exactly what Build makes of its
// kind and values (there is one way to write each statement).

#include "FuzzSupport.h"
#include "common/Statements.h"

#include <QStringList>

#include <initializer_list>

namespace {

using statements::Kind;

QString BuildWith(Kind kind, const QStringList& v) {
    switch (statements::ShapeOf(kind).values) {
        case 0:
            return statements::Build(kind, {});
        case 1:
            return statements::Build(kind, {v[0]});
        case 2:
            return statements::Build(kind, {v[0], v[1]});
        case 3:
            return statements::Build(kind, {v[0], v[1], v[2]});
        default:
            return statements::Build(kind, {v[0], v[1], v[2], v[3]});
    }
}

void CheckReceived(const QString& statement) {
    QStringList quoted;
    const auto shape = statements::ShapeText(statement, &quoted);
    const auto recognised = statements::Recognise(statement);
    if (!shape) {
        FUZZ_CHECK(!recognised);
        return;
    }
    // Text outside quotes holds no quote, so every quote of the shape belongs to a slot.
    FUZZ_CHECK(shape->count(QLatin1Char('\'')) == 2 * quoted.size());
    if (recognised) {
        FUZZ_CHECK(recognised->values.size() == statements::ShapeOf(recognised->kind).values);
        FUZZ_CHECK(BuildWith(recognised->kind, recognised->values) == statement);
    }
}

// Every kind, filled from consecutive values of the list, starting at each of its first places.
void CheckCatalogue(const QStringList& pool) {
    for (qsizetype start = 0; start < pool.size() && start < 6; ++start) {
        QStringList v;
        for (qsizetype k = 0; k < 4; ++k)
            v.append(pool[(start + k) % pool.size()]);
        for (const statements::Shape& shape : statements::Catalogue()) {
            const QString built = BuildWith(shape.kind, v);
            const auto recognised = statements::Recognise(built);
            FUZZ_CHECK(recognised && recognised->kind == shape.kind);
            FUZZ_CHECK(recognised->values == v.mid(0, shape.values));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes = fuzz::BytesOf(data, size);
    // The service reads statements out of code-page-936 bytes; UTF-8 keeps the seeds readable,
    // and UTF-16 reaches every unit.
    const QString texts[] = {QString::fromUtf8(bytes), cp936::Decode(bytes), fuzz::Utf16Of(bytes)};
    for (const QString& text : texts)
        CheckReceived(text);

    // The values: the pieces of the text between NUL characters, and the values the text holds
    // between quotes.
    const QString& text = texts[0];
    QStringList pool = text.split(QChar(u'\0'));
    QStringList quoted;
    if (statements::ShapeText(text, &quoted))
        pool += quoted;
    pool.append(texts[2]);
    CheckCatalogue(pool);
    return 0;
}
