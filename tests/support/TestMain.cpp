// The test program: one application object for every test, drawn offscreen.
#include "platform/QuorvaneApplication.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    ::testing::InitGoogleTest(&argc, argv);
    QuorvaneApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
