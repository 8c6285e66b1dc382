#pragma once

// Failures of the operating system under BinaryFile, on demand: a failing
// disk (EIO), a file the user may not read (EACCES), a full disk (ENOSPC);
// and FIFOs, files that are none where POSIX has them.

#include "platform/BinaryFile.h"

#include <array>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace velmar::test {

// Creates a FIFO (a named pipe in a folder) at `path`; false where it could
// not be made. Windows has none, so tests of FIFOs are POSIX-only
// (TestPlatformPosix.cpp, TestPlatformWindows.cpp).
bool MakeFifo(const std::filesystem::path& path);

// While it exists, the calls chosen with Fail fail with their error; every
// call is counted. Only one may exist at a time.
class FileFaults {
public:
    FileFaults() {
        SetFileFaultInjector([this](FileCall call, const std::string& path) { return Inject(call, path); });
    }
    ~FileFaults() { SetFileFaultInjector(nullptr); }
    FileFaults(const FileFaults&) = delete;
    FileFaults& operator=(const FileFaults&) = delete;

    // Every `call` on a file named `fileName` (any folder) fails with `error`,
    // from its `from`-th such call on (1-based); `times` of them, or all when 0.
    void Fail(FileCall call, std::string fileName, std::errc error, int from = 1, int times = 0) {
        m_Rules.push_back({call, std::move(fileName), std::make_error_code(error), from, times, 0});
    }
    void Clear() { m_Rules.clear(); }
    // How many calls of a kind were made while this existed.
    int Count(FileCall call) const { return m_Counts[static_cast<std::size_t>(call)]; }

private:
    struct Rule {
        FileCall Call;
        std::string FileName;
        std::error_code Error;
        int From;
        int Times;
        int Seen;
    };

    std::error_code Inject(FileCall call, const std::string& path) {
        ++m_Counts[static_cast<std::size_t>(call)];
        const auto u8 = std::filesystem::path(std::u8string(path.begin(), path.end())).filename().u8string();
        const std::string name(u8.begin(), u8.end());
        for (auto& rule : m_Rules) {
            if (rule.Call != call || rule.FileName != name) {
                continue;
            }
            ++rule.Seen;
            if (rule.Seen >= rule.From && (rule.Times == 0 || rule.Seen < rule.From + rule.Times)) {
                return rule.Error;
            }
        }
        return {};
    }

    std::vector<Rule> m_Rules;
    std::array<int, 3> m_Counts{};
};

} // namespace velmar::test
