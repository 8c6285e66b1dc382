#pragma once

// What kept a load of the profiles from showing a profile of the folder, or
// the folder at all, and how such a problem reads.

#include <cstddef>
#include <string>
#include <vector>

namespace velmar {

enum class LoadProblemKind {
    FolderMissing,    // the Profiles folder does not exist
    FolderNotAFolder, // its path names something that is not a folder
    FolderUnreadable, // it cannot be listed; Reason says why
    FileUnreadable,   // a profile file could not be opened or read; Reason says why
    FileVanished,     // a profile file of the listing was gone when it was to be opened
    NotAFile,         // a folder, FIFO or device is named like a profile
    WrongVersion,     // skipped for its format version; Reason is the version found
    TooShort,         // skipped: too short to hold a format version
    BeyondSlots,      // skipped: the 200 slots were full
};

struct LoadProblem {
    LoadProblemKind Kind = LoadProblemKind::FileUnreadable;
    std::string File;   // the file's name, or the folder's path for the folder's problems
    std::string Reason; // the system's words ("permission denied"), or the version found

    bool operator==(const LoadProblem&) const = default;
};

// Whether the problem is the Profiles folder's own (it could not be listed).
bool IsFolderProblem(LoadProblemKind kind);

// The words of the problems' lines. These are the English ones, which the
// machine-read outputs keep; a front end that shows the user's language
// overrides them. The system's own reason (Reason) is given as it is.
class ProblemWords {
public:
    virtual ~ProblemWords() = default;
    // One problem: "Profile_0002.dat: permission denied".
    virtual std::string Problem(const LoadProblem& problem) const;
    // The line that sums up `count` problems of a kind beyond the fifth.
    virtual std::string More(LoadProblemKind kind, std::size_t count) const;
};

// One problem as a line for the user, in English: "Profile_0002.dat: permission
// denied", "Profiles folder not found: /srv/alarm/Project/Profiles/".
std::string ProblemText(const LoadProblem& problem);
// The lines of a list of problems, in `words`. More than five of one kind are
// summed up after the fifth in one line ("9795 more files beyond the 200
// slots"), so that a folder of 10,000 files still gives a readable list.
std::vector<std::string> ProblemLines(const std::vector<LoadProblem>& problems);
std::vector<std::string> ProblemLines(const std::vector<LoadProblem>& problems, const ProblemWords& words);

} // namespace velmar
