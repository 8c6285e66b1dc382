#pragma once

// The profiles' state as Prometheus metrics, in the text exposition format
// 0.0.4: one implementation for every way out (velmar-profiles metrics, the
// monitor's --metrics-file for node_exporter's textfile collector, and its
// --metrics-listen HTTP endpoint).

#include "report/ReloadSnapshot.h"

#include <string>
#include <string_view>

namespace velmar {

// The Content-Type an HTTP answer carrying FormatMetrics's text declares.
inline constexpr std::string_view kMetricsContentType = "text/plain; version=0.0.4; charset=utf-8";

// Every metric with its HELP and TYPE lines; every sample carries the label
// folder="..." (so that the files of several monitors on one machine can lie
// side by side in one textfile folder):
//   velmar_profile_active{folder,file,profile}  1 active, 0 inactive, per loaded profile
//   velmar_profiles{folder}                     profiles loaded
//   velmar_problems{folder,kind}                problems of the load, one sample per kind, 0 included
//   velmar_folder_readable{folder}              1 when the Profiles folder could be listed, else 0
//   velmar_last_reload_timestamp_seconds{folder}
//   velmar_reloads_total{folder}                counter
//   velmar_reload_duration_seconds{folder}      the last load's duration
// Lines end with a line feed.
std::string FormatMetrics(const ReloadSnapshot& snapshot);

// A label value as the format writes it between its quotation marks:
// backslash, quotation mark and line feed escaped (\\, \", \n), every byte
// that belongs to no UTF-8 sequence replaced by U+FFFD, since Prometheus
// takes label values as UTF-8.
std::string MetricLabelValue(std::string_view text);

// A sample value: integers in decimal, other numbers in the shortest form
// that reads back to the same double.
std::string MetricNumber(double value);

} // namespace velmar
