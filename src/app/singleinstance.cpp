#include "app/singleinstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

SingleInstance::SingleInstance(const QString& name, QObject* parent) : QObject(parent) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    // Both live in the user's runtime folder, so that users and test runs never meet.
    const QString base = dir + "/" + name +
                         (dir == QDir::tempPath() ? "-" + QString::number(::getuid()) : QString());
    m_socketPath = base;
    m_lock = std::make_unique<QLockFile>(base + ".lock");
    m_lock->setStaleLockTime(0); // only a dead owner makes the lock stale
}

SingleInstance::~SingleInstance() {
    if (m_server)
        m_server->close();
    m_lock->unlock();
}

bool SingleInstance::claim() {
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::LockFailedError) {
            wakeOther();
            return false;
        }
        // The lock file cannot be written at all: run without the guarantee.
    }
    // A socket left by a crashed instance would block listen().
    QLocalServer::removeServer(m_socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server->listen(m_socketPath)) {
        connect(m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* s = m_server->nextPendingConnection()) {
                connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
                s->disconnectFromServer();
                emit wakeUpRequested();
            }
        });
    }
    return true;
}

bool SingleInstance::wakeOther() {
    // The first instance may still be starting: give it a moment to listen.
    for (int attempt = 0; attempt < 20; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(m_socketPath);
        if (socket.waitForConnected(250)) {
            socket.write("wake", 4);
            socket.waitForBytesWritten(250);
            socket.disconnectFromServer();
            return true;
        }
        QThread::msleep(100);
    }
    return false;
}
