#include "ui/single_instance.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
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

// A private directory for the socket, made for the test.
struct TSocket_Place {
    TSocket_Place() {
        QByteArray pattern = QDir::tempPath().toUtf8() + "/vetra-si-XXXXXX";
        Dir = ::mkdtemp(pattern.data());
        Old_Runtime = qgetenv("XDG_RUNTIME_DIR");
        Old_Tmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", Dir);
    }
    ~TSocket_Place() {
        qputenv("XDG_RUNTIME_DIR", Old_Runtime);
        qputenv("TMPDIR", Old_Tmp);
        QDir(QString::fromUtf8(Dir)).removeRecursively();
    }
    QByteArray Dir, Old_Runtime, Old_Tmp;
};

TEST(SingleInstance, TheSocketLivesWhereOnlyTheUserCanReachIt) {
    const struct {
        const char* name;
        mode_t runtimeMode;  // 0: XDG_RUNTIME_DIR unset
        const char* expectedDirectory;
    } rows[] = {
        {"the runtime directory", 0700, "/run"},
        {"a runtime directory others may enter is not used", 0777, "/vetra-"},
        {"no runtime directory", 0, "/vetra-"},
    };
    for (const auto& row : rows) {
        TSocket_Place place;
        QByteArray runtime = place.Dir + "/run";
        ::mkdir(runtime.constData(), row.runtimeMode);
        ::chmod(runtime.constData(), row.runtimeMode);
        qputenv("XDG_RUNTIME_DIR", row.runtimeMode != 0 ? runtime : QByteArray());
        QString name = TSingle_Instance::serverName();
        EXPECT_TRUE(name.startsWith(QString::fromUtf8(place.Dir + row.expectedDirectory)))
            << row.name << ": " << name.toStdString();
        struct stat info {};
        ASSERT_EQ(::stat(QFileInfo(name).path().toUtf8().constData(), &info), 0) << row.name;
        EXPECT_EQ(info.st_mode & 077, 0u) << row.name;
    }
}

TEST(SingleInstance, RelativeNamesTravelWholeAndFloodsAreDropped) {
    TSocket_Place place;
    qputenv("XDG_RUNTIME_DIR", "");
    TSingle_Instance first;
    ASSERT_TRUE(first.listen());
    QStringList files;
    QObject::connect(&first, &TSingle_Instance::fileRequested,
                     [&](const QString& file) { files << file; });

    QString old = QDir::currentPath();
    QDir::setCurrent(QString::fromUtf8(place.Dir));
    EXPECT_TRUE(handOverWhileServing("plan.vt"));
    QDir::setCurrent(old);
    EXPECT_EQ(files, QStringList({QString::fromUtf8(place.Dir) + "/plan.vt"}));

    // A client that sends megabytes without a newline is cut off.
    QLocalSocket flood;
    flood.connectToServer(TSingle_Instance::serverName());
    ASSERT_TRUE(flood.waitForConnected(1000));
    QByteArray block(1 << 20, 'x');
    flood.write(block);
    QElapsedTimer clock;
    clock.start();
    while (flood.state() == QLocalSocket::ConnectedState && clock.elapsed() < 5000) {
        flood.waitForBytesWritten(20);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_NE(flood.state(), QLocalSocket::ConnectedState);
    EXPECT_EQ(files.size(), 1);
    EXPECT_TRUE(handOverWhileServing("/b.vt")) << "the server still serves";
}

}  // namespace
}  // namespace vetra
