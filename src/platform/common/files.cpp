// File calls of the platform layer (POSIX): shared by every back end and the tools.
// (Windows has its own: windows/files.cpp.)
#include "platform/platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace platform {

bool deleteFile(const char* path) { return ::unlink(path) == 0; }

std::string currentDirectory()
{
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

bool changeDirectory(const char* path) { return ::chdir(path) == 0; }

std::string tempDirectory()
{
    const char* dir = std::getenv("TMPDIR");
    std::string result = (dir && *dir) ? dir : "/tmp";
    while (result.size() > 1 && result.back() == '/') result.pop_back();
    return result;
}

std::FILE* createNewFile(const char* path, bool ownerOnly)
{
    const mode_t mode = ownerOnly ? 0600 : 0644;
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) return nullptr;
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) ::close(fd);
    return file;
}

std::FILE* openPrivateFile(const char* path, bool truncate)
{
    const int fd =
        ::open(path, O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | (truncate ? 0 : O_APPEND), 0600);
    if (fd < 0) return nullptr;
    struct stat info;
    const bool ours =
        ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1 && info.st_uid == ::geteuid();
    if (!ours || (truncate && (::fchmod(fd, 0600) != 0 || ::ftruncate(fd, 0) != 0))) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, truncate ? "w" : "a");
    if (!file) ::close(fd);
    return file;
}

}  // namespace platform
