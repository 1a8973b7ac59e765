#include "ui/core/CommandFileReader.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace zib {

namespace {

// Closes the descriptor on every way out.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

CommandFile failed(int message)
{
    CommandFile f;
    f.message = message;
    return f;
}

} // namespace

CommandFile ReadFileForCommand(const std::filesystem::path& path, uint64_t maxSize)
{
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return failed(9);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) return failed(9);
    off_t end = ::lseek(fd.get(), 0, SEEK_END);
    if (end == off_t(-1)) return failed(10);
    if (end < 0) return failed(12);
    if (::lseek(fd.get(), 0, SEEK_SET) != 0) return failed(10);
    if (uint64_t(end) > maxSize) return failed(2);

    CommandFile file;
    try {
        file.bytes.resize(size_t(end));
    } catch (const std::bad_alloc&) {
        return failed(2);
    }
    size_t got = 0;
    while (got < file.bytes.size()) {
        ssize_t n = ::read(fd.get(), file.bytes.data() + got, file.bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += size_t(n);
    }
    if (got != file.bytes.size()) return failed(15);
    return file;
}

} // namespace zib
