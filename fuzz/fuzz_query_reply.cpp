// Fuzzes the client's reading of query replies: the reply text cut into records and fields.
//
// Properties: the records and fields put together again are the reply; and the reply the
// service builds from rows whose values hold no separator character is read back as those
// rows.

#include "FuzzSupport.h"
#include "common/GatewayProtocol.h"

#include <QStringList>

#include <vector>

namespace {

const QString kRecord = QString::fromUtf16(gateway::kRecordSeparator);
const QString kField = QString::fromUtf16(gateway::kFieldSeparator);

// The characters the service refuses in any value it stores (HasReplySeparator).
QString WithoutSeparators(QString value) {
    value.remove(QChar(u'い'));
    value.remove(QChar(u'ゼ'));
    return value;
}

void CheckReading(const QString& reply) {
    const QStringList records = gateway::SplitRecords(reply);
    FUZZ_CHECK(!records.isEmpty());
    FUZZ_CHECK(records.join(kRecord) == reply);
    for (const QString& record : records) {
        const QStringList fields = gateway::SplitFields(record);
        FUZZ_CHECK(!fields.isEmpty());
        FUZZ_CHECK(fields.join(kField) == record);
    }
}

// Rows as a query gives them: at least one field each. Where the input has no rows, the
// service answers "no row".
void CheckRoundTrip(const std::vector<QStringList>& rows) {
    const QString reply = gateway::BuildQueryReply(rows);
    const QStringList records = gateway::SplitRecords(reply);
    FUZZ_CHECK(records.size() >= 2 && records[0].isEmpty());
    if (rows.empty()) {
        FUZZ_CHECK(records.size() == 2 && records[1].isEmpty());
        return;
    }
    FUZZ_CHECK(static_cast<size_t>(records.size()) == rows.size() + 1);
    for (size_t i = 0; i < rows.size(); ++i)
        FUZZ_CHECK(gateway::SplitFields(records[static_cast<qsizetype>(i) + 1]) == rows[i]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes = fuzz::BytesOf(data, size);
    // The client decodes the reply body from code page 936 before it reads it.
    const QString reply = cp936::Decode(bytes);
    CheckReading(reply);
    CheckReading(fuzz::Utf16Of(bytes));

    // Rows taken from the reply itself, each value without the separator characters.
    const QStringList records = gateway::SplitRecords(reply);
    std::vector<QStringList> rows;
    for (qsizetype k = 1; k < records.size(); ++k) {
        QStringList row;
        for (const QString& field : gateway::SplitFields(records[k]))
            row.append(WithoutSeparators(field));
        rows.push_back(row);
    }
    CheckRoundTrip(rows);
    return 0;
}
