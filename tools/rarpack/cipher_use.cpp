// CRC-32 and the RAR 2.0 block cipher come from the archive reader, so the packer
// and the reader can never disagree about them.
#include "internal.h"

#include "archive/reader_internal.h"

namespace rarpack::detail {
namespace {

constexpr std::size_t kCipherBlock = 16;

void ensureCrcTable()
{
    static bool built = false;
    if (!built) rarreader::buildCrcTable();
    built = true;
}

}  // namespace

std::uint32_t crc32Of(const std::uint8_t* bytes, std::size_t count, std::uint32_t crc)
{
    // The reader rebuilds the same table on every call, so building it once here
    // and sharing it stays correct.
    ensureCrcTable();
    return rarreader::crc32Update(crc, bytes, count);
}

void encipherData(const std::string& password, std::uint8_t* bytes, std::size_t count)
{
    ensureCrcTable();
    rarreader::initCipher(password.c_str());
    for (std::size_t at = 0; at + kCipherBlock <= count; at += kCipherBlock) rarreader::encipherBlock(bytes + at);
}

}  // namespace rarpack::detail
