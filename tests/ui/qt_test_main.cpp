// Widget tests need one QApplication for the whole program.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/text_mode.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    vetra::setActiveTextMode(1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
