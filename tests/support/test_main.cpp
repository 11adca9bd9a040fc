// The main of every test executable: a Qt application object exists for the
// whole run so timers, events and resources behave as in the program, and
// the process has a home folder of its own.
#include "support/private_home.h"
#include "support/scripted_prompter.h"

#include <QGuiApplication>

#include <ctime>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    const PrivateHome home;
    if (!home.isValid())
        return 2;
    // The C library loads the time zone on the first local-time conversion;
    // loaded here, before any worker thread exists, workers never race on it.
    tzset();
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    FailOnPromptsInsideStagedSets();
    return RUN_ALL_TESTS();
}
