#pragma once

#include <string>

namespace zib {

// A shared library loaded by name (dlopen), unloaded with the object.
// Loading looks where the dynamic loader looks: the program's RPATH, then
// LD_LIBRARY_PATH and the system folders.
class SharedLibrary {
public:
    SharedLibrary() = default;
    explicit SharedLibrary(const std::string& soname) { open(soname); }
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;

    // Loading; false (with error() set) when the library cannot be loaded.
    // `keepLoaded`: closing leaves the library in the process (for code of it
    // that may still run, such as threads it started)
    bool open(const std::string& soname, bool keepLoaded = false);
    void close();
    bool isOpen() const { return handle_ != nullptr; }
    const std::string& error() const { return error_; }

    // The address of an exported symbol, or null
    void* symbol(const char* name) const;

private:
    void* handle_ = nullptr;
    std::string error_;
};

} // namespace zib
