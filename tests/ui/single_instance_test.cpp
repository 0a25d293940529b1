#include "ui/single_instance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <thread>

namespace vetra {
namespace {

// Runs a second start's hand-over on another thread while this one serves.
bool handOverWhileServing(const QString& fileName) {
    std::atomic<bool> done{false};
    bool taken = false;
    std::thread second([&] {
        taken = TSingle_Instance::handOver(fileName);
        done = true;
    });
    QElapsedTimer clock;
    clock.start();
    while (!done && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    second.join();
    return taken;
}

TEST(SingleInstance, ASecondStartHandsItsFileToTheFirst) {
    EXPECT_FALSE(TSingle_Instance::handOver("/tmp/a.vt")) << "nobody listens yet";
    TSingle_Instance first;
    ASSERT_TRUE(first.listen());
    QStringList files;
    int raised = 0;
    QObject::connect(&first, &TSingle_Instance::fileRequested,
                     [&](const QString& file) { files << file; });
    QObject::connect(&first, &TSingle_Instance::raiseRequested, [&] { ++raised; });

    EXPECT_TRUE(handOverWhileServing("/tmp/with blanks/文件.vt"));
    EXPECT_TRUE(handOverWhileServing(""));
    EXPECT_EQ(files, QStringList({"/tmp/with blanks/文件.vt"}));
    EXPECT_EQ(raised, 1) << "a start without a file only brings the first to the front";
}

}  // namespace
}  // namespace vetra
