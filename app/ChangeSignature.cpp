#include "app/ChangeSignature.h"

#include "common/Paths.h"
#include "profiles/Profiles.h"

#include <algorithm>

namespace velmar {

std::string ProfilesFolder(const std::string& dataPath) {
    return dataPath + "Profiles" + kPathSeparator;
}

ChangeSignature ReadChangeSignature(const std::string& dataPath) {
    return ListFolder(ProfilesFolder(dataPath), kProfileFilePattern);
}

bool SameSignature(const ChangeSignature& a, const ChangeSignature& b) {
    const auto sameFile = [](const DirectoryEntry& x, const DirectoryEntry& y) {
        return x.HasTime && y.HasTime && x == y;
    };
    return a.State == b.State && a.Reason == b.Reason && a.Others == b.Others &&
           std::equal(a.Files.begin(), a.Files.end(), b.Files.begin(), b.Files.end(), sameFile);
}

} // namespace velmar
