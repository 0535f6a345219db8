// Fuzzes the page-name check of the service: a name from a gateway request or from the address
// /love/<name>, which becomes a key of the page store and part of page addresses.
//
// Property: a new name passes when, and only when, it is 1 to 30 small ASCII letters and digits;
// the name of a page stored before that rule, when it is 1 to 30 ASCII letters and digits.

#include "FuzzSupport.h"
#include "server/InputRules.h"

#include <cstring>

namespace {

// The rule written out another way: every unit is one of the 62 characters.
bool IsPlainName(const QString& name, bool capitals) {
    const char* kAllowed = capitals
                               ? "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                               : "abcdefghijklmnopqrstuvwxyz0123456789";
    if (name.size() < 1 || name.size() > 30)
        return false;
    for (QChar c : name) {
        if (c.unicode() == 0 || c.unicode() > 0x7f ||
            std::strchr(kAllowed, static_cast<char>(c.unicode())) == nullptr) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes = fuzz::BytesOf(data, size);
    // The address gives UTF-8, a gateway value code page 936; UTF-16 reaches every unit.
    for (const QString& name :
         {QString::fromUtf8(bytes), cp936::Decode(bytes), fuzz::Utf16Of(bytes)}) {
        FUZZ_CHECK(server::IsValidPageName(name) == IsPlainName(name, false));
        FUZZ_CHECK(server::IsStoredPageName(name) == IsPlainName(name, true));
    }
    return 0;
}
