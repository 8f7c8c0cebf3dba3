// Hand-made archives and streams for the reader's tests, and the test entry, which
// points the temporary directory (and so the debug log) at a scratch directory.
#include "test_archive.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "archive/rarreader.h"
#include "archive/reader_internal.h"
#include "little_endian.h"

namespace testrar {

std::uint32_t crc32(const Bytes& bytes)
{
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::uint8_t b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string readText(const std::string& path)
{
    const Bytes b = readFile(path);
    return std::string(b.begin(), b.end());
}

// Read as text: the lines as a reader of the log sees them (Windows writes CR LF).
std::string debugLog()
{
    std::ifstream in(scratchDir() + "/debug_rarreader.txt");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {

// The log's last `count` bytes, as written (CR LF on Windows).
std::string logTail(std::size_t count, std::size_t& size)
{
    std::ifstream in(scratchDir() + "/debug_rarreader.txt", std::ios::binary | std::ios::ate);
    size = in ? std::size_t(in.tellg()) : 0;
    std::string tail(std::min(count, size), '\0');
    in.seekg(std::streamoff(size - tail.size()));
    in.read(tail.data(), std::streamsize(tail.size()));
    return tail;
}

}  // namespace

// Read from the log's end: the log holds every call of the process.
std::vector<std::string> lastCallMessages()
{
    const std::string marker = "\n              - ";
    std::string log;
    std::size_t at = std::string::npos;
    for (std::size_t tail = 16384, size = 0; at == std::string::npos; tail *= 4) {
        log = logTail(tail, size);
        at = log.rfind(marker + "Extracting >");
        if (tail >= size) break;
    }
    std::vector<std::string> messages;
    for (; at != std::string::npos; at = log.find(marker, at + 1)) {
        const std::size_t start = at + marker.size(), end = log.find('\n', start);
        std::string message = log.substr(start, end - start);
        if (!message.empty() && message.back() == '\r') message.pop_back();
        messages.push_back(message);
    }
    return messages;
}

void writeFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

const std::string& scratchDir()
{
    static const std::string dir = [] {
        char pattern[] = "/tmp/zw-archive-test-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return dir;
}

std::string fixture(const std::string& name) { return std::string(ZW_RAR_FIXTURES) + "/" + name; }

Member storedMember(const std::string& name, const Bytes& content)
{
    Member m;
    m.name = name;
    m.packed = content;
    m.unpSize = std::uint32_t(content.size());
    m.crc = crc32(content);
    return m;
}

Member packedMember(const std::string& name, const Bytes& packed, const Bytes& content, bool continues)
{
    Member m = storedMember(name, content);
    m.packed = packed;
    m.method = 0x33;
    if (continues) m.flags |= rarformat::flagContinuesSolid;
    return m;
}

Bytes encipher(Bytes data, const char* password)
{
    rarreader::buildCrcTable();
    rarreader::initCipher(password);
    data.resize((data.size() + 15) / 16 * 16, 0);
    for (std::size_t i = 0; i < data.size(); i += 16) rarreader::encipherBlock(data.data() + i);
    return data;
}

Member encryptedStoredMember(const std::string& name, const Bytes& content, const char* password)
{
    Member m = storedMember(name, content);
    m.packed = encipher(content, password);
    m.flags |= rarformat::flagEncrypted;
    return m;
}

namespace {

// A header of `size` bytes that starts with `head`, zeros behind it.
Bytes blockHeader(std::uint8_t type, std::uint16_t flags, std::size_t size)
{
    rarformat::BlockHead head;
    head.type = type;
    head.flags = flags;
    head.headSize = std::uint16_t(size);
    Bytes b(size, 0);
    rarformat::encodeBlockHead(head, b.data());
    return b;
}

// The head's CRC field: the low 16 bits of the complemented CRC-32 of the rest.
void sealHeader(Bytes& header, bool breakCrc = false)
{
    rarformat::BlockHead head;
    rarformat::decodeBlockHead(header.data(), head);
    head.crc = std::uint16_t(crc32(Bytes(header.begin() + 2, header.end())) ^ (breakCrc ? 1 : 0));
    rarformat::encodeBlockHead(head, header.data());
}

Bytes fileHeader(const Member& m)
{
    rarformat::FileHeader f;
    f.head.type = rarformat::typeFile;
    f.head.flags = m.flags;
    f.head.headSize = std::uint16_t(rarformat::fileHeaderSize + m.name.size());
    f.packSize = std::uint32_t(m.declaredPackSize >= 0 ? std::uint64_t(m.declaredPackSize) : m.packed.size());
    f.unpSize = m.unpSize;
    f.hostOs = 2;
    f.fileCrc = m.crc;
    f.unpVer = m.unpVer;
    f.method = m.method;
    f.nameSize = std::uint16_t(m.name.size());
    f.attributes = 0x20;
    Bytes h(rarformat::fileHeaderSize, 0);
    rarformat::encodeFileHeader(f, h.data());
    h.insert(h.end(), m.name.begin(), m.name.end());
    sealHeader(h, m.breakHeaderCrc);
    return h;
}

}  // namespace

Bytes rawBlock(std::uint8_t type, const Bytes& data)
{
    Bytes b = blockHeader(type, rarformat::flagHasData, rarformat::blockHeadSize + 4);  // with the data size
    put32(b, rarformat::blockHeadSize, std::uint32_t(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

Bytes buildArchive(const ArchiveLayout& layout)
{
    Bytes a = layout.marker;
    const Bytes main = blockHeader(rarformat::typeMain, layout.solid ? rarformat::mainFlagSolid : 0,
                                   rarformat::mainHeaderSize);
    a.insert(a.end(), main.begin(), main.end());
    a.insert(a.end(), layout.blocksBefore.begin(), layout.blocksBefore.end());
    for (const Member& m : layout.members) {
        const Bytes h = fileHeader(m);
        a.insert(a.end(), h.begin(), h.end());
        a.insert(a.end(), m.packed.begin(), m.packed.end());
    }
    Bytes end = blockHeader(rarformat::typeEnd, rarformat::endBlockFlags, rarformat::blockHeadSize);
    sealHeader(end);
    a.insert(a.end(), end.begin(), end.end());
    return a;
}

std::string saveArchive(const std::string& name, const Bytes& archive)
{
    const std::string path = scratchDir() + "/" + name;
    writeFile(path, archive);
    return path;
}

namespace {

// Runs one call through `call` and checks the contract on a failure.
template <typename Call>
Extraction runExtraction(Call call)
{
    Extraction e;
    std::uint8_t* data = nullptr;
    std::uint32_t size = 12345;
    e.result = call(&data, &size);
    if (data) e.bytes.assign(data, data + size);
    if (!e.result) {
        EXPECT_EQ(data, nullptr);
        EXPECT_EQ(size, 0u);
    }
    std::free(data);
    e.lastMessage = lastReaderMessage();
    if (!e.result) e.failure = lastExtractFailure();
    return e;
}

}  // namespace

Extraction extract(const std::string& archivePath, const std::string& name, const char* password)
{
    return runExtraction([&](std::uint8_t** data, std::uint32_t* size) {
        return extractToMemory(data, size, name.c_str(), archivePath.c_str(), password);
    });
}

Extraction extractImage(const Bytes& image, const std::string& name, const char* password)
{
    return runExtraction([&](std::uint8_t** data, std::uint32_t* size) {
        return rarreader::extractFromMemory(data, size, name.c_str(), image.data(), image.size(), password);
    });
}

void BitWriter::put(std::uint32_t value, unsigned bits)
{
    for (unsigned i = bits; i-- > 0;) {
        acc_ = (acc_ << 1) | ((value >> i) & 1);
        if (++used_ == 8) {
            bytes_.push_back(std::uint8_t(acc_));
            acc_ = 0;
            used_ = 0;
        }
    }
}

Bytes BitWriter::finish()
{
    while (used_ != 0) put(0, 1);
    Bytes out = bytes_;
    out.resize(out.size() + 8, 0);
    return out;
}

Code::Code(std::vector<std::uint8_t> lengthsIn) : lengths(std::move(lengthsIn)), codes(lengths.size())
{
    std::uint32_t code = 0;
    for (unsigned len = 1; len < 16; ++len) {
        for (std::size_t s = 0; s < lengths.size(); ++s)
            if (lengths[s] == len) codes[s] = code++;
        code <<= 1;
    }
}

void Code::put(BitWriter& w, unsigned symbol) const { w.put(codes.at(symbol), lengths.at(symbol)); }

// Every bit-length symbol gets 5 bits; each length goes as its difference to the
// previous one, with no runs.
void putTables(BitWriter& w, const std::vector<std::uint8_t>& lengths, unsigned audioChannels,
               bool keepPrevious, const std::vector<std::uint8_t>& previous)
{
    w.put(audioChannels ? 1 : 0, 1);
    w.put(keepPrevious ? 1 : 0, 1);
    if (audioChannels) w.put(audioChannels - 1, 2);
    for (int i = 0; i < 19; ++i) w.put(5, 4);
    const Code bitLengths(std::vector<std::uint8_t>(19, 5));
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        const unsigned before = keepPrevious && i < previous.size() ? previous[i] : 0;
        bitLengths.put(w, (lengths[i] - before) & 15);
    }
}

}  // namespace testrar

int main(int argc, char** argv)
{
    ::setenv("TMPDIR", testrar::scratchDir().c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(testrar::scratchDir(), ignored);
    return result;
}
