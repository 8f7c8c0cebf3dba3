// rarpack --list / --test / --extract: the table of contents comes from our own
// walk of the headers, every member's bytes from the show's archive reader.
#include "cli.h"
#include "rarpack.h"

#include "archive/rarreader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

namespace rarpack::cli {
namespace {

bool loadListing(const Options& o, Listing& listing)
{
    std::vector<std::uint8_t> image;
    std::string error;
    if (!readWholeFile(o.archive, image, error)) return printError(error), false;
    if (!listArchive(image, listing, error)) return printError(o.archive + ": " + error), false;
    return true;
}

const char* methodName(const Entry& e)
{
    static const char* const names[] = {"stored", "fastest", "fast", "normal", "good", "best"};
    return e.method >= 0x30 && e.method <= 0x35 ? names[e.method - 0x30] : "?";
}

// Runs `step` on every member with an empty buffer and reason, frees the buffer
// the step filled, and prints FAILED with the reason for each step that fails.
// Returns how many failed.
template <class Step>
int forEachMember(const Listing& listing, Step step)
{
    int failed = 0;
    for (const Entry& e : listing.entries) {
        std::uint8_t* data = nullptr;
        std::uint32_t size = 0;
        std::string reason;
        const bool ok = step(e, data, size, reason);
        std::free(data);
        if (!ok) ++failed, std::printf("FAILED %s: %s\n", e.name.c_str(), reason.c_str());
    }
    return failed;
}

// Extracts one member through the reader; on failure the reader's last message.
// A member whose name the reader can't tell from an earlier one's would come out
// with the earlier one's bytes, so it is refused.
bool extractMember(const Options& o, const Entry& e, std::set<std::string>& seen, std::uint8_t*& data,
                   std::uint32_t& size, std::string& reason)
{
    data = nullptr;
    size = 0;
    if (!seen.insert(memberKey(e.name)).second)
        return reason = "same name as an earlier member (names are compared without case)", false;
    if (extractToMemory(&data, &size, e.name.c_str(), o.archive.c_str(),
                        o.havePassword ? o.password.c_str() : nullptr))
        return true;
    reason = lastFailureReason();
    if (reason.empty()) reason = "not extracted";
    return false;
}

// The stored name's parts; a backslash separates them like a slash.
std::vector<std::string> nameParts(const std::string& name)
{
    std::vector<std::string> parts(1);
    for (char c : name) {
        if (c == '/' || c == '\\')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

// Opens (creating as needed) the directories of `parts` below dirFd, refusing to
// follow a symbolic link on the way out of the extraction directory.
int openSubdirectory(int dirFd, const std::vector<std::string>& parts, std::size_t count)
{
    int fd = ::dup(dirFd);
    for (std::size_t i = 0; i < count && fd >= 0; ++i) {
        if (::mkdirat(fd, parts[i].c_str(), 0755) != 0 && errno != EEXIST) {
            ::close(fd);
            return -1;
        }
        const int next = ::openat(fd, parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        ::close(fd);
        fd = next;
    }
    return fd;
}

bool writeMember(int rootFd, const Options& o, const Entry& e, const std::uint8_t* data, std::uint32_t size,
                 std::string& reason)
{
    const std::vector<std::string> parts = nameParts(e.name);
    const std::size_t dirs = e.isDirectory() ? parts.size() : parts.size() - 1;
    const int dirFd = openSubdirectory(rootFd, parts, dirs);
    if (dirFd < 0) return reason = std::string("cannot create its directory: ") + std::strerror(errno), false;
    if (e.isDirectory()) return ::close(dirFd), true;
    const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | (o.force ? O_TRUNC : O_EXCL);
    const int fd = ::openat(dirFd, parts.back().c_str(), flags, 0644);
    ::close(dirFd);
    if (fd < 0 && errno == EEXIST) return reason = "exists, not overwritten (--force replaces it)", false;
    if (fd < 0) return reason = std::string("cannot create it: ") + std::strerror(errno), false;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0 || done != size)
        return reason = std::string("write failed: ") + std::strerror(errno), false;
    return true;
}

int openExtractionDirectory(const std::string& dir)
{
    if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) return -1;
    return ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

}  // namespace

void printError(const std::string& message) { std::fprintf(stderr, "rarpack: %s\n", message.c_str()); }

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& data, std::string& error)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return error = "cannot read '" + path + "': " + std::strerror(errno), false;
    data.clear();
    std::uint8_t buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.insert(data.end(), buffer, buffer + n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return error = "cannot read '" + path + "'", false;
    return true;
}

int runList(const Options& o)
{
    Listing listing;
    if (!loadListing(o, listing)) return 1;
    std::printf("%s%s\n", o.archive.c_str(), listing.solid ? " (solid)" : "");
    std::printf("%-32s %10s %10s %7s  %-7s %-8s %s\n", "name", "size", "packed", "ratio", "method", "crc",
                "flags");
    for (const Entry& e : listing.entries) {
        const double ratio = e.size ? 100.0 * e.packedSize / e.size : 100.0;
        std::printf("%-32s %10u %10u %6.1f%%  %-7s %08x %s%s%s\n", e.name.c_str(), e.size, e.packedSize,
                    ratio, methodName(e), e.crc, e.isEncrypted() ? "encrypted " : "",
                    e.isDirectory() ? "dir " : "", e.headerCrcOk ? "" : "header-crc-bad");
    }
    return 0;
}

int runTest(const Options& o)
{
    Listing listing;
    if (!loadListing(o, listing)) return 1;
    if (listing.entries.empty()) return printError(o.archive + ": no members"), 1;
    std::set<std::string> seen;
    const int failed = forEachMember(
        listing, [&](const Entry& e, std::uint8_t*& data, std::uint32_t& size, std::string& reason) {
            if (!extractMember(o, e, seen, data, size, reason)) return false;
            std::printf("OK %s\n", e.name.c_str());
            return true;
        });
    return failed ? 1 : 0;
}

int runExtract(const Options& o)
{
    Listing listing;
    if (!loadListing(o, listing)) return 1;
    const int rootFd = openExtractionDirectory(o.directory);
    if (rootFd < 0)
        return printError("cannot open directory '" + o.directory + "': " + std::strerror(errno)), 1;
    std::set<std::string> seen;
    const int failed = forEachMember(
        listing, [&](const Entry& e, std::uint8_t*& data, std::uint32_t& size, std::string& reason) {
            bool ok = isSafeMemberName(e.name);
            if (!ok) reason = "unsafe name (absolute or with '..'), skipped";
            ok = ok && (e.isDirectory() || extractMember(o, e, seen, data, size, reason)) &&
                 writeMember(rootFd, o, e, data, size, reason);
            if (ok && !o.quiet) std::printf("%s %s\n", o.force ? "wrote" : "extracted", e.name.c_str());
            return ok;
        });
    ::close(rootFd);
    return failed ? 1 : 0;
}

}  // namespace rarpack::cli
