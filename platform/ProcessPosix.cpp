#include "platform/Process.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace velmar {

HeldStandardError::HeldStandardError() {
    std::FILE* file = std::tmpfile();
    if (file == nullptr) {
        return;
    }
    m_Held = ::dup(::fileno(file));
    std::fclose(file);
    std::fflush(stderr);
    m_Saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (m_Held < 0 || m_Saved < 0 || ::dup2(m_Held, STDERR_FILENO) < 0) {
        Restore();
    }
}

HeldStandardError::~HeldStandardError() {
    Restore();
    if (m_Held >= 0) {
        ::close(m_Held);
    }
}

void HeldStandardError::Restore() {
    std::fflush(stderr);
    if (m_Saved >= 0) {
        ::dup2(m_Saved, STDERR_FILENO);
        ::close(m_Saved);
        m_Saved = -1;
    }
}

std::string HeldStandardError::Text() const {
    std::string text;
    if (m_Held < 0) {
        return text;
    }
    std::fflush(stderr);
    std::array<char, 4096> buffer{};
    off_t offset = 0;
    for (ssize_t n = 0; (n = ::pread(m_Held, buffer.data(), buffer.size(), offset)) > 0; offset += n) {
        text.append(buffer.data(), static_cast<std::size_t>(n));
    }
    return text;
}

void HeldStandardError::Release() {
    const std::string text = Text();
    Restore();
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(STDERR_FILENO, text.data() + done, text.size() - done);
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (m_Held >= 0) {
        ::close(m_Held);
        m_Held = -1;
    }
}

std::string ExecFirst(const std::vector<std::string>& candidates, const std::vector<std::string>& arguments) {
    std::vector<std::string> texts = arguments;
    std::vector<char*> argv;
    argv.reserve(texts.size() + 1);
    for (auto& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    for (const auto& candidate : candidates) {
        ::execv(candidate.c_str(), argv.data());
        if (errno != ENOENT && errno != ENOTDIR) {
            return "cannot start " + candidate + ": " + std::strerror(errno);
        }
    }
    std::string tried;
    for (const auto& candidate : candidates) {
        tried += (tried.empty() ? "" : " or ") + candidate;
    }
    return "cannot find " + tried;
}

} // namespace velmar
