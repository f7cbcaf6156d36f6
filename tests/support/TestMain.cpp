#include <gtest/gtest.h>
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

// Every test binary gets a QApplication (widgets need one; the core tests only
// need the event loop and the resources).
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Window sizes the tests leave go to a folder of their own, never into
    // the user's settings.
    QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
    QCoreApplication::setOrganizationName(QStringLiteral("NOVRAX"));
    QCoreApplication::setApplicationName(QStringLiteral("TOLVA Editor tests"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
