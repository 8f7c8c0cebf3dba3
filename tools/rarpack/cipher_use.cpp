// CRC-32 and the RAR 2.0 block cipher come from the archive format, so the packer
// and the reader can never disagree about them; the packer keeps its own tables
// and keys and leaves the reader's state alone.
#include "internal.h"

#include "archive/rar_format.h"

namespace rarpack::detail {
namespace {

// Built once, read only afterwards.
const rarformat::CrcTables& crcTables()
{
    static const rarformat::CrcTables tables = [] {
        rarformat::CrcTables built;
        rarformat::buildCrcTables(built);
        return built;
    }();
    return tables;
}

}  // namespace

std::uint32_t crc32Of(const std::uint8_t* bytes, std::size_t count, std::uint32_t crc)
{
    return rarformat::crc32Update(crcTables(), crc, bytes, count);
}

void encipherData(const std::string& password, std::uint8_t* bytes, std::size_t count)
{
    rarformat::CipherState cipher;
    rarformat::initCipher(cipher, crcTables(), password.c_str());
    for (std::size_t at = 0; at + rarformat::cipherBlockSize <= count; at += rarformat::cipherBlockSize)
        rarformat::encipherBlock(cipher, crcTables(), bytes + at);
}

}  // namespace rarpack::detail
