#include "report/ReloadSnapshot.h"

#include <algorithm>

namespace velmar {

bool ReloadSnapshot::FolderReadable() const {
    return std::none_of(Problems.begin(), Problems.end(),
                        [](const LoadProblem& problem) { return IsFolderProblem(problem.Kind); });
}

} // namespace velmar
