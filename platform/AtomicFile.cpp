#include "platform/AtomicFile.h"

#include <string>
#include <system_error>
#include <unistd.h>

namespace zib {

AtomicFile::AtomicFile(std::filesystem::path path) : m_path(std::move(path))
{
    m_temp = m_path;
    m_temp += ".zibtmp" + std::to_string(::getpid());
}

AtomicFile::~AtomicFile()
{
    Discard();
}

FileIoError AtomicFile::Open()
{
    Discard();
    m_error = FileIoError::None;
    m_file = std::fopen(m_temp.c_str(), "wb");
    if (!m_file) m_error = FileIoError::OpenFailed;
    return m_error;
}

FileIoError AtomicFile::Write(const void* bytes, size_t n)
{
    if (!m_file && m_error == FileIoError::None) m_error = FileIoError::OpenFailed;
    if (m_error != FileIoError::None) return m_error;
    if (n && std::fwrite(bytes, 1, n, m_file) != n) m_error = FileIoError::WriteFailed;
    return m_error;
}

FileIoError AtomicFile::Commit()
{
    if (!m_file && m_error == FileIoError::None) m_error = FileIoError::OpenFailed;
    if (m_error != FileIoError::None) {
        Discard();
        return m_error;
    }
    bool written = std::fflush(m_file) == 0;
    written = (::fsync(::fileno(m_file)) == 0) && written;
    written = (std::fclose(m_file) == 0) && written;
    m_file = nullptr;
    std::error_code ec;
    if (!written) {
        std::filesystem::remove(m_temp, ec);
        return m_error = FileIoError::WriteFailed;
    }
    std::filesystem::rename(m_temp, m_path, ec);
    if (ec) {
        std::filesystem::remove(m_temp, ec);
        return m_error = FileIoError::RenameFailed;
    }
    return FileIoError::None;
}

void AtomicFile::Discard()
{
    if (!m_file) return;
    std::fclose(m_file);
    m_file = nullptr;
    std::error_code ec;
    std::filesystem::remove(m_temp, ec);
}

} // namespace zib
