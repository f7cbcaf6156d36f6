#include <gtest/gtest.h>
#include <QSettings>
#include <QTemporaryDir>
#ifdef TOLVA_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;  // the core needs no widget
#endif

int main(int argc, char** argv) {
    TestApplication app(argc, argv);
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
