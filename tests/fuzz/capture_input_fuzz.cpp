// The capture command's inputs on any text: the script of timed events, and the
// same text taken as a command line, one argument per line.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "tools/capture/options.h"
#include "tools/capture/script.h"

namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    std::vector<headless::Event> events;
    std::string error;
    if (!parseScript(text, events, error)) FUZZ_CHECK(!error.empty());
    CaptureOptions options;
    error.clear();
    if (!parseOptions(linesOf(text), options, error)) FUZZ_CHECK(!error.empty());
    return 0;
}
