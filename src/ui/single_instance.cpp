#include "ui/single_instance.h"

#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>

namespace vetra {

TSingle_Instance::TSingle_Instance(QObject* parent) : QObject(parent) {}

TSingle_Instance::~TSingle_Instance() = default;

QString TSingle_Instance::serverName() {
    return QString("RunOnlyOneInstance_Vetra-%1").arg(static_cast<qulonglong>(::getuid()));
}

bool TSingle_Instance::handOver(const QString& fileName) {
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(500)) return false;
    QByteArray request = fileName.toUtf8() + '\n';
    socket.write(request);
    if (!socket.waitForBytesWritten(1000)) return false;
    // Wait for the first instance to confirm, so the file is not lost when
    // it is shutting down at this very moment.
    return socket.waitForReadyRead(2000) && socket.readAll().startsWith("ok");
}

bool TSingle_Instance::listen() {
    Server_ = new QLocalServer(this);
    Server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!Server_->listen(serverName())) {
        // A socket left behind by a crashed instance: nobody answered on it.
        QLocalServer::removeServer(serverName());
        if (!Server_->listen(serverName())) return false;
    }
    connect(Server_, &QLocalServer::newConnection, this, &TSingle_Instance::readRequest);
    return true;
}

void TSingle_Instance::readRequest() {
    while (QLocalSocket* socket = Server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) return;
            QString fileName = QString::fromUtf8(socket->readLine()).trimmed();
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
