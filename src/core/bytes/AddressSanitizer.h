#pragma once

namespace lumatrim {

// True in a build under AddressSanitizer (the sanitizer tests and the
// fuzzers): gcc says so with a macro, clang through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kUnderAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kUnderAddressSanitizer = true;
#else
inline constexpr bool kUnderAddressSanitizer = false;
#endif
#else
inline constexpr bool kUnderAddressSanitizer = false;
#endif

}  // namespace lumatrim
