#include "app/Monitoring.h"

#include "platform/FileReplace.h"
#include "platform/ServiceNotifier.h"
#include "profiles/LoadProblem.h"
#include "report/Metrics.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <span>
#include <string_view>

namespace velmar {

namespace {

constexpr std::string_view kProgramName = "velmar-active-profiles";
constexpr std::string_view kMetricsFileOption = "--metrics-file";
constexpr std::string_view kMetricsListenOption = "--metrics-listen";

// The metrics file is written after every reload for node_exporter, which
// reads it whenever Prometheus scrapes: always a new file renamed over the
// old one, so that no scrape sees half of it, and without a NAME~ beside it.
constexpr ReplaceOptions kMetricsFileWrite{.OverReadOnly = false, .KeepBackup = false, .RenameOnly = true};

std::span<const std::uint8_t> MetricsBytes(const std::string& metrics) {
    return {reinterpret_cast<const std::uint8_t*>(metrics.data()), metrics.size()};
}

// An error's text without the "Invalid argument: " of its kind, to go on
// after the option's name.
std::string WithoutKind(const InvalidArgumentError& error) {
    constexpr std::string_view kKind = "Invalid argument: ";
    const std::string_view text = error.what();
    return std::string(text.starts_with(kKind) ? text.substr(kKind.size()) : text);
}

} // namespace

MonitoringOptions ParseMonitoringOptions(const std::vector<std::string>& arguments) {
    MonitoringOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::string_view name = argument;
        std::optional<std::string> value;
        if (const std::size_t equals = argument.find('='); equals != std::string::npos) {
            name = std::string_view(argument).substr(0, equals);
            value = argument.substr(equals + 1);
        }
        if (name != kMetricsFileOption && name != kMetricsListenOption) {
            options.OtherArguments.push_back(argument);
            continue;
        }
        const bool file = name == kMetricsFileOption;
        if (!value && i + 1 < arguments.size()) {
            value = arguments[++i];
        }
        if (!value || value->empty()) {
            throw ProgramUsageError(std::string(name) + (file ? " needs FILE" : " needs ADDRESS:PORT"));
        }
        if (file ? options.MetricsFile.has_value() : options.MetricsListen.has_value()) {
            throw ProgramUsageError(std::string(name) + " is given more than once");
        }
        if (file) {
            options.MetricsFile = *value;
            continue;
        }
        try {
            options.MetricsListen = ParseListenAddress(*value);
        } catch (const InvalidArgumentError& error) {
            throw ProgramUsageError(std::string(name) + ": " + WithoutKind(error));
        }
    }
    return options;
}

const std::vector<std::string>& FolderArguments(const MonitoringOptions& options,
                                                const std::vector<std::string>& startupArguments) {
    return options.Given() ? options.OtherArguments : startupArguments;
}

std::string ServiceStatusText(const ReloadSnapshot& snapshot) {
    const auto active = std::count_if(snapshot.Profiles.begin(), snapshot.Profiles.end(),
                                      [](const ProfileState& profile) { return profile.Active; });
    std::string text = std::to_string(snapshot.Profiles.size()) +
                       (snapshot.Profiles.size() == 1 ? " profile, " : " profiles, ") +
                       std::to_string(active) + " active";
    if (!snapshot.Problems.empty()) {
        text += "; " + ProblemText(snapshot.Problems.front());
    }
    return text;
}

MonitoringOutputs::MonitoringOutputs(const MonitoringOptions& options, std::ostream& err)
    : m_MetricsFile(options.MetricsFile), m_Err(err) {
    if (options.MetricsListen) {
        try {
            m_Server = std::make_unique<MetricsServer>(*options.MetricsListen, MetricsServer::Limits{});
        } catch (const InvalidArgumentError& error) {
            // An address that is no numeric address (a host name) is refused only here.
            throw ProgramUsageError(std::string(kMetricsListenOption) + ": " + WithoutKind(error));
        }
        m_Err << kProgramName << ": metrics at http://" << ListenAddressText(m_Server->Address())
              << "/metrics\n"
              << std::flush;
    }
}

MonitoringOutputs::~MonitoringOutputs() {
    NotifyServiceStopping();
}

void MonitoringOutputs::Watch(VelmarActiveProfiles_Main& window) {
    window.Reloaded = [this](const ReloadSnapshot& snapshot) { Reloaded(snapshot); };
    window.Ticked = [this] { Ticked(); };
}

void MonitoringOutputs::Reloaded(const ReloadSnapshot& snapshot) {
    if (m_Server || m_MetricsFile) {
        std::string metrics = FormatMetrics(snapshot);
        if (m_MetricsFile) {
            WriteMetricsFile(metrics);
        }
        if (m_Server) {
            m_Server->Publish(std::move(metrics));
        }
    }
    const std::string status = ServiceStatusText(snapshot);
    if (!m_Ready) {
        m_Ready = true;
        NotifyServiceReady(status);
    } else {
        NotifyServiceStatus(status);
    }
}

void MonitoringOutputs::WriteMetricsFile(const std::string& metrics) {
    try {
        ReplaceFile(*m_MetricsFile, MetricsBytes(metrics), kMetricsFileWrite);
        if (!m_FileProblem.empty()) {
            m_FileProblem.clear();
            m_Err << kProgramName << ": metrics file \"" << *m_MetricsFile << "\" written again\n"
                  << std::flush;
        }
    } catch (const FileError& error) {
        // Said once; the next reload tries again.
        if (error.what() != m_FileProblem) {
            m_FileProblem = error.what();
            m_Err << kProgramName << ": metrics file \"" << *m_MetricsFile
                  << "\" not written: " << m_FileProblem << '\n'
                  << std::flush;
        }
    }
}

void MonitoringOutputs::Ticked() {
    NotifyServiceAlive();
}

std::optional<ListenAddress> MonitoringOutputs::ListeningAt() const {
    return m_Server ? std::optional<ListenAddress>(m_Server->Address()) : std::nullopt;
}

} // namespace velmar
