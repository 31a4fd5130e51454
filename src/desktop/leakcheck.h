#pragma once

// LeakSanitizer's interface where the build has it (the sanitizer build):
// CORVANE_LSAN is defined there, and checkForLeaksNow() runs its check.

#if defined(__SANITIZE_ADDRESS__)
#define CORVANE_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVANE_LSAN 1
#endif
#endif

#ifdef CORVANE_LSAN
#include <sanitizer/lsan_interface.h>
#endif

inline void checkForLeaksNow()
{
#ifdef CORVANE_LSAN
    __lsan_do_leak_check();
#endif
}
