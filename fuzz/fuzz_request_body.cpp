// Fuzzes the gateway's request-body decoder: a body as it comes from the network, taken apart
// into its command and values, and the value encoding the decoder undoes.
//
// Properties: a value encoded as the client encodes it decodes back to itself, and a body the
// client builds decodes to the command and values it was built from.

#include "FuzzSupport.h"
#include "common/GatewayProtocol.h"
#include "common/ValueEncoding.h"
#include "server/RequestBody.h"

#include <QStringList>

namespace {

using gateway::Command;

void CheckValueRoundTrip(const QString& value) {
    // The body appends its values behind text of its own, the windows encode them alone.
    QByteArray appended("sql=");
    AppendEncodedValue(appended, value);
    const QByteArray encoded = EncodeValue(value).toLatin1();
    FUZZ_CHECK(appended.sliced(4) == encoded);
    // A unit that the code page cannot hold is sent as "?", at the byte level as well.
    const auto bytes = DecodeValueBytes(encoded);
    FUZZ_CHECK(bytes && *bytes == cp936::Encode(value));
    const QString kept = fuzz::KeepCodePageText(value);
    const auto text = DecodeValue(EncodeValue(kept).toLatin1());
    FUZZ_CHECK(text && *text == kept);
}

void CheckBuiltBodies(const QString& first, const QString& second) {
    const QString a = fuzz::KeepCodePageText(first);
    const QString b = fuzz::KeepCodePageText(second);
    for (Command code : {Command::Query, Command::Execute}) {
        const auto request = server::DecodeGatewayBody(gateway::StatementBody(code, a), nullptr);
        FUZZ_CHECK(request && request->code == code && request->statement == a);
    }
    const auto time = server::DecodeGatewayBody(gateway::ServerTimeBody(), nullptr);
    FUZZ_CHECK(time && time->code == Command::ServerTime);
    // A page travels as its exact bytes, whatever characters it holds.
    const auto upload = server::DecodeGatewayBody(gateway::UploadBody(a, second), nullptr);
    FUZZ_CHECK(upload && upload->code == Command::UploadPage && upload->pageName == a &&
               upload->pageBytes == cp936::Encode(second));
    const auto rename = server::DecodeGatewayBody(gateway::RenameBody(a, b), nullptr);
    FUZZ_CHECK(rename && rename->code == Command::RenamePage && rename->oldName == a &&
               rename->newName == b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView body = fuzz::BytesOf(data, size);

    server::BodyError error{};
    const auto request = server::DecodeGatewayBody(body, &error);
    const auto fields = gateway::SplitForm(body);
    FUZZ_CHECK(!request || (fields && fields->count("zc") == 1));
    // A refused body comes with the refusal's word and the reason for the log.
    if (!request)
        FUZZ_CHECK(error.word.text != nullptr && !error.detail.isEmpty());

    // A decoded statement made of characters the code page holds is sent again unchanged.
    if (request && (request->code == Command::Query || request->code == Command::Execute) &&
        fuzz::KeepCodePageText(request->statement) == request->statement) {
        const auto again = server::DecodeGatewayBody(
            gateway::StatementBody(request->code, request->statement), nullptr);
        FUZZ_CHECK(again && again->statement == request->statement);
    }

    QStringList values{fuzz::Utf16Of(body), cp936::Decode(body)};
    if (fields) {
        for (const auto& [name, encoded] : *fields) {
            if (const auto value = DecodeValue(encoded))
                values.append(*value);
            (void)DecodeValueBytes(encoded);
        }
    }
    for (const QString& value : values)
        CheckValueRoundTrip(value);
    CheckBuiltBodies(values[0], values[1]);
    return 0;
}
