#include <QGuiApplication>
#include <gst/gst.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Media tests must not depend on a sound server.
    if (qEnvironmentVariableIsEmpty("ZQ_AUDIO_SINK"))
        qputenv("ZQ_AUDIO_SINK", "fakesink");
    gst_init(&argc, &argv);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
