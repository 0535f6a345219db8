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

bool HasExactly(const std::map<std::string, QByteArrayView>& fields,
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

std::optional<GatewayRequest> DecodeGatewayBody(QByteArrayView body, BodyError* error,
                                                const FieldLimits& limits) {
    const auto fields = gateway::SplitForm(body);
    if (!fields)
        return Fail(error, refusal::kBadForm, QStringLiteral("not a form body"));
    const auto zc = fields->find("zc");
    if (zc == fields->end())
        return Fail(error, refusal::kBadForm, QStringLiteral("no zc field"));
    bool codeTooLong = false;
    const auto codeText = DecodeValue(zc->second, 1, &codeTooLong);
    if (!codeText && !codeTooLong)
        return Fail(error, refusal::kBadNumber, QStringLiteral("zc is not a number list"));
    if (!codeText || codeText->size() != 1 || (*codeText)[0] < u'1' || (*codeText)[0] > u'5') {
        return Fail(error, refusal::kBadForm, QStringLiteral("unknown command code"));
    }

    GatewayRequest request;
    request.code = static_cast<Command>((*codeText)[0].unicode() - u'0');
    bool tooLong = false;
    auto text = [&](const char* name, qsizetype maxChars, QString* out) {
        const auto value = DecodeValue(fields->at(name), maxChars, &tooLong);
        if (!value)
            return false;
        *out = *value;
        return true;
    };
    // A field that did not decode: too long for its limit, or no number list.
    const auto refuse = [&](const char* name, RefusalWord whenTooLong) {
        if (tooLong) {
            return Fail(error, whenTooLong,
                        QStringLiteral("%1 is longer than it can be").arg(QLatin1String(name)));
        }
        return Fail(error, refusal::kBadNumber,
                    QStringLiteral("%1 is not a number list").arg(QLatin1String(name)));
    };

    switch (request.code) {
        case Command::Query:
        case Command::Execute:
            if (!HasExactly(*fields, {"zc", "sql"}))
                break;
            if (!text("sql", limits.statementChars, &request.statement))
                return refuse("sql", refusal::kBadValue);
            return request;
        case Command::ServerTime:
            if (!HasExactly(*fields, {"zc"}))
                break;
            return request;
        case Command::UploadPage: {
            if (!HasExactly(*fields, {"zc", "File", "data"}))
                break;
            if (!text("File", limits.nameChars, &request.pageName))
                return refuse("File", refusal::kBadName);
            auto bytes = DecodeValueBytes(fields->at("data"), limits.pageBytes, &tooLong);
            if (!bytes)
                return refuse("data", refusal::kTooBig);
            request.pageBytes = std::move(*bytes);
            return request;
        }
        case Command::RenamePage:
            if (!HasExactly(*fields, {"zc", "File1", "File2"}))
                break;
            if (!text("File1", limits.nameChars, &request.oldName))
                return refuse("File1", refusal::kBadName);
            if (!text("File2", limits.nameChars, &request.newName))
                return refuse("File2", refusal::kBadName);
            return request;
    }
    return Fail(error, refusal::kBadForm,
                QStringLiteral("wrong fields for command %1").arg(static_cast<int>(request.code)));
}

}  // namespace server
