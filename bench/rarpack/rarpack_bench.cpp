// Packer benchmark: for each input set, the packed size as a ratio of the input
// (smaller is better) and the packing speed, beside gzip -9 and xz -9 run on the
// same bytes (each file on its own, as in a normal archive, and all of them
// together, as in a solid one). The goal: never larger than gzip -9.
// "data" counts the packed data of the members, "archive" the whole file with
// its headers (32 bytes and the name per member, 27 per archive); gzip's and
// xz's own headers stay in their numbers. No password: encryption would add up
// to 15 bytes of padding per member.
//
//   rarpack_bench [FILE...]    extra files form one more set of their own
//
// Sets: the licence texts of /usr/share/common-licenses, a generated 2 MB text,
// 8- and 16-bit sample data, and the built media set when it exists.
#include "rarpack.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

struct InputSet {
    std::string label;
    std::vector<rarpack::Member> members;
};

Bytes readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint64_t totalSize(const InputSet& set)
{
    std::uint64_t n = 0;
    for (const auto& m : set.members) n += m.data.size();
    return n;
}

// Size of `data` after an external compressor reading standard input.
std::uint64_t externalSize(const char* command, const Bytes& data)
{
    const fs::path temp = fs::temp_directory_path() / "rarpack_bench.in";
    std::ofstream(temp, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    const std::string line = std::string(command) + " < " + temp.string() + " | wc -c";
    std::FILE* pipe = ::popen(line.c_str(), "r");
    unsigned long long size = 0;
    if (!pipe || std::fscanf(pipe, "%llu", &size) != 1) size = 0;
    if (pipe) ::pclose(pipe);
    fs::remove(temp);
    return size;
}

void reportExternal(const char* label, const char* command, const InputSet& set)
{
    std::uint64_t each = 0;
    Bytes all;
    for (const auto& m : set.members) {
        each += externalSize(command, m.data);
        all.insert(all.end(), m.data.begin(), m.data.end());
    }
    const double total = static_cast<double>(totalSize(set));
    std::printf("  %-22s each %.4f   together %.4f\n", label, each / total,
                externalSize(command, all) / total);
}

void reportPacker(const InputSet& set, int effort, bool solid)
{
    rarpack::PackOptions options;
    options.effort = effort;
    options.solid = solid;
    Bytes image;
    std::vector<rarpack::MemberReport> reports;
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    if (!rarpack::packArchive(set.members, options, image, reports, error)) {
        std::printf("  rarpack failed: %s\n", error.c_str());
        return;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double total = static_cast<double>(totalSize(set));
    std::uint64_t data = 0;
    for (const auto& r : reports) data += r.packedSize;
    std::printf("  rarpack effort %d %-6s data %.4f   archive %.4f   %6.2f MB/s\n", effort,
                solid ? "solid" : "normal", data / total, image.size() / total, total / 1e6 / seconds);
}

Bytes generatedText(std::size_t n)
{
    static const char* const words[] = {"alp ",    "zwirbel ", "party ", "snow ", "the ",   "of ",
                                        "meadow ", "sun\n",    "rays ",  "and ",  "birds ", "music ",
                                        "demo ",   "night ",   "a ",     "in "};
    Bytes b;
    std::uint32_t state = 1;
    while (b.size() < n) {
        state = state * 1103515245u + 12345u;
        const char* w = words[(state >> 16) % 16];
        b.insert(b.end(), w, w + std::char_traits<char>::length(w));
    }
    return b;
}

Bytes samples(std::size_t count, int bytesPerSample)
{
    Bytes b;
    std::uint32_t state = 7;
    for (std::size_t i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        const double v =
            std::sin(0.02 * i) * 0.6 + std::sin(0.0031 * i) * 0.3 + ((state >> 16) % 64) / 6400.0;
        const int s = static_cast<int>(v * (bytesPerSample == 1 ? 127 : 32767));
        b.push_back(static_cast<std::uint8_t>(bytesPerSample == 1 ? s + 128 : s));
        if (bytesPerSample == 2) b.push_back(static_cast<std::uint8_t>(s >> 8));
    }
    return b;
}

InputSet directorySet(const std::string& label, const fs::path& dir)
{
    InputSet set{label, {}};
    std::error_code ec;
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(dir, ec))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const auto& f : files) set.members.push_back({f.filename().string(), readFile(f)});
    return set;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<InputSet> sets;
    sets.push_back(directorySet("licence texts", "/usr/share/common-licenses"));
    sets.push_back({"generated text, 2 MB", {{"words.txt", generatedText(2u << 20)}}});
    sets.push_back({"8-bit samples", {{"s8.raw", samples(1u << 20, 1)}}});
    sets.push_back({"16-bit samples", {{"s16.raw", samples(1u << 19, 2)}}});
    sets.push_back(directorySet("media set", ZW_MEDIA_DIR));
    if (argc > 1) {
        InputSet extra{"files given", {}};
        for (int i = 1; i < argc; ++i)
            extra.members.push_back({fs::path(argv[i]).filename().string(), readFile(argv[i])});
        sets.push_back(extra);
    }
    std::printf("packed size / input size (smaller is better)\n");
    for (const InputSet& set : sets) {
        if (set.members.empty() || totalSize(set) == 0) {
            std::printf("\n%s: not found, skipped\n", set.label.c_str());
            continue;
        }
        std::printf("\n%s: %zu files, %llu bytes\n", set.label.c_str(), set.members.size(),
                    static_cast<unsigned long long>(totalSize(set)));
        for (int effort : {1, 6, 9}) reportPacker(set, effort, false);
        if (set.members.size() > 1) reportPacker(set, 6, true);
        reportExternal("gzip -9", "gzip -9 -c", set);
        reportExternal("xz -9", "xz -9 -c", set);
    }
    return 0;
}
