#include "platform/InstanceFolder.h"

namespace velmar {

InstanceFolder ChooseInstanceFolder(const EnvironmentLookup& environment) {
    std::string problems;
    for (const InstanceFolderCandidate& candidate : InstanceFolderCandidates(environment)) {
        std::string problem = candidate.Missing;
        if (problem.empty() && candidate.Create) {
            problem = CreatePrivateFolder(candidate.Path);
        }
        if (problem.empty()) {
            problem = InstanceFolderProblem(candidate.Path);
            if (problem.empty()) {
                return {candidate.Path, {}};
            }
            problem = candidate.Path + " " + problem;
        }
        if (!problems.empty()) {
            problems += "; ";
        }
        problems += problem;
    }
    return {{}, "no folder of the user's own for the single-instance lock (" + problems + ")"};
}

} // namespace velmar
