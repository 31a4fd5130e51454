#pragma once

// QTEST_MAIN, plus a leak check under LeakSanitizer while the application
// object still lives. Anything the tests leaked is unreachable by then and
// reported; what the toolkit keeps for the application's lifetime (the
// offscreen platform's screen, which it never frees) is still reachable and
// is not. The end-of-process check is then skipped.

#include "application.h"

#include <QApplication>
#include <QTest>

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

// The program's own high-DPI setup: the form is laid out at 96 logical DPI
// whatever the platform's density, as on the desktop.
#define CORVANE_TEST_MAIN(TestObject)                                                              \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        int result = 0;                                                                            \
        prepareApplication();                                                                      \
        QApplication app(argc, argv);                                                              \
        {                                                                                          \
            TestObject tc;                                                                         \
            QTEST_SET_MAIN_SOURCE_PATH                                                             \
            result = QTest::qExec(&tc, argc, argv);                                                \
        }                                                                                          \
        checkForLeaksNow();                                                                        \
        return result;                                                                             \
    }
