// The music tool's score reader on any text, read after the show's instruments
// and finished as the tool does before it synthesises anything.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz_check.h"
#include "score.h"

namespace {

// The show's instruments, read once: parsing them anew every run cost more than
// most inputs do. A fresh parser given a copy of this song is where a parser that
// has just read the instruments file stands (it keeps nothing else between files).
const itw::Song& songWithInstruments()
{
    static const itw::Song song = [] {
        std::ifstream in(ZW_INSTRUMENTS, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        itw::Song read;
        itw::ScoreParser parser;
        FUZZ_CHECK(parser.parse(text, "instruments.txt", read));
        return read;
    }();
    return song;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    itw::Song song = songWithInstruments();
    itw::ScoreParser parser;
    const bool read = parser.parse(text, "fuzz.score", song) && parser.finish(song);
    FUZZ_CHECK(read || !parser.error().empty());
    return 0;
}
