// The windowed program's tests run with the program's QApplication on the offscreen platform.

#include "framework/qt/CLastChanceApplication.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    CLastChanceApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
