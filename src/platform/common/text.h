// Text conversion for what the platform shows: the program's texts are
// Windows-1252 bytes, the window system wants UTF-8.
#pragma once

#include <string>

namespace platform {

// Every byte becomes its Windows-1252 character in UTF-8 (0xF6 -> "ö", 0x80 -> "€");
// the five bytes the code page leaves undefined keep their C1 control code points,
// as the system it stands in for does.
std::string windows1252ToUtf8(const std::string& bytes);

}  // namespace platform
