// The shared format module: file headers survive encode and decode at the right
// offsets, and the cipher on a state of its own agrees with the reader's.
#include <gtest/gtest.h>

#include <cstring>

#include "archive/rar_format.h"
#include "archive/reader_internal.h"

namespace {

TEST(RarFormat, FileHeaderRoundTripKeepsEveryByteInPlace)
{
    // Distinct bytes: a field read from or written to the wrong offset or width
    // shows up as a changed byte.
    std::uint8_t bytes[rarformat::fileHeaderSize];
    for (std::size_t i = 0; i < sizeof bytes; ++i) bytes[i] = std::uint8_t(0xA0 + i);
    rarformat::FileHeader header;
    rarformat::decodeFileHeader(bytes, header);
    EXPECT_EQ(header.head.type, 0xA2);
    EXPECT_EQ(header.packSize, 0xAAA9A8A7u);
    EXPECT_EQ(header.head.dataSize, header.packSize);
    EXPECT_EQ(header.nameSize, 0xBBBA);
    EXPECT_EQ(header.attributes, 0xBFBEBDBCu);

    std::uint8_t again[rarformat::fileHeaderSize] = {};
    rarformat::encodeFileHeader(header, again);
    EXPECT_EQ(std::memcmp(bytes, again, sizeof bytes), 0);
}

TEST(RarFormat, CipherOnItsOwnStateMatchesTheReaderAndLeavesItAlone)
{
    rarformat::CrcTables crc;
    rarformat::buildCrcTables(crc);
    rarformat::CipherState mine;
    rarformat::initCipher(mine, crc, "gletscha");

    rarreader::buildCrcTable();
    rarreader::initCipher("gletscha");
    const rarformat::CipherState readerBefore = rarreader::reader.crypto.cipher;

    std::uint8_t data[48];
    for (std::size_t i = 0; i < sizeof data; ++i) data[i] = std::uint8_t(i * 7);
    std::uint8_t plain[sizeof data];
    std::memcpy(plain, data, sizeof data);
    for (std::size_t at = 0; at < sizeof data; at += rarformat::cipherBlockSize)
        rarformat::encipherBlock(mine, crc, data + at);
    EXPECT_EQ(std::memcmp(&readerBefore, &rarreader::reader.crypto.cipher, sizeof readerBefore), 0);

    for (std::size_t at = 0; at < sizeof data; at += rarformat::cipherBlockSize)
        rarreader::decipherBlock(data + at);
    EXPECT_EQ(std::memcmp(plain, data, sizeof data), 0);
}

}  // namespace
