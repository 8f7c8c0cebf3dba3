// Text for Windows' wide-character calls.
#pragma once

#include <string>

namespace platform::windows {

constexpr unsigned utf8CodePage = 65001;    // paths (CP_UTF8)
constexpr unsigned programCodePage = 1252;  // the program's texts (Windows-1252)

// The bytes of `text` read in the code page, as wide characters.
std::wstring widen(const char* text, unsigned codePage);
// Wide characters (count of them) as UTF-8.
std::string narrowToUtf8(const wchar_t* text, int count);

}  // namespace platform::windows
