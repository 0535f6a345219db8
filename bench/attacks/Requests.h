#pragma once
// The requests of the attacks, in bytes, made with the client's own encoding of gateway bodies
// (common/GatewayProtocol.h, common/Statements.h), so that what the service receives is what
// the desktop program would send.

#include <string>
#include <string_view>

namespace attacks {

// "POST /asp/index.asp HTTP/1.1" with the headers the client sends, up to and including the
// blank line. contentLength is what the head announces, whatever body follows.
std::string GatewayHead(long long contentLength, bool close);

// Whole requests: the settings query (what the client reads first) and a sign-in lookup.
std::string SettingsQueryRequest();
std::string SignInRequest(std::string_view user, std::string_view password);

// A response whose status is 200 and whose reply holds a row (record 1 present and not empty).
bool AnsweredWithRow(std::string_view response);

// Body bytes that are all digits and "A"s after "zc=49&sql=": a query whose statement is a
// long number list. size is the whole length.
std::string NumberListBody(size_t size);

}  // namespace attacks
