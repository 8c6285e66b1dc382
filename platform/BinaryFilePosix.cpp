// BinaryFile's system calls on POSIX.

#include "platform/BinaryFileNative.h"
#include "platform/SystemError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmar::native {

// Opens without blocking: a FIFO would otherwise wait for a writer, and some
// devices for their medium. Anything but a regular file is refused before a
// byte is read.
OpenedFile OpenNative(const std::string& path, BinaryFile::Mode mode) {
    if (const auto error = InjectedFault(FileCall::Open, path)) {
        ThrowFileError("cannot open", path, error);
    }
    int flags = O_RDONLY;
    if (mode == BinaryFile::Mode::Update) {
        flags = O_RDWR | O_CREAT;
    } else if (mode == BinaryFile::Mode::Truncate) {
        flags = O_WRONLY | O_CREAT | O_TRUNC;
    }
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC,
                    0666); // NOLINT(cppcoreguidelines-pro-type-vararg)
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        ThrowFileError("cannot open", path, LastSystemError());
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const auto error = LastSystemError();
        ::close(fd);
        ThrowFileError("cannot open", path, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        ThrowFileError("cannot open", path,
                       S_ISDIR(info.st_mode)
                           ? SystemErrorText(std::make_error_code(std::errc::is_a_directory))
                           : kNotARegularFile);
    }
    return {fd, static_cast<std::uint64_t>(info.st_size)};
}

long long ReadNative(std::intptr_t handle, char* buffer, std::size_t count) {
    ssize_t got = -1;
    do {
        got = ::read(static_cast<int>(handle), buffer, count);
    } while (got < 0 && errno == EINTR);
    return got;
}

long long WriteNative(std::intptr_t handle, const char* buffer, std::size_t count) {
    ssize_t written = -1;
    do {
        written = ::write(static_cast<int>(handle), buffer, count);
    } while (written < 0 && errno == EINTR);
    return written;
}

bool SeekNative(std::intptr_t handle, std::uint64_t position) {
    return ::lseek(static_cast<int>(handle), static_cast<off_t>(position), SEEK_SET) >= 0;
}

bool CloseNative(std::intptr_t handle) {
    // Not retried on EINTR: the descriptor is gone either way.
    return ::close(static_cast<int>(handle)) == 0;
}

} // namespace velmar::native
