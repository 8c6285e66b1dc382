// velmar-profiles watch: the reload cycle of the monitor (a tick every five
// seconds that lists the Profiles folder, and after a change the writer's
// half second and a load), printing one JSON line per reload that changed
// something.

#include "platform/ConsoleProgram.h"
#include "platform/LocalTime.h"
#include "platform/StopSignals.h"
#include "profiles/ChangeSignature.h"
#include "profiles/DataFolder.h"
#include "profiles/ProfileStore.h"
#include "report/StoreSnapshot.h"
#include "report/WatchEvents.h"
#include "tools/velmar-profiles/Commands.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <ostream>

namespace velmar::tool {

namespace {

using namespace std::chrono_literals;

constexpr auto kTick = 5s;          // as the monitor's Timer_Reload
constexpr auto kSettle = 500ms;     // the writer's time to finish, as the monitor waits
constexpr auto kLookAround = 250ms; // how often a pause looks for a signal or a gone reader

// Waits `duration`; false when a stop signal arrived or the reader of
// standard output has gone meanwhile, so that the stream ends with its
// reader rather than at its next line.
bool Pause(const ConsoleStopSignals& signals, std::chrono::nanoseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    while (signals.Received() == 0 && !StandardOutputReaderGone()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= end) {
            return true;
        }
        signals.Wait(std::min<std::chrono::nanoseconds>(end - now, kLookAround));
    }
    return false;
}

} // namespace

const CommandSyntax& WatchSyntax() {
    static const CommandSyntax syntax{
        .Name = "watch",
        .Synopsis = "watch [/PATH:folder]",
        .Summary = "Run the reload cycle and print one JSON line per reload that changed something\n"
                   "(JSON Lines), the whole state first.",
        .Help = R"(Usage: velmar-profiles watch [/PATH:folder]

Runs the monitor's reload cycle on the data folder (a look at the profile
files every five seconds, and after a change half a second's wait and a
load) and prints one JSON object per line for every reload that changed
something, flushed at once. The first line is the whole state:

  {"time": T, "event": "state", "folder": F,
   "profiles": [{"file", "name", "active"}, ...], "problems": [...]}

and every further line what changed since the line before:

  {"time": T, "event": "change", "appeared": [profile, ...],
   "disappeared": [profile, ...], "changed": [profile, ...],
   "problemsAppeared": [problem, ...], "problemsGone": [problem, ...]}

"time" is the local time of the reload (ISO 8601 with the offset from UTC);
a profile is {"file", "name", "active"} (a changed one as it is now), a
problem {"kind", "file", "text"} as in "list --json". Every key is always
there. A tick that changes nothing prints nothing.

SIGINT, SIGTERM and SIGHUP end it with status 0; so does a reader that goes
away (velmar-profiles watch | head -1), within a quarter of a second, unless
a line written to it first ends the program with SIGPIPE (status 141).
Output that cannot be written ends it with status 1.
)",
        .Operands = "data folder",
        .MinOperands = 0,
        .MaxOperands = kAnyNumber,
    };
    return syntax;
}

int CommandWatch(const ProgramCommandLine& program, const ParsedArguments& args, std::ostream& out,
                 std::ostream& /*err*/) {
    const ConsoleStopSignals signals;
    ProfileStore store(DataFolder::FromCommandLine(program.ExecutableFolder, args.Operands()));
    std::optional<ReloadSnapshot> previous;
    std::optional<ChangeSignature> last;
    bool readAgain = false;
    std::uint64_t reloads = 0;
    while (signals.Received() == 0) {
        ChangeSignature signature = ReadChangeSignature(store.Folder());
        // The rules of the monitor's cycle: a change of the listing, or a
        // file that could not be read last time, loads again.
        if (!last || readAgain || !SameSignature(signature, *last)) {
            if (last && !Pause(signals, kSettle)) {
                break;
            }
            const auto start = std::chrono::steady_clock::now();
            const ProfileLoad& load = store.LoadAllProfiles(signature);
            const auto duration = std::chrono::steady_clock::now() - start;
            readAgain = MustReadAgain(load.Problems);
            ReloadSnapshot snapshot =
                SnapshotOfLoad(load, {std::chrono::system_clock::now(), duration, ++reloads});
            if (const auto line =
                    WatchEventLine(previous ? &*previous : nullptr, snapshot, LocalTimestampText())) {
                out << *line << std::flush;
                if (!out) {
                    return 1; // the tool's main names the reason
                }
            }
            previous = std::move(snapshot);
            last = std::move(signature);
        }
        if (!Pause(signals, kTick)) {
            break;
        }
    }
    return 0;
}

} // namespace velmar::tool
