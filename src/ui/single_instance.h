#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace vetra {

// One editor per user: the first start listens on a local socket named after
// the program and the user; a later start hands its file name (or an empty
// line, meaning "come to the front") to the first and ends.
class TSingle_Instance : public QObject {
    Q_OBJECT
  public:
    explicit TSingle_Instance(QObject* parent = nullptr);
    ~TSingle_Instance() override;

    static QString serverName();

    // True when another instance took the request; this process should end.
    static bool handOver(const QString& fileName);
    // Starts listening; false when the socket cannot be created.
    bool listen();

  signals:
    void fileRequested(const QString& fileName);
    void raiseRequested();

  private:
    void readRequest();

    QLocalServer* Server_ = nullptr;
};

}  // namespace vetra
