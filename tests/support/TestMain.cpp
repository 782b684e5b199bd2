#include "ui/shell/VorlinApplication.h"

#include <gtest/gtest.h>

// Every test program runs inside the program's own application object, so
// that widgets, fonts and the error box behave as in the program.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    vorlin::VorlinApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
