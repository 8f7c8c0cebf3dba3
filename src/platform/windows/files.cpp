// File calls of the platform layer on Windows (the POSIX ones are common/files.cpp).
// Paths are UTF-8 as everywhere else in the program; the wide system calls take
// every name the user's system allows (a user name with umlauts in the temporary
// folder's path included).
//
// The same rules as on POSIX: a new file is created exclusively and a link or
// reparse point in its place is never followed; the private file (the reader's log)
// is created for the user alone and only reused when it is a plain file with no
// other names. (Whose it is needs no check: the system's temporary folder is the
// user's own, closed to other users.)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <sddl.h>
#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdint>

#include "platform/platform.h"
#include "platform/windows/wide.h"

namespace platform {

namespace {

constexpr DWORD noFollowing = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
constexpr DWORD notPlain = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;

std::wstring widen(const char* path) { return windows::widen(path, windows::utf8CodePage); }

// The C library's name for a failure, for the callers' messages.
void setErrnoFrom(DWORD error)
{
    switch (error) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        errno = EEXIST;
        break;
    case ERROR_ACCESS_DENIED:
        errno = EACCES;
        break;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        errno = ENOENT;
        break;
    default:
        errno = EIO;
        break;
    }
}

// Only the file's owner (the user who creates it) may open it; nothing is
// inherited from the folder. Without the descriptor the folder's rules apply.
struct OwnerOnly {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    SECURITY_ATTRIBUTES attributes = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    OwnerOnly()
    {
        if (ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;OW)", SDDL_REVISION_1,
                                                                 &descriptor, nullptr))
            attributes.lpSecurityDescriptor = descriptor;
    }
    ~OwnerOnly()
    {
        if (descriptor) LocalFree(descriptor);
    }
    OwnerOnly(const OwnerOnly&) = delete;
    OwnerOnly& operator=(const OwnerOnly&) = delete;
};

bool isPlainFileOfOneName(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info;
    return GetFileInformationByHandle(handle, &info) && (info.dwFileAttributes & notPlain) == 0 &&
           info.nNumberOfLinks == 1;
}

// The handle becomes a C stream (and is closed with it).
std::FILE* streamFor(HANDLE handle, int flags, const char* mode)
{
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), flags);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, mode);
    if (!file) _close(fd);
    return file;
}

}  // namespace

bool deleteFile(const char* path) { return DeleteFileW(widen(path).c_str()) != 0; }

std::string currentDirectory()
{
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH + 1, buffer);
    return length > 0 && length <= MAX_PATH ? windows::narrowToUtf8(buffer, int(length)) : std::string();
}

bool changeDirectory(const char* path) { return SetCurrentDirectoryW(widen(path).c_str()) != 0; }

// The system's temporary folder (TMP, TEMP, the user's profile ...), without the
// separator it ends in unless it is a drive's root.
std::string tempDirectory()
{
    wchar_t buffer[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) return ".";
    while (length > 3 && (buffer[length - 1] == L'\\' || buffer[length - 1] == L'/')) --length;
    return windows::narrowToUtf8(buffer, int(length));
}

std::FILE* createNewFile(const char* path, bool ownerOnly)
{
    OwnerOnly security;
    // CREATE_NEW fails on any name that is taken, a link's included.
    const HANDLE handle =
        CreateFileW(widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                    ownerOnly ? &security.attributes : nullptr, CREATE_NEW, noFollowing, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        setErrnoFrom(GetLastError());
        return nullptr;
    }
    return streamFor(handle, _O_WRONLY | _O_BINARY, "wb");
}

// Text mode, as the system's own text files are written.
std::FILE* openPrivateFile(const char* path, bool truncate)
{
    OwnerOnly security;
    const DWORD access = truncate ? GENERIC_WRITE : FILE_APPEND_DATA | SYNCHRONIZE;
    const HANDLE handle = CreateFileW(widen(path).c_str(), access, FILE_SHARE_READ, &security.attributes,
                                      OPEN_ALWAYS, noFollowing, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    if (!isPlainFileOfOneName(handle) || (truncate && !SetEndOfFile(handle))) {
        CloseHandle(handle);
        return nullptr;
    }
    return streamFor(handle, _O_WRONLY | _O_TEXT | (truncate ? 0 : _O_APPEND), truncate ? "w" : "a");
}

}  // namespace platform
