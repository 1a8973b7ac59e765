#include "platform/SharedLibrary.h"

#include <dlfcn.h>
#include <utility>

namespace zib {

SharedLibrary::~SharedLibrary()
{
    close();
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_))
{
}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept
{
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

bool SharedLibrary::open(const std::string& soname, bool keepLoaded)
{
    close();
    handle_ = dlopen(soname.c_str(), RTLD_NOW | RTLD_LOCAL | (keepLoaded ? RTLD_NODELETE : 0));
    if (!handle_) {
        const char* e = dlerror();
        error_ = e ? e : "cannot load " + soname;
        return false;
    }
    error_.clear();
    return true;
}

void SharedLibrary::close()
{
    if (handle_) dlclose(handle_);
    handle_ = nullptr;
}

void* SharedLibrary::symbol(const char* name) const
{
    return handle_ ? dlsym(handle_, name) : nullptr;
}

} // namespace zib
