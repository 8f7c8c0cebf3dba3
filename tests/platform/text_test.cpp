// Windows-1252 texts shown as UTF-8.
#include <gtest/gtest.h>

#include "platform/common/text.h"

namespace {

TEST(Windows1252, ConvertsEveryRangeOfTheCodePage)
{
    const struct {
        std::string in, out;
    } cases[] = {
        {"", ""},
        {"ERROR! windowed instead?", "ERROR! windowed instead?"},
        {"l\xF6kjzwirbelalp", "l\xC3\xB6kjzwirbelalp"},  // caption of the music error
        {"\x80", "\xE2\x82\xAC"},                        // euro sign
        {"\x9F", "\xC5\xB8"},                            // Y with diaeresis
        {"\x81", "\xC2\x81"},                            // undefined: its C1 code point
        {"\xA0\xFF", "\xC2\xA0\xC3\xBF"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},  // bytes are bytes, NUL included
    };
    for (const auto& c : cases) EXPECT_EQ(platform::windows1252ToUtf8(c.in), c.out) << c.in;
}

}  // namespace
