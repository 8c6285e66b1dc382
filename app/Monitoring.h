#pragma once

// What the monitor offers the monitoring systems people already run, after
// every reload of its cycle: the Prometheus metrics in a file
// (--metrics-file, for node_exporter's textfile collector) and over HTTP
// (--metrics-listen), and the notifications of a systemd service of
// Type=notify (READY=1 after the first load, WATCHDOG=1 at every tick).

#include "app/MainWindow.h"
#include "common/Errors.h"
#include "platform/MetricsServer.h"
#include "report/ReloadSnapshot.h"

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmar {

// A command line of the monitor the user got wrong (status 2).
class ProgramUsageError : public InvalidArgumentError {
public:
    explicit ProgramUsageError(const std::string& message)
        : InvalidArgumentError(message), m_Message(message) {}
    const std::string& Message() const { return m_Message; }

private:
    std::string m_Message;
};

struct MonitoringOptions {
    std::optional<std::string> MetricsFile;     // --metrics-file FILE
    std::optional<ListenAddress> MetricsListen; // --metrics-listen ADDRESS:PORT
    // The arguments without these options and their values.
    std::vector<std::string> OtherArguments;

    bool Given() const { return MetricsFile || MetricsListen; }
};

// Reads --metrics-file FILE and --metrics-listen ADDRESS:PORT, each also as
// --option=VALUE, from the program's arguments (split as the system gives
// them); every other argument is left as it is, in order. ProgramUsageError
// for an option without its value, an option given twice, and an address that
// ParseListenAddress refuses.
MonitoringOptions ParseMonitoringOptions(const std::vector<std::string>& arguments);

// The arguments the start-up rules read "/PATH:" from: the command line as
// the rules read it (`startupArguments`) when no monitoring option was given;
// otherwise the other arguments, so that no option or value of them is ever
// taken for part of the folder (on Windows the folder's value would run on
// to the next "/" of the whole line).
const std::vector<std::string>& FolderArguments(const MonitoringOptions& options,
                                                const std::vector<std::string>& startupArguments);

// The outputs of one run of the monitor. Without options it only tells a
// service manager, when there is one, how the program is doing.
class MonitoringOutputs {
public:
    // Starts the metrics endpoint when one is asked for, and says on `err`
    // where it serves ("velmar-active-profiles: metrics at
    // http://127.0.0.1:9772/metrics"). ProgramUsageError for an address that
    // is no numeric address; what MetricsServer throws when it cannot listen
    // (FileError for a port in use, VelmarError in a build without the
    // listener).
    MonitoringOutputs(const MonitoringOptions& options, std::ostream& err);
    // Tells the service manager that the program is stopping.
    ~MonitoringOutputs();
    MonitoringOutputs(const MonitoringOutputs&) = delete;
    MonitoringOutputs& operator=(const MonitoringOutputs&) = delete;

    // Hooks Reloaded and Ticked to the window's reload cycle; the outputs must
    // outlive the window.
    void Watch(VelmarActiveProfiles_Main& window);

    // After a reload: the metrics to the endpoint and to the file, a new
    // file renamed over the old one (ReplaceFile without a backup, never in
    // place). A file that cannot be written is said in one line on the error
    // stream, once until it can be written again or fails for another
    // reason, and tried again at the next reload. Then READY=1 after the
    // first reload and the status line at every one.
    void Reloaded(const ReloadSnapshot& snapshot);
    // At a tick: WATCHDOG=1, when the service manager watches.
    void Ticked();

    // The endpoint's address, when there is one.
    std::optional<ListenAddress> ListeningAt() const;

private:
    void WriteMetricsFile(const std::string& metrics);

    std::optional<std::string> m_MetricsFile;
    std::unique_ptr<MetricsServer> m_Server;
    std::ostream& m_Err;
    bool m_Ready = false;
    std::string m_FileProblem; // the last failure to write the file, said once
};

// The service's status line for a load: "8 profiles, 3 active", and the
// first problem after a semicolon while there are problems.
std::string ServiceStatusText(const ReloadSnapshot& snapshot);

} // namespace velmar
