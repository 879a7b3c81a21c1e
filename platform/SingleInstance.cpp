#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

namespace {

const QByteArray ActivateMessage = QByteArrayLiteral("activate\n");
constexpr int ActivateTimeoutMs = 1500;

QString InstanceName(const QString& programPath)
{
    QFileInfo program(programPath);
    const QString path = (program.exists() ? program.canonicalFilePath() : program.absoluteFilePath()).toUpper();
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("Orvanta-%1").arg(QString::fromLatin1(hash));
}

QString RuntimeFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    return folder;
}

QString ServerName(const QString& name)
{
#ifdef Q_OS_WIN
    return name;
#else
    return RuntimeFolder() + QLatin1Char('/') + name + QStringLiteral(".socket");
#endif
}

} // namespace

TSingleInstance::TSingleInstance(const QString& programPath, QObject* parent)
    : QObject(parent)
    , FName(InstanceName(programPath))
    , FLock(std::make_unique<QLockFile>(RuntimeFolder() + QLatin1Char('/') + FName + QStringLiteral(".lock")))
{
    // Only a lock whose owner process is gone counts as stale, never one that is merely old.
    FLock->setStaleLockTime(0);
    FFirst = FLock->tryLock(0);
    if (FFirst)
        Listen();
}

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::IsFirst() const
{
    return FFirst;
}

void TSingleInstance::Listen()
{
    FServer = new QLocalServer(this);
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(ServerName(FName));
    FServer->listen(ServerName(FName));
    connect(FServer, &QLocalServer::newConnection, this, &TSingleInstance::Accept);
}

void TSingleInstance::Accept()
{
    while (QLocalSocket* socket = FServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains(ActivateMessage.trimmed()))
                Q_EMIT ActivationRequested();
        });
    }
}

// The first copy may hold the lock a moment before it listens: try again briefly.
void TSingleInstance::ActivateFirst()
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < ActivateTimeoutMs) {
        QLocalSocket socket;
        socket.connectToServer(ServerName(FName));
        if (socket.waitForConnected(200)) {
            socket.write(ActivateMessage);
            socket.waitForBytesWritten(500);
            socket.disconnectFromServer();
            return;
        }
        QThread::msleep(50);
    }
}
