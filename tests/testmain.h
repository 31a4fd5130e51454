#pragma once

// QTEST_MAIN, plus a leak check under LeakSanitizer after the application
// object is gone. Until then the toolkit keeps every widget in a global set,
// so a leaked widget would still be reachable; afterwards it is reported.
// What the application's constructor allocates (the platform plugin and its
// screen, which the offscreen platform never frees) is the toolkit's own and
// is not tracked. The end-of-process check is then skipped.
//
// QtTest's watchdog aborts a test function that runs longer than
// QTEST_FUNCTION_TIMEOUT milliseconds: 30 s here unless set, so that a hang
// fails within seconds instead of minutes.

#include "desktop/application.h"
#include "desktop/leakcheck.h"

#include <QApplication>
#include <QStyle>
#include <QTest>

inline void pauseLeakTracking()
{
#ifdef CORVANE_LSAN
    __lsan_disable();
#endif
}

inline void resumeLeakTracking()
{
#ifdef CORVANE_LSAN
    __lsan_enable();
#endif
}

// A style asked for that Qt could not load would leave the tests in Fusion.
inline bool styleAsAsked()
{
    const QString asked = qEnvironmentVariable("QT_STYLE_OVERRIDE");
    if (asked.isEmpty() ||
        QApplication::style()->objectName().compare(asked, Qt::CaseInsensitive) == 0)
        return true;
    qCritical("style %s asked for, %s loaded", qPrintable(asked),
              qPrintable(QApplication::style()->objectName()));
    return false;
}

// The program's own high-DPI setup: the form is laid out at 96 logical DPI
// whatever the platform's density, as on the desktop.
#define CORVANE_TEST_MAIN(TestObject)                                                              \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        int result = 0;                                                                            \
        if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))                                  \
            qputenv("QTEST_FUNCTION_TIMEOUT", "30000");                                            \
        prepareApplication();                                                                      \
        {                                                                                          \
            pauseLeakTracking();                                                                   \
            QApplication app(argc, argv);                                                          \
            resumeLeakTracking();                                                                  \
            if (!styleAsAsked())                                                                   \
                return 1;                                                                          \
            TestObject tc;                                                                         \
            QTEST_SET_MAIN_SOURCE_PATH                                                             \
            result = QTest::qExec(&tc, argc, argv);                                                \
        }                                                                                          \
        checkForLeaksNow();                                                                        \
        return result;                                                                             \
    }
