#include <gtest/gtest.h>
#include <QApplication>

// Every test binary gets a QApplication (widgets need one; the core tests only
// need the event loop and the resources).
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
