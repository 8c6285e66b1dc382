#include "platform/SystemError.h"
#include "tests/support/FileFaults.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPlatform.h"

#include <sys/stat.h>
#include <unistd.h>

namespace velmar::test {

std::string MissingFolderWords() {
    return "no such file or directory";
}

std::string NotAFolderWords() {
    return "not a directory";
}

std::string NotFoundWords(bool /*folderMissing*/) {
    return SystemErrorText(std::make_error_code(std::errc::no_such_file_or_directory));
}

std::int64_t OwnProcessId() {
    return ::getpid();
}

bool MakeHidden(const std::filesystem::path& /*path*/) {
    return false;
}

bool MakeFifo(const std::filesystem::path& path) {
    return ::mkfifo(path.c_str(), 0644) == 0;
}

void ShiftModificationTime(const std::filesystem::path& path, std::chrono::nanoseconds shift) {
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + shift);
}

} // namespace velmar::test
