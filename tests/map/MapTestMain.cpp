#include "ProgramFolder.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <unistd.h>

// Test main for everything that holds the map's web view: Chromium wants its settings before the
// application object exists.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Chromium refuses to start its sandbox as root.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // No GPU in test machines; software drawing is what a headless run can count on.
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-gpu-compositing");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // The page is the bundle's own map/map.htm.
    zq::SetProgramFolder(QString::fromUtf8(ZQ_BUNDLE_DIR));
    return RUN_ALL_TESTS();
}
