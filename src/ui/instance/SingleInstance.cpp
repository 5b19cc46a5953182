#include "ui/instance/SingleInstance.h"

#include <unistd.h>

#include <QDataStream>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace {

constexpr char kConfirmation = '1';
// A sender that never finishes its message is dropped after this long.
constexpr int kSenderTimeoutMs = 5000;

}  // namespace

QString SingleInstance::DefaultName() { return QStringLiteral("lumatrim-%1").arg(::getuid()); }

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)), server_(new QLocalServer(this)) {
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::Accept);
}

bool SingleInstance::HandOver(const QString& name, const QStringList& paths, int timeoutMs) {
  QStringList absolute;
  for (const QString& path : paths) absolute << QFileInfo(path).absoluteFilePath();
  QLocalSocket socket;
  socket.connectToServer(name);
  if (!socket.waitForConnected(timeoutMs)) return false;
  QDataStream out(&socket);
  out << absolute;
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  // Only the receiver's confirmation counts: a hung instance gets no photos
  // it would never show, and the caller opens a window of its own.
  while (socket.bytesAvailable() < 1) {
    if (!socket.waitForReadyRead(timeoutMs)) return false;
  }
  char answer = 0;
  return socket.getChar(&answer) && answer == kConfirmation;
}

bool SingleInstance::Listen() {
  if (server_->listen(name_)) return true;
  QLocalServer::removeServer(name_);
  return server_->listen(name_);
}

void SingleInstance::Accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      QDataStream in(socket);
      in.startTransaction();
      QStringList paths;
      in >> paths;
      if (!in.commitTransaction()) return;  // the rest is still on its way
      socket->putChar(kConfirmation);
      socket->flush();
      emit PhotosArrived(paths);
    });
    // One that never finishes its message is not kept forever.
    QTimer::singleShot(kSenderTimeoutMs, socket, [socket] { socket->abort(); });
  }
}
