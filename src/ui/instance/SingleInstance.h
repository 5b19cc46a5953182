#pragma once
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

// One window per user: the first start listens on a local socket; a later
// start hands its photos over through it (HandOver) and ends, and the first
// one's PhotosArrived brings them into its window.
class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // The socket's name: one per user.
  static QString DefaultName();

  explicit SingleInstance(QString name, QObject* parent = nullptr);

  // Sends photos (made absolute here, as the receiver has its own working
  // folder) to the instance listening on name. True once it confirmed them;
  // false when none listens or it does not answer in time. Blocks the caller.
  static bool HandOver(const QString& name, const QStringList& paths, int timeoutMs = 3000);
  // Starts listening; a socket left behind by a crashed instance is removed
  // first. False when the socket cannot be made.
  bool Listen();

 signals:
  void PhotosArrived(const QStringList& paths);

 private:
  void Accept();

  QString name_;
  QLocalServer* server_ = nullptr;
};
