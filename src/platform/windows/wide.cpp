// Text for Windows' wide-character calls.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/windows/wide.h"

namespace platform::windows {

std::wstring widen(const char* text, unsigned codePage)
{
    const int length = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (length <= 1) return std::wstring();
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(codePage, 0, text, -1, wide.data(), length);
    wide.pop_back();  // the terminating zero
    return wide;
}

std::string narrowToUtf8(const wchar_t* text, int count)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, count, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string result(std::size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, count, result.data(), length, nullptr, nullptr);
    return result;
}

}  // namespace platform::windows
