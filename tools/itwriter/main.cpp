// itwriter: builds an Impulse Tracker module from text scores.
//   itwriter -o OUT.it FILE...
// The files are read in the order given, as one score (instruments first, usually).
#include "itfile.h"
#include "score.h"
#include "synth.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

bool readFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

// Writes beside the target and renames, so a failed run leaves no half module.
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::string temp = path + ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out) return false;
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

int usage()
{
    std::fprintf(stderr, "usage: itwriter -o OUT.it SCORE...\n");
    return 2;
}

bool build(const std::vector<std::string>& inputs, std::vector<uint8_t>& module)
{
    itw::Song song;
    itw::ScoreParser parser;
    for (const std::string& path : inputs) {
        std::string text;
        if (!readFile(path, text)) {
            std::fprintf(stderr, "itwriter: cannot read %s\n", path.c_str());
            return false;
        }
        if (!parser.parse(text, path, song)) {
            std::fprintf(stderr, "itwriter: %s\n", parser.error().c_str());
            return false;
        }
    }
    if (!parser.finish(song)) {
        std::fprintf(stderr, "itwriter: %s\n", parser.error().c_str());
        return false;
    }
    std::vector<itw::SampleData> samples(song.instruments.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        const itw::Instrument& ins = song.instruments[i];
        std::string error;
        if (!itw::synthesize(ins, samples[i], error)) {
            std::fprintf(stderr, "itwriter: %s:%d: %s\n", ins.file.c_str(), ins.line, error.c_str());
            return false;
        }
    }
    std::string error;
    if (!itw::writeIt(song, samples, module, error)) {
        std::fprintf(stderr, "itwriter: %s\n", error.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string output;
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "-o" && i + 1 < argc)
            output = argv[++i];
        else if (!arg.empty() && arg[0] == '-')
            return usage();
        else
            inputs.push_back(arg);
    }
    if (output.empty() || inputs.empty()) return usage();
    std::vector<uint8_t> module;
    if (!build(inputs, module)) return 1;
    if (!writeFile(output, module)) {
        std::fprintf(stderr, "itwriter: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
