#include "server/RequestBody.h"

#include "common/ValueEncoding.h"

#include <initializer_list>
#include <string>

namespace server {
namespace {

using gateway::Command;

std::optional<GatewayRequest> Fail(BodyError* error, RefusalWord word, QString detail) {
    if (error)
        *error = {word, std::move(detail)};
    return std::nullopt;
}

bool HasExactly(const std::map<std::string, QByteArray>& fields,
                std::initializer_list<const char*> names) {
    if (fields.size() != names.size())
        return false;
    for (const char* name : names) {
        if (!fields.count(name))
            return false;
    }
    return true;
}

}  // namespace

std::optional<GatewayRequest> DecodeGatewayBody(QByteArrayView body, BodyError* error) {
    const auto fields = gateway::SplitForm(body);
    if (!fields)
        return Fail(error, refusal::kBadForm, QStringLiteral("not a form body"));
    const auto zc = fields->find("zc");
    if (zc == fields->end())
        return Fail(error, refusal::kBadForm, QStringLiteral("no zc field"));
    const auto codeText = DecodeValue(zc->second);
    if (!codeText)
        return Fail(error, refusal::kBadNumber, QStringLiteral("zc is not a number list"));
    if (codeText->size() != 1 || (*codeText)[0] < u'1' || (*codeText)[0] > u'5') {
        return Fail(error, refusal::kBadForm, QStringLiteral("unknown command code"));
    }

    GatewayRequest request;
    request.code = static_cast<Command>((*codeText)[0].unicode() - u'0');
    auto text = [&](const char* name, QString* out) {
        const auto value = DecodeValue(fields->at(name));
        if (!value)
            return false;
        *out = *value;
        return true;
    };
    const auto badNumber = [&](const char* name) {
        return Fail(error, refusal::kBadNumber,
                    QStringLiteral("%1 is not a number list").arg(QLatin1String(name)));
    };

    switch (request.code) {
        case Command::Query:
        case Command::Execute:
            if (!HasExactly(*fields, {"zc", "sql"}))
                break;
            if (!text("sql", &request.statement))
                return badNumber("sql");
            return request;
        case Command::ServerTime:
            if (!HasExactly(*fields, {"zc"}))
                break;
            return request;
        case Command::UploadPage: {
            if (!HasExactly(*fields, {"zc", "File", "data"}))
                break;
            if (!text("File", &request.pageName))
                return badNumber("File");
            auto bytes = DecodeValueBytes(fields->at("data"));
            if (!bytes)
                return badNumber("data");
            request.pageBytes = std::move(*bytes);
            return request;
        }
        case Command::RenamePage:
            if (!HasExactly(*fields, {"zc", "File1", "File2"}))
                break;
            if (!text("File1", &request.oldName))
                return badNumber("File1");
            if (!text("File2", &request.newName))
                return badNumber("File2");
            return request;
    }
    return Fail(error, refusal::kBadForm,
                QStringLiteral("wrong fields for command %1").arg(static_cast<int>(request.code)));
}

}  // namespace server
