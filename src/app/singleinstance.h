// One running Rendolo per user: a lock file is the mutex, a local socket named
// "Rendolo_v3" in the user's runtime folder carries the wake-up call from a
// second start to the first.
#pragma once

#include <QLockFile>
#include <QObject>

#include <memory>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& name = QStringLiteral("Rendolo_v3"),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first: it then listens for wake-up calls.
    // False when another instance runs: that one has been woken, this one should end.
    // A lock left by a crashed instance does not count.
    bool claim();

signals:
    void wakeUpRequested();

private:
    bool wakeOther();

    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
