// The archive writer: marker, main header, one file header and its packed data
// per member, and the end-of-archive block. Headers carry the low 16 bits of the
// complemented CRC-32 of everything behind the CRC field.
#include "internal.h"
#include "rarpack.h"

#include "archive/rar_format.h"

#include <cctype>
#include <set>

namespace rarpack {
namespace {

using detail::StreamState;

// The format's blocks, flags and fields are in archive/rar_format.h; these are
// what only the writer decides.
constexpr std::size_t maxNameBytes = 255, maxPasswordBytes = rarformat::passwordSize - 1;
constexpr std::uint64_t maxFileSize = 0x7FFFFFFF;  // the decoder counts bytes in a signed 32-bit value

// Appends a block header of `size` bytes, zeros behind its common head, and returns
// where it starts.
std::size_t openBlock(std::vector<std::uint8_t>& out, std::uint8_t type, std::uint16_t flags,
                      std::size_t size)
{
    const std::size_t at = out.size();
    out.resize(at + size, 0);
    rarformat::BlockHead head;
    head.type = type;
    head.flags = flags;
    head.headSize = static_cast<std::uint16_t>(size);
    rarformat::encodeBlockHead(head, out.data() + at);
    return at;
}

// The head's CRC field, written last: it covers every byte of the header behind it.
void sealBlock(std::vector<std::uint8_t>& out, std::size_t at, std::size_t size)
{
    rarformat::BlockHead head;
    rarformat::decodeBlockHead(out.data() + at, head);
    head.crc = static_cast<std::uint16_t>(~detail::crc32Of(out.data() + at + 2, size - 2) & 0xFFFF);
    rarformat::encodeBlockHead(head, out.data() + at);
}

bool checkInput(const std::vector<Member>& members, const PackOptions& options, std::string& error)
{
    if (options.password.size() > maxPasswordBytes || options.password.find('\0') != std::string::npos) {
        error = "the password must be at most 255 bytes without NUL characters";
        return false;
    }
    if (options.effort < 1 || options.effort > 9) {
        error = "the effort must be 1 to 9";
        return false;
    }
    std::set<std::string> seen;
    for (const Member& m : members) {
        if (!isSafeMemberName(m.name) || m.name.size() > maxNameBytes) {
            error = "bad member name '" + m.name + "' (relative, at most 255 bytes, no '..' parts)";
            return false;
        }
        if (!seen.insert(memberKey(m.name)).second) {
            error = "member name '" + m.name + "' appears twice (names are compared without case)";
            return false;
        }
        if (m.data.size() > maxFileSize) {
            error = "'" + m.name + "' is too large (at most 2 GiB - 1 per member)";
            return false;
        }
    }
    return true;
}

std::size_t paddedSize(std::size_t size, bool encrypted)
{
    return encrypted ? (size + rarformat::cipherBlockSize - 1) / rarformat::cipherBlockSize *
                           rarformat::cipherBlockSize
                     : size;
}

struct PackedMember {
    std::vector<std::uint8_t> data;
    bool stored = true;
    bool continues = false;
};

// Compresses when it pays; a stored member leaves the solid stream untouched.
PackedMember packMember(const Member& m, const PackOptions& options, StreamState& stream,
                        MemberReport& report, const std::function<void(std::size_t)>& progress)
{
    PackedMember result;
    const bool encrypted = !options.password.empty();
    if (!options.storeOnly && !m.data.empty()) {
        StreamState trial;
        if (options.solid)
            trial = stream;
        else
            detail::startStream(trial, options.effort);
        const bool continues = options.solid && trial.started;
        detail::StreamStats stats;
        std::vector<std::uint8_t> packed;
        detail::encodeFile(trial, m.data.data(), m.data.size(), packed, stats, &progress);
        if (paddedSize(packed.size(), encrypted) < paddedSize(m.data.size(), encrypted)) {
            if (options.solid) stream = std::move(trial);
            result = {std::move(packed), false, continues};
            report.audioBytes = stats.audioBytes;
            report.audioChannels = stats.audioChannels;
            report.tableCount = stats.tableCount;
        }
    }
    if (result.stored) {
        result.data = m.data;
        result.continues = options.solid && stream.started;
    }
    if (encrypted) {
        result.data.resize(paddedSize(result.data.size(), true), 0);
        detail::encipherData(options.password, result.data.data(), result.data.size());
    }
    return result;
}

std::uint8_t methodFor(const PackedMember& p, int effort)
{
    if (p.stored) return rarformat::methodStored;
    return static_cast<std::uint8_t>(effort <= 3 ? 0x33 : effort <= 6 ? 0x34 : 0x35);
}

void writeFileHeader(std::vector<std::uint8_t>& out, const Member& m, const PackedMember& p,
                     const PackOptions& options)
{
    rarformat::FileHeader h;
    h.head.type = rarformat::typeFile;
    h.head.flags = rarformat::flagHasData | rarformat::flagDictionary1M;
    if (!options.password.empty()) h.head.flags |= rarformat::flagEncrypted;
    if (p.continues) h.head.flags |= rarformat::flagContinuesSolid;
    const std::size_t size = rarformat::fileHeaderSize + m.name.size();
    h.head.headSize = static_cast<std::uint16_t>(size);
    h.packSize = static_cast<std::uint32_t>(p.data.size());
    h.unpSize = static_cast<std::uint32_t>(m.data.size());
    h.hostOs = rarformat::hostUnix;
    h.fileCrc = ~detail::crc32Of(m.data.data(), m.data.size());
    h.fileTime = m.dosTime;
    h.unpVer = rarformat::unpackVersion20;
    h.method = methodFor(p, options.effort);
    h.nameSize = static_cast<std::uint16_t>(m.name.size());
    h.attributes = m.attributes;
    const std::size_t at = out.size();
    out.resize(at + size, 0);
    rarformat::encodeFileHeader(h, out.data() + at);
    std::copy(m.name.begin(), m.name.end(),
              out.begin() + static_cast<std::ptrdiff_t>(at + rarformat::fileHeaderSize));
    sealBlock(out, at, size);
}

void writeArchiveStart(std::vector<std::uint8_t>& out, bool solid)
{
    out.assign(rarformat::rarMarker, rarformat::rarMarker + rarformat::markerSize);
    const std::uint16_t flags = solid ? rarformat::mainFlagSolid : 0;
    const std::size_t at = openBlock(out, rarformat::typeMain, flags, rarformat::mainHeaderSize);
    sealBlock(out, at, rarformat::mainHeaderSize);
}

void writeArchiveEnd(std::vector<std::uint8_t>& out)
{
    const std::size_t at =
        openBlock(out, rarformat::typeEnd, rarformat::endBlockFlags, rarformat::blockHeadSize);
    sealBlock(out, at, rarformat::blockHeadSize);
}

}  // namespace

bool packArchive(const std::vector<Member>& members, const PackOptions& options,
                 std::vector<std::uint8_t>& archive, std::vector<MemberReport>& reports, std::string& error,
                 const Progress& progress)
{
    archive.clear();
    reports.clear();
    if (!checkInput(members, options, error)) return false;
    std::uint64_t total = 0, done = 0;
    for (const Member& m : members) total += m.data.size();
    StreamState stream;
    detail::startStream(stream, options.effort);
    writeArchiveStart(archive, options.solid);
    for (const Member& m : members) {
        MemberReport report;
        const std::function<void(std::size_t)> step = [&](std::size_t n) {
            if (progress) progress(done + n, total);
        };
        const PackedMember packed = packMember(m, options, stream, report, step);
        writeFileHeader(archive, m, packed, options);
        archive.insert(archive.end(), packed.data.begin(), packed.data.end());
        done += m.data.size();
        if (progress) progress(done, total);
        report.name = m.name;
        report.size = m.data.size();
        report.packedSize = packed.data.size();
        report.stored = packed.stored;
        reports.push_back(report);
    }
    writeArchiveEnd(archive);
    return true;
}

}  // namespace rarpack
