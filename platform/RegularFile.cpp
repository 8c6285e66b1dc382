#include "platform/RegularFile.h"

#include "common/Errors.h"
#include "platform/BinaryFile.h"

namespace velmar {

std::string SizeText(std::uint64_t bytes) {
    constexpr std::uint64_t kMiB = std::uint64_t{1} << 20U;
    if (bytes >= kMiB && bytes % kMiB == 0) {
        return std::to_string(bytes / kMiB) + " MiB";
    }
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

std::vector<std::uint8_t> ReadRegularFile(const std::string& path, const FileKind& kind) {
    BinaryFile file(path, BinaryFile::Mode::Read);
    if (file.Size() > kind.MaxBytes) {
        const std::string reason = "too large for " + std::string(kind.Name) + " (" + SizeText(file.Size()) +
                                   "; at most " + SizeText(kind.MaxBytes) + ")";
        throw FileError("cannot read \"" + path + "\": " + reason, reason);
    }
    // The file is read as large as it was when opened: one that grows
    // meanwhile is not followed.
    std::vector<std::uint8_t> bytes = file.ReadUpTo(static_cast<std::size_t>(file.Size()));
    file.Close();
    return bytes;
}

} // namespace velmar
