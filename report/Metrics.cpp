#include "report/Metrics.h"

#include "common/CodePage.h"
#include "report/ProfileList.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <utility>

namespace velmar {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

struct Label {
    std::string_view Name;
    std::string_view Value;
};

class MetricsWriter {
public:
    explicit MetricsWriter(std::string_view folder) : m_Folder(MetricLabelValue(folder)) {}

    void Family(std::string_view name, std::string_view type, std::string_view help) {
        m_Text.append("# HELP ").append(name).append(" ").append(help).append("\n");
        m_Text.append("# TYPE ").append(name).append(" ").append(type).append("\n");
    }

    // One sample with the folder label and `labels` after it.
    void Sample(std::string_view name, double value, std::initializer_list<Label> labels = {}) {
        m_Text.append(name).append("{folder=\"").append(m_Folder).append("\"");
        for (const Label& label : labels) {
            m_Text.append(",")
                .append(label.Name)
                .append("=\"")
                .append(MetricLabelValue(label.Value))
                .append("\"");
        }
        m_Text.append("} ").append(MetricNumber(value)).append("\n");
    }

    std::string Text() && { return std::move(m_Text); }

private:
    std::string m_Folder;
    std::string m_Text;
};

} // namespace

std::string MetricLabelValue(std::string_view text) {
    std::string value;
    value.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        if (!DecodeUtf8At(text, i)) {
            value.append(kReplacementCharacter);
            continue;
        }
        const std::string_view character = text.substr(start, i - start);
        if (character == "\\") {
            value.append("\\\\");
        } else if (character == "\"") {
            value.append("\\\"");
        } else if (character == "\n") {
            value.append("\\n");
        } else {
            value.append(character);
        }
    }
    return value;
}

std::string MetricNumber(double value) {
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    return {text.data(), result.ptr};
}

std::string FormatMetrics(const ReloadSnapshot& snapshot) {
    MetricsWriter metrics(snapshot.Folder);

    metrics.Family("velmar_profile_active", "gauge",
                   "Whether the profile is active now (1) or inactive (0), as its file says.");
    for (const ProfileState& profile : snapshot.Profiles) {
        metrics.Sample("velmar_profile_active", profile.Active ? 1 : 0,
                       {{"file", profile.File}, {"profile", profile.Name}});
    }

    metrics.Family("velmar_profiles", "gauge", "Profiles the last reload loaded.");
    metrics.Sample("velmar_profiles", static_cast<double>(snapshot.Profiles.size()));

    metrics.Family("velmar_problems", "gauge",
                   "Problems the last reload met (a profile file it could not read or skipped, a Profiles "
                   "folder it could not list), by kind.");
    for (const LoadProblemKind kind : kAllProblemKinds) {
        std::size_t count = 0;
        for (const LoadProblem& problem : snapshot.Problems) {
            count += problem.Kind == kind ? 1 : 0;
        }
        metrics.Sample("velmar_problems", static_cast<double>(count), {{"kind", ProblemKindName(kind)}});
    }

    metrics.Family("velmar_folder_readable", "gauge",
                   "Whether the last reload could list the Profiles folder (1) or not (0).");
    metrics.Sample("velmar_folder_readable", snapshot.FolderReadable() ? 1 : 0);

    metrics.Family("velmar_last_reload_timestamp_seconds", "gauge",
                   "When the last reload ended, in seconds since 1970-01-01 00:00 UTC.");
    metrics.Sample("velmar_last_reload_timestamp_seconds", snapshot.ReloadTime);

    metrics.Family("velmar_reloads_total", "counter", "Reloads of the profiles since the program started.");
    metrics.Sample("velmar_reloads_total", static_cast<double>(snapshot.Reloads));

    metrics.Family("velmar_reload_duration_seconds", "gauge",
                   "How long the last reload took to load the profiles.");
    metrics.Sample("velmar_reload_duration_seconds", snapshot.ReloadDuration);

    return std::move(metrics).Text();
}

} // namespace velmar
