// The music tool's score reader on any text, read after the show's instruments
// and finished as the tool does before it synthesises anything.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz_check.h"
#include "score.h"

namespace {

const std::string& instruments()
{
    static const std::string text = [] {
        std::ifstream in(ZW_INSTRUMENTS, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    itw::Song song;
    itw::ScoreParser parser;
    FUZZ_CHECK(parser.parse(instruments(), "instruments.txt", song));
    const bool read = parser.parse(text, "fuzz.score", song) && parser.finish(song);
    FUZZ_CHECK(read || !parser.error().empty());
    return 0;
}
