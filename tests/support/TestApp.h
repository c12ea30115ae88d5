#pragma once

#include "app/TApplication.h"
#include "tests/support/TestServices.h"

#include <QTest>

// The tests' main: the real application object (so errors reach the top-level error box, here
// the recording double of the test object's services) in the offscreen platform.
#define TESSIVO_TEST_MAIN(TestObject)                                                                  \
    int main(int argc, char *argv[])                                                                   \
    {                                                                                                  \
        qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"                  \
                                                                        : qgetenv("QT_QPA_PLATFORM")); \
        RecordingMessages appMessages;                                                                 \
        TApplication app(argc, argv, appMessages);                                                     \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                       \
        TestObject tc;                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                          \
    }
