// rarpack ARCHIVE FILE...: reads the files, packs them in memory and writes the
// archive through a temporary file, so a failed run never leaves half an archive.
#include "cli.h"
#include "rarpack.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace rarpack::cli {
namespace {

constexpr std::uint64_t progressThreshold = 4u << 20;  // bytes of input before a bar is worth it
constexpr int barWidth = 40;

std::uint32_t dosTime(std::time_t t)
{
    std::tm tm{};
    if (!localtime_r(&t, &tm) || tm.tm_year < 80) return (1u << 21) | (1u << 16);  // 1980-01-01
    return static_cast<std::uint32_t>((tm.tm_year - 80) << 25 | (tm.tm_mon + 1) << 21 | tm.tm_mday << 16 |
                                      tm.tm_hour << 11 | tm.tm_min << 5 | tm.tm_sec / 2);
}

// The stored name: the path as given, without leading "/" or "./", parts joined
// with a backslash. Empty when the path can't be stored safely.
std::string storedName(const std::string& path)
{
    std::string name;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "..") return std::string();
        if (!part.empty() && part != ".") name += (name.empty() ? "" : "\\") + part;
        start = end + 1;
    }
    return name;
}

bool loadMember(const std::string& path, const struct stat& archiveStat, bool archiveExists, Member& m,
                std::string& error)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        error = "cannot read '" + path + "': " + std::strerror(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error = "'" + path + "' is a directory; name the files in it";
        return false;
    }
    if (archiveExists && st.st_dev == archiveStat.st_dev && st.st_ino == archiveStat.st_ino) {
        error = "'" + path + "' is the archive being written";
        return false;
    }
    m.name = storedName(path);
    if (m.name.empty()) {
        error = "'" + path + "' can't be stored: name it without '..' parts";
        return false;
    }
    m.dosTime = dosTime(st.st_mtime);
    m.attributes = static_cast<std::uint32_t>(st.st_mode);
    return readWholeFile(path, m.data, error);
}

void showProgress(std::uint64_t done, std::uint64_t total)
{
    static int shownPercent = -1;
    const int percent = total ? static_cast<int>(done * 100 / total) : 100;
    if (percent == shownPercent) return;
    shownPercent = percent;
    const int filled = total ? static_cast<int>(done * barWidth / total) : barWidth;
    std::fprintf(stderr, "\r[%-*.*s] %3d%%", barWidth, filled, "########################################",
                 percent);
    std::fflush(stderr);
}

void printReport(const MemberReport& r)
{
    const double ratio =
        r.size ? 100.0 * static_cast<double>(r.packedSize) / static_cast<double>(r.size) : 100.0;
    std::string how = r.stored ? "stored" : "lz";
    if (r.audioBytes) how += "+audio(" + std::to_string(r.audioChannels) + "ch)";
    std::printf("%-32s %10llu %10llu %6.1f%%  %s\n", r.name.c_str(), static_cast<unsigned long long>(r.size),
                static_cast<unsigned long long>(r.packedSize), ratio, how.c_str());
}

bool writeArchive(const std::string& path, const std::vector<std::uint8_t>& image, std::string& error)
{
    const std::string temp = path + ".part";
    std::FILE* f = std::fopen(temp.c_str(), "wbx");
    if (!f) {
        error = "cannot create '" + temp + "': " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(image.data(), 1, image.size(), f) == image.size();
    if (std::fclose(f) != 0 || !written || std::rename(temp.c_str(), path.c_str()) != 0) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace

int runPack(const Options& o)
{
    struct stat archiveStat {};
    const bool archiveExists = ::stat(o.archive.c_str(), &archiveStat) == 0;
    std::vector<Member> members(o.files.size());
    std::string error;
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < o.files.size(); ++i) {
        if (!loadMember(o.files[i], archiveStat, archiveExists, members[i], error))
            return printError(error), 1;
        total += members[i].data.size();
    }
    PackOptions options;
    options.password = o.password;
    options.solid = o.solid;
    options.storeOnly = o.store;
    options.effort = o.effort;
    const bool bar = !o.quiet && total >= progressThreshold && ::isatty(STDERR_FILENO);
    std::vector<std::uint8_t> image;
    std::vector<MemberReport> reports;
    const bool packed =
        packArchive(members, options, image, reports, error, bar ? Progress(showProgress) : nullptr);
    if (bar) std::fprintf(stderr, "\r%*s\r", barWidth + 8, "");
    if (!packed) return printError(error), 1;
    if (archiveExists && !o.quiet) std::printf("replacing %s\n", o.archive.c_str());
    if (!writeArchive(o.archive, image, error)) return printError(error), 1;
    if (!o.quiet)
        for (const MemberReport& r : reports) printReport(r);
    return 0;
}

}  // namespace rarpack::cli
