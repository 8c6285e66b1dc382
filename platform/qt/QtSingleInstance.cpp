#include "platform/qt/QtSingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <chrono>
#include <thread>

namespace velmar {

namespace {

constexpr const char* kShowRequest = "show\n";
constexpr const char* kShownAnswer = "shown\n";

QString InstanceFolder(const QString& runtimeFolder) {
    if (!runtimeFolder.isEmpty()) {
        return runtimeFolder;
    }
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return folder;
}

} // namespace

QtSingleInstance::QtSingleInstance(const std::string& canonicalFolder, const QString& runtimeFolder)
    : m_Lock([&] {
          const QByteArray key =
              QCryptographicHash::hash(QByteArray::fromStdString(canonicalFolder), QCryptographicHash::Sha256)
                  .toHex()
                  .left(20);
          return InstanceFolder(runtimeFolder) + "/velmar-active-profiles-" + QString::fromLatin1(key) +
                 ".lock";
      }()) {
    m_ServerName = detail::LocalServerName(m_Lock.fileName());
    // An instance runs for days: only a lock whose process is gone is stale,
    // never an old one (Qt would otherwise take a lock older than 30 seconds
    // for stale wherever the file system holds no native lock on it).
    m_Lock.setStaleLockTime(0);
    m_Server.setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(&m_Server, &QLocalServer::newConnection, [this] {
        while (QLocalSocket* socket = m_Server.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (!socket->canReadLine()) {
                    return;
                }
                if (socket->readLine() == kShowRequest) {
                    if (OnShowRequested) {
                        OnShowRequested();
                    }
                    socket->write(kShownAnswer);
                    socket->flush();
                }
                socket->disconnectFromServer();
            });
        }
    });
}

QtSingleInstance::State QtSingleInstance::Acquire() {
    QDir().mkpath(QFileInfo(m_Lock.fileName()).absolutePath());
    if (!m_Lock.tryLock(0)) {
        if (m_Lock.error() == QLockFile::LockFailedError) {
            return State::Running;
        }
        m_Problem = "cannot create the lock file " + m_Lock.fileName().toStdString();
        return State::Unchecked;
    }
    // A socket left by a killed instance would block the name; the lock says
    // that nobody else uses it.
    QLocalServer::removeServer(m_ServerName);
    if (!m_Server.listen(m_ServerName)) {
        m_Problem =
            "cannot listen on " + m_ServerName.toStdString() + ": " + m_Server.errorString().toStdString();
        return State::Unchecked;
    }
    return State::First;
}

bool QtSingleInstance::AskRunningToShow(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_ServerName);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            socket.write(kShowRequest);
            socket.flush();
            while (!socket.canReadLine() &&
                   socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            }
            if (socket.canReadLine() && socket.readLine() == kShownAnswer) {
                return true;
            }
        }
        // Not listening yet (it is still starting), or gone meanwhile.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

} // namespace velmar
