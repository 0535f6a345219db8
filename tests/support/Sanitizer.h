#pragma once
// Whether this test program runs under AddressSanitizer, whose allocator keeps freed memory in
// quarantine by design: figures of a process's memory say nothing there.

namespace testsupport {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif

}  // namespace testsupport
