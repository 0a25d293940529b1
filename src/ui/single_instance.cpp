#include "ui/single_instance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace vetra {
namespace {

// A request is one file name and a newline; a longer one is not ours.
constexpr qint64 kMax_Request = 8192;

// A directory only this user can enter: owned by the user, not a link, no
// access for group or others.
bool isPrivateDirectory(const QByteArray& path) {
    struct stat info {};
    return !path.isEmpty() && path.startsWith('/') && ::lstat(path.constData(), &info) == 0 &&
           S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

// $XDG_RUNTIME_DIR, else "vetra-<uid>" made with mode 0700 in the temporary
// directory; empty when neither is private to the user.
QByteArray socketDirectory() {
    QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (isPrivateDirectory(runtime)) return runtime;
    QByteArray base = qgetenv("TMPDIR");
    if (!base.startsWith('/')) base = "/tmp";
    QByteArray own = base + "/vetra-" + QByteArray::number(qulonglong(::getuid()));
    ::mkdir(own.constData(), 0700);
    return isPrivateDirectory(own) ? own : QByteArray();
}

// True when the process at the other end runs as this user.
bool peerIsThisUser(QLocalSocket& socket) {
    struct ucred peer {};
    socklen_t size = sizeof peer;
    auto fd = static_cast<int>(socket.socketDescriptor());
    return fd >= 0 && ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::getuid();
}

}  // namespace

TSingle_Instance::TSingle_Instance(QObject* parent) : QObject(parent) {}

TSingle_Instance::~TSingle_Instance() = default;

QString TSingle_Instance::serverName() {
    QByteArray directory = socketDirectory();
    if (directory.isEmpty()) return {};
    return QString::fromLocal8Bit(directory) +
           QString("/RunOnlyOneInstance_Vetra-%1").arg(static_cast<qulonglong>(::getuid()));
}

bool TSingle_Instance::handOver(const QString& fileName) {
    QString server = serverName();
    if (server.isEmpty()) return false;
    QLocalSocket socket;
    socket.connectToServer(server);
    if (!socket.waitForConnected(500) || !peerIsThisUser(socket)) return false;
    // The first instance has a directory of its own: names travel whole.
    QString absolute = fileName.isEmpty() ? fileName : QFileInfo(fileName).absoluteFilePath();
    QByteArray request = absolute.toUtf8() + '\n';
    if (request.size() > kMax_Request) return false;
    socket.write(request);
    if (!socket.waitForBytesWritten(1000)) return false;
    // Wait for the first instance to confirm, so the file is not lost when
    // it is shutting down at this very moment.
    return socket.waitForReadyRead(2000) && socket.readAll().startsWith("ok");
}

bool TSingle_Instance::listen() {
    QString server = serverName();
    if (server.isEmpty()) return false;
    Server_ = new QLocalServer(this);
    Server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!Server_->listen(server)) {
        // A socket left behind by a crashed instance is removed; a live one
        // that answers is left alone.
        QLocalSocket probe;
        probe.connectToServer(server);
        if (probe.waitForConnected(200)) return false;
        QLocalServer::removeServer(server);
        if (!Server_->listen(server)) return false;
    }
    connect(Server_, &QLocalServer::newConnection, this, &TSingle_Instance::readRequest);
    return true;
}

void TSingle_Instance::readRequest() {
    while (QLocalSocket* socket = Server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!peerIsThisUser(*socket)) {
            socket->abort();
            continue;
        }
        socket->setReadBufferSize(kMax_Request + 1);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMax_Request) socket->abort();
                return;
            }
            QByteArray line = socket->readLine(kMax_Request + 1);
            if (!line.endsWith('\n')) {
                socket->abort();
                return;
            }
            QString fileName = QString::fromUtf8(line).trimmed();
            socket->write("ok\n");
            socket->flush();
            if (fileName.isEmpty())
                emit raiseRequested();
            else
                emit fileRequested(fileName);
        });
    }
}

}  // namespace vetra
