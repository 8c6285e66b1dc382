#include "app/ChangeSignature.h"

namespace velmar {

std::string ProfilesFolder(const std::string& dataPath) {
    return dataPath + "Profiles" + kPathSeparator;
}

ChangeSignature ReadChangeSignature(const std::string& dataPath) {
    return ListFiles(ProfilesFolder(dataPath), kProfileFilePattern);
}

bool SameSignature(const ChangeSignature& a, const ChangeSignature& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto& x = a[i];
        const auto& y = b[i];
        if (!x.HasTime || !y.HasTime || x.Name != y.Name || x.ModificationTime != y.ModificationTime ||
            x.Size != y.Size) {
            return false;
        }
    }
    return true;
}

} // namespace velmar
