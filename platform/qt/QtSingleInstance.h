#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QString>
#include <functional>
#include <string>

namespace velmar {

struct InstanceFolder;

// One running desktop front end per user and data folder. A lock file and a
// local server live in a folder no other user can enter (ChooseInstanceFolder:
// the runtime folder, or the program's own in the cache folder), both named
// after the data folder's canonical path; a second start finds the lock held,
// asks the running one through the server to show its window, and ends. A
// lock left by a process that no longer runs is taken over; a server that
// answers from another user's process is never trusted. Without a usable
// folder the program runs unchecked.
class QtSingleInstance {
public:
    enum class State {
        First,     // this process holds the folder and listens for requests
        Running,   // another process holds it
        Unchecked, // the lock cannot be made (see Problem); runs without it
    };

    // `canonicalFolder` is the data folder's canonical path; `runtimeFolder`,
    // when given, is the folder to use (checked as ChooseInstanceFolder checks
    // its choice).
    explicit QtSingleInstance(const std::string& canonicalFolder, const QString& runtimeFolder = {});
    QtSingleInstance(const QtSingleInstance&) = delete;
    QtSingleInstance& operator=(const QtSingleInstance&) = delete;

    // Takes the lock, then listens (Lock and Listen in one).
    State Acquire();
    // Takes the lock: First when this process holds it now, and a later start
    // finds it Running; it cannot ask to be shown until Listen.
    State Lock();
    // Listens for later starts, once the lock is held; false, with the
    // reason in Problem, when it cannot.
    bool Listen();
    // Why the state is Unchecked, or why a running one was not asked.
    const std::string& Problem() const { return m_Problem; }
    // Asks the running instance to show its window and waits for its answer
    // up to `timeoutMs` (it may still be starting); true when it answered.
    bool AskRunningToShow(int timeoutMs);
    // Raised on the user-interface thread when a later start asks to be shown.
    std::function<void()> OnShowRequested;

    QString ServerName() const { return m_ServerName; }

private:
    QtSingleInstance(const std::string& canonicalFolder, const InstanceFolder& folder);

    QLockFile m_Lock;
    QLocalServer m_Server;
    QString m_ServerName;
    std::string m_Problem;
};

namespace detail {
// The name of the local server of the instance `key` whose lock lies in
// `folder` (QtSingleInstancePosix.cpp, QtSingleInstanceWindows.cpp).
QString LocalServerName(const QString& folder, const QString& key);
} // namespace detail

} // namespace velmar
