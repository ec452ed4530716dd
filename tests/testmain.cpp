#include <QDir>
#ifdef ZUVEXAL_TEST_WIDGETS
#include <QApplication>
#else
#include <QGuiApplication>
#endif
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Tests run without a display unless a test starts its own X server.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        QFile::setPermissions(runtimeDir.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    }
    ::testing::InitGoogleTest(&argc, argv);
    // Widgets only for the tests that drive a host's controls and windows:
    // the core's tests run where a widget cannot be made, as the core never
    // makes one.
#ifdef ZUVEXAL_TEST_WIDGETS
    QApplication app(argc, argv);
#else
    QGuiApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
