#include "platform/qt/QtSingleInstance.h"

#include "platform/InstanceFolder.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <chrono>
#include <thread>

namespace velmar {

namespace {

constexpr const char* kShowRequest = "show\n";
constexpr const char* kShownAnswer = "shown\n";

// The name of the lock and the socket of one data folder.
QString InstanceKey(const std::string& canonicalFolder) {
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(canonicalFolder), QCryptographicHash::Sha256)
            .toHex();
    return "velmar-active-profiles-" + QString::fromLatin1(hash.left(20));
}

// The folder for the lock and the socket: the one given, if no one else can
// enter it, else the first usable choice; none, with the reason, when there is
// none. Never a shared folder such as /tmp, where anyone could squat the names.
InstanceFolder FolderFor(const QString& runtimeFolder) {
    if (runtimeFolder.isEmpty()) {
        return ChooseInstanceFolder();
    }
    const std::string folder = runtimeFolder.toStdString();
    const std::string problem = InstanceFolderProblem(folder);
    if (problem.empty()) {
        return {folder, {}};
    }
    return {{}, "no folder of the user's own for the single-instance lock (" + folder + " " + problem + ")"};
}

} // namespace

QtSingleInstance::QtSingleInstance(const std::string& canonicalFolder, const QString& runtimeFolder)
    : QtSingleInstance(canonicalFolder, FolderFor(runtimeFolder)) {}

QtSingleInstance::QtSingleInstance(const std::string& canonicalFolder, const InstanceFolder& folder)
    : m_Lock(folder.Path.empty()
                 ? QString()
                 : QString::fromStdString(folder.Path) + "/" + InstanceKey(canonicalFolder) + ".lock"),
      m_Problem(folder.Problem) {
    m_ServerName = detail::LocalServerName(QString::fromStdString(folder.Path), InstanceKey(canonicalFolder));
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
    const State state = Lock();
    if (state != State::First) {
        return state;
    }
    return Listen() ? State::First : State::Unchecked;
}

QtSingleInstance::State QtSingleInstance::Lock() {
    if (!m_Problem.empty()) {
        return State::Unchecked;
    }
    if (!m_Lock.tryLock(0)) {
        if (m_Lock.error() == QLockFile::LockFailedError) {
            return State::Running;
        }
        m_Problem = "cannot create the lock file " + m_Lock.fileName().toStdString();
        return State::Unchecked;
    }
    return State::First;
}

bool QtSingleInstance::Listen() {
    if (!m_Lock.isLocked()) {
        return false;
    }
    // A socket left by a killed instance would block the name; the lock says
    // that nobody else uses it.
    QLocalServer::removeServer(m_ServerName);
    if (!m_Server.listen(m_ServerName)) {
        m_Problem =
            "cannot listen on " + m_ServerName.toStdString() + ": " + m_Server.errorString().toStdString();
        return false;
    }
    return true;
}

bool QtSingleInstance::AskRunningToShow(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_ServerName);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            if (!PeerIsCurrentUser(socket.socketDescriptor())) {
                m_Problem = m_ServerName.toStdString() + " answers from another user's process";
                return false;
            }
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
