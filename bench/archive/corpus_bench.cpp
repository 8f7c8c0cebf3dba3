// The reader's decoding speed against zlib's inflate on the same 40 MiB of
// machine code: 8 MiB from each of the five largest shared libraries of this
// system, made at run time. The corpus is packed by rarpack at its default effort
// (one member, normal archive, no password) and by zlib at level 6 (gzip format,
// so inflate checks its CRC-32 as the reader does). Both are decoded from memory
// into one buffer; the times are CPU time of this thread, the best of several
// interleaved runs, so a busy machine disturbs them little.
//
//   archive_corpus_bench [RUNS]     prints sizes, speeds and the ratio
//
// ratio = zlib's time / the reader's time: above 1.0 the reader is faster.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "archive/rarreader.h"
#include "rarpack.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

constexpr std::size_t slicePerLibrary = 8u << 20;
constexpr int libraryCount = 5;
constexpr int defaultRuns = 5;

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Regular shared libraries under /usr/lib, largest first; hard links and copies
// of one library (same size) count once.
std::vector<fs::path> largestLibraries()
{
    std::vector<std::pair<std::uintmax_t, fs::path>> found;
    std::error_code ec;
    for (auto it =
             fs::recursive_directory_iterator("/usr/lib", fs::directory_options::skip_permission_denied, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (it->is_symlink(ec) || !it->is_regular_file(ec) || name.find(".so") == std::string::npos) continue;
        found.emplace_back(it->file_size(ec), it->path());
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<fs::path> chosen;
    std::uintmax_t lastSize = 0;
    for (const auto& [size, path] : found) {
        if (size == lastSize) continue;
        lastSize = size;
        chosen.push_back(path);
        if (int(chosen.size()) == libraryCount) break;
    }
    return chosen;
}

Bytes makeCorpus()
{
    Bytes corpus;
    for (const fs::path& library : largestLibraries()) {
        std::ifstream in(library, std::ios::binary);
        Bytes slice(slicePerLibrary);
        in.read(reinterpret_cast<char*>(slice.data()), std::streamsize(slice.size()));
        slice.resize(std::size_t(in.gcount()));
        std::printf("  %8zu bytes of %s\n", slice.size(), library.c_str());
        corpus.insert(corpus.end(), slice.begin(), slice.end());
    }
    return corpus;
}

Bytes deflateGzip(const Bytes& data)
{
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&z, uLong(data.size())));
    z.next_in = const_cast<Bytes::value_type*>(data.data());
    z.avail_in = uInt(data.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// One inflate over the whole stream into fresh memory, as the reader gets it; the
// gzip trailer makes inflate check the CRC-32.
bool inflateGzip(const Bytes& packed, std::size_t size)
{
    const std::unique_ptr<std::uint8_t[]> out(new std::uint8_t[size]);
    z_stream z{};
    inflateInit2(&z, 15 + 16);
    z.next_in = const_cast<Bytes::value_type*>(packed.data());
    z.avail_in = uInt(packed.size());
    z.next_out = out.get();
    z.avail_out = uInt(size);
    const int result = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    return result == Z_STREAM_END && z.total_out == size;
}

bool packRar(const Bytes& corpus, const fs::path& archivePath)
{
    rarpack::PackOptions options;
    Bytes image;
    std::vector<rarpack::MemberReport> reports;
    std::string error;
    if (!rarpack::packArchive({{"corpus.bin", corpus}}, options, image, reports, error)) {
        std::printf("rarpack failed: %s\n", error.c_str());
        return false;
    }
    std::ofstream(archivePath, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
    return true;
}

// One whole call of the reader; `check` compares what it produced with the corpus.
bool extractRar(const fs::path& archivePath, const Bytes* check)
{
    std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    bool ok = extractToMemory(&data, &size, "corpus.bin", archivePath.c_str(), nullptr) == 1;
    if (ok && check) ok = size == check->size() && std::equal(check->begin(), check->end(), data);
    std::free(data);
    return ok;
}

struct Timing {
    double rar = 1e9, zlib = 1e9;
};

Timing timeBoth(const fs::path& archivePath, const Bytes& gz, std::size_t size, int runs)
{
    Timing best;
    for (int i = 0; i < runs; ++i) {
        double start = threadSeconds();
        if (!extractRar(archivePath, nullptr)) std::printf("the reader failed: %s\n", lastFailureReason());
        best.rar = std::min(best.rar, threadSeconds() - start);
        start = threadSeconds();
        if (!inflateGzip(gz, size)) std::printf("inflate failed\n");
        best.zlib = std::min(best.zlib, threadSeconds() - start);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : defaultRuns;
    std::printf("corpus:\n");
    const Bytes corpus = makeCorpus();
    if (corpus.empty()) return 1;
    char dirTemplate[] = "/tmp/archive_corpus_bench.XXXXXX";
    if (!mkdtemp(dirTemplate)) return 1;
    const fs::path dir = dirTemplate;
    const fs::path archivePath = dir / "corpus.rar";
    const auto packStart = std::chrono::steady_clock::now();
    const bool packed = packRar(corpus, archivePath);
    const double packSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - packStart).count();
    const Bytes gz = deflateGzip(corpus);
    if (packed && !extractRar(archivePath, &corpus))
        std::printf("the reader's output differs from the corpus\n");
    if (packed) {
        const double mb = double(corpus.size()) / 1e6;
        const Timing t = timeBoth(archivePath, gz, corpus.size(), runs);
        std::printf("%.1f MB, packed in %.0f s; best of %d runs, CPU time:\n", mb, packSeconds, runs);
        std::printf("  reader (rarpack default effort) size %.4f  %7.1f MB/s\n",
                    double(fs::file_size(archivePath)) / double(corpus.size()), mb / t.rar);
        std::printf("  zlib inflate + CRC (level 6)    size %.4f  %7.1f MB/s\n",
                    double(gz.size()) / double(corpus.size()), mb / t.zlib);
        std::printf("ratio to zlib: %.2f\n", t.zlib / t.rar);
    }
    fs::remove_all(dir);
    return packed ? 0 : 1;
}
