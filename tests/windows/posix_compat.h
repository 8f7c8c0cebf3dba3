// What the shared tests take from POSIX, for their Windows build (included into
// every test source there): unique scratch directories, and TMPDIR, which Windows
// calls TMP (the system's temporary folder is looked for there first).
#pragma once

#ifdef _WIN32
#include <direct.h>
#include <io.h>

#include <cstdlib>
#include <cstring>

inline char* mkdtemp(char* pattern)
{
    if (_mktemp_s(pattern, std::strlen(pattern) + 1) != 0) return nullptr;
    return _mkdir(pattern) == 0 ? pattern : nullptr;
}

inline int setenv(const char* name, const char* value, int)
{
    if (std::strcmp(name, "TMPDIR") == 0 && _putenv_s("TMP", value) != 0) return -1;
    return _putenv_s(name, value);
}
#endif
