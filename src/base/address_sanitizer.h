// Whether this build runs under AddressSanitizer, which reserves terabytes of address space and
// reports faults on the standard error: the decoding helper then keeps both.
#pragma once

namespace pixdraft {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

}  // namespace pixdraft
