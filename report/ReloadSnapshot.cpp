#include "report/ReloadSnapshot.h"

#include <algorithm>

namespace velmar {

bool ReloadSnapshot::FolderReadable() const {
    return std::none_of(Problems.begin(), Problems.end(),
                        [](const LoadProblem& problem) { return IsFolderProblem(problem.Kind); });
}

std::string_view ProblemKindName(LoadProblemKind kind) {
    switch (kind) {
    case LoadProblemKind::FolderMissing:
        return "folderMissing";
    case LoadProblemKind::FolderNotAFolder:
        return "folderNotAFolder";
    case LoadProblemKind::FolderUnreadable:
        return "folderUnreadable";
    case LoadProblemKind::FileUnreadable:
        return "fileUnreadable";
    case LoadProblemKind::FileVanished:
        return "fileVanished";
    case LoadProblemKind::NotAFile:
        return "notAFile";
    case LoadProblemKind::WrongVersion:
        return "wrongVersion";
    case LoadProblemKind::TooShort:
        return "tooShort";
    case LoadProblemKind::BeyondSlots:
        return "beyondSlots";
    }
    return "unknown";
}

bool IsFolderProblem(LoadProblemKind kind) {
    return kind == LoadProblemKind::FolderMissing || kind == LoadProblemKind::FolderNotAFolder ||
           kind == LoadProblemKind::FolderUnreadable;
}

} // namespace velmar
