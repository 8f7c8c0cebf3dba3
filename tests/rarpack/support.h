// Helpers of the packer tests: deterministic test data, a scratch directory, and
// packing to a file that the reader then opens.
#pragma once

#include "rarpack.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "archive/rarreader.h"
#include "little_endian.h"

namespace rarpack::test {

using Bytes = std::vector<std::uint8_t>;

struct Random {
    std::uint64_t state;
    std::uint32_t next()
    {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state >> 33);
    }
};

inline Bytes randomBytes(std::size_t n, std::uint64_t seed)
{
    Random r{seed};
    Bytes b(n);
    for (auto& x : b) x = static_cast<std::uint8_t>(r.next());
    return b;
}

// Words drawn from a small vocabulary: compresses like prose.
inline Bytes text(std::size_t n, std::uint64_t seed)
{
    static const char* const words[] = {"the ",    "alp ",   "zwirbel ", "party ", "invitation ",
                                        "meadow ", "birds ", "sun ",     "rays ",  "mountain ",
                                        "marlu ",  "fenno ", "and ",     "of ",    "demo ",
                                        "night\n", "music ", "snow ",    "a ",     "in "};
    Random r{seed};
    Bytes b;
    while (b.size() < n) {
        const char* w = words[r.next() % 20];
        b.insert(b.end(), w, w + std::strlen(w));
    }
    b.resize(n);
    return b;
}

// Interleaved samples: a sine per channel with a little noise, so that repeats
// are rare and prediction is what pays.
inline Bytes samples(std::size_t frames, int channels, int bytesPerSample, std::uint64_t seed)
{
    Random r{seed};
    Bytes b;
    for (std::size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) {
            const double noise = (static_cast<int>(r.next() % 9) - 4);
            const double v = std::sin(0.013 * (c + 1) * i + c) * (bytesPerSample == 1 ? 90 : 12000) +
                             noise * (bytesPerSample == 1 ? 1 : 40);
            const int s = static_cast<int>(v);
            if (bytesPerSample == 1)
                b.push_back(static_cast<std::uint8_t>(s + 128));
            else
                append16(b, static_cast<std::uint32_t>(s));
        }
    return b;
}

struct ScratchDir {
    std::filesystem::path path;
    ScratchDir()
    {
        std::string t = (std::filesystem::temp_directory_path() / "rarpack-test-XXXXXX").string();
        path = ::mkdtemp(t.data()) ? t : std::string();
    }
    ~ScratchDir() { std::filesystem::remove_all(path); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

inline void writeFile(const std::string& path, const Bytes& data)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

inline Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Packs and writes the archive; reports go to `reports` when given.
inline std::string packToFile(const ScratchDir& dir, const std::vector<Member>& members,
                              const PackOptions& options, std::vector<MemberReport>* reports = nullptr)
{
    Bytes image;
    std::vector<MemberReport> local;
    std::string error;
    if (!packArchive(members, options, image, reports ? *reports : local, error)) return std::string();
    const std::string path = dir / "test.rar";
    writeFile(path, image);
    return path;
}

// One call of the show's reader.
inline std::optional<Bytes> extract(const std::string& archive, const std::string& name, const char* password)
{
    std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    if (!extractToMemory(&data, &size, name.c_str(), archive.c_str(), password)) return std::nullopt;
    Bytes result(data, data + size);
    std::free(data);
    return result;
}

// The reader's debug log of this test run (its directory is set up in main).
std::string readerLog();

}  // namespace rarpack::test
