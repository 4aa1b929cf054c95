#include "window/form1.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    // Window tests need no screen; the screenshot test asks for xcb explicitly.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    window::SetUpApplication(app);
    return RUN_ALL_TESTS();
}
