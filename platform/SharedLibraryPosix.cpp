#include "common/Errors.h"
#include "platform/SharedLibrary.h"

#include <dlfcn.h>
#include <utility>

namespace velmar {

namespace {

[[noreturn]] void Refuse(const std::string& problem) {
    throw FileError(problem, problem);
}

} // namespace

SharedLibrary::SharedLibrary(std::string soname)
    : m_Soname(std::move(soname)), m_Handle(::dlopen(m_Soname.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (m_Handle == nullptr) {
        const char* reason = ::dlerror();
        Refuse("cannot load " + m_Soname + ": " + (reason != nullptr ? reason : "not found"));
    }
}

void* SharedLibrary::Symbol(const char* name) const {
    void* symbol = ::dlsym(m_Handle, name);
    if (symbol == nullptr) {
        Refuse("cannot use " + m_Soname + ": it has no " + name);
    }
    return symbol;
}

} // namespace velmar
