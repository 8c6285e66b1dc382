#include "app/ChangeSignature.h"

#include "profiles/ProfileStore.h"

#include <algorithm>

namespace velmar {

ChangeSignature ReadChangeSignature(const DataFolder& folder) {
    return ListFolder(folder.ProfilesFolder(), kProfileFilePattern);
}

bool SameSignature(const ChangeSignature& a, const ChangeSignature& b) {
    const auto sameFile = [](const DirectoryEntry& x, const DirectoryEntry& y) {
        return x.HasTime && y.HasTime && x == y;
    };
    return a.State == b.State && a.Reason == b.Reason && a.Others == b.Others &&
           std::equal(a.Files.begin(), a.Files.end(), b.Files.begin(), b.Files.end(), sameFile);
}

} // namespace velmar
