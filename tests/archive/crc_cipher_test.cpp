// CRC-32 and the block cipher, checked against their defining properties.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "archive/reader_internal.h"

using namespace rarreader;

namespace {

TEST(Crc32, KnownValuesAndEmptyInput)
{
    buildCrcTable();
    const auto* digits = reinterpret_cast<const std::uint8_t*>("123456789");
    EXPECT_EQ(~crc32Update(0xFFFFFFFF, digits, 9), 0xCBF43926u);
    EXPECT_EQ(crc32Update(0xFFFFFFFF, digits, 0), 0xFFFFFFFFu);  // an empty file's CRC is 0
    EXPECT_EQ(crc32Update(0x12345678, nullptr, 0), 0x12345678u);
    // In pieces as in one go.
    const std::uint32_t split = crc32Update(crc32Update(0xFFFFFFFF, digits, 4), digits + 4, 5);
    EXPECT_EQ(~split, 0xCBF43926u);
}

TEST(Crc32, EveryLengthAndAlignmentAsOneByteAtATime)
{
    // Runs go 8 bytes at a time, the rest byte by byte: both must agree, from any
    // running value.
    buildCrcTable();
    std::uint8_t bytes[1100];
    std::uint32_t seed = 11;
    for (auto& b : bytes) b = std::uint8_t((seed = seed * 1103515245 + 12345) >> 24);
    for (std::size_t start = 0; start < 20; ++start)
        for (std::size_t count = 0; start + count <= sizeof bytes; count += 1 + count / 8) {
            const std::uint32_t preset = start % 2 ? 0xFFFFFFFF : (seed = seed * 1103515245 + 12345);
            std::uint32_t single = preset;
            for (std::size_t i = 0; i < count; ++i) single = crc32Update(single, bytes + start + i, 1);
            ASSERT_EQ(crc32Update(preset, bytes + start, count), single) << start << " " << count;
        }
}

struct Keys {
    std::uint32_t k[4];
    bool operator==(const Keys& o) const { return std::memcmp(k, o.k, sizeof k) == 0; }
};
Keys keysNow()
{
    return Keys{{reader.crypto.cipher.keys[0], reader.crypto.cipher.keys[1], reader.crypto.cipher.keys[2],
                 reader.crypto.cipher.keys[3]}};
}
void setKeys(const Keys& keys) { std::memcpy(reader.crypto.cipher.keys, keys.k, sizeof keys.k); }

TEST(Cipher, DecipherUndoesEncipherAndKeepsKeysInStep)
{
    buildCrcTable();
    initCipher("gletscha");
    const Keys start = keysNow();
    std::uint8_t block[16], original[16];
    for (int i = 0; i < 16; ++i) original[i] = block[i] = std::uint8_t(i * 37 + 5);
    encipherBlock(block);
    const Keys afterEncipher = keysNow();
    EXPECT_NE(std::memcmp(block, original, 16), 0);
    EXPECT_FALSE(afterEncipher == start);
    setKeys(start);
    decipherBlock(block);
    EXPECT_EQ(std::memcmp(block, original, 16), 0);
    EXPECT_TRUE(keysNow() == afterEncipher);
}

TEST(Cipher, BlocksChainThroughTheKeys)
{
    buildCrcTable();
    initCipher("password");
    const Keys start = keysNow();
    std::uint8_t data[64], original[64];
    for (int i = 0; i < 64; ++i) original[i] = data[i] = std::uint8_t(i);
    for (int b = 0; b < 4; ++b) encipherBlock(data + 16 * b);
    // The same plain block enciphers differently at another place of the stream.
    std::uint8_t again[16];
    std::memcpy(again, original, 16);
    encipherBlock(again);
    EXPECT_NE(std::memcmp(again, data, 16), 0);
    // Deciphered in two runs of whole blocks: the same as in one.
    setKeys(start);
    for (int b = 0; b < 2; ++b) decipherBlock(data + 16 * b);
    for (int b = 2; b < 4; ++b) decipherBlock(data + 16 * b);
    EXPECT_EQ(std::memcmp(data, original, 64), 0);
}

// The keys of a password: the start keys moved by enciphering the zero-padded
// password once per started 16 bytes, under the password's substitution table.
Keys expectedKeys(const std::string& password, int blocks)
{
    initCipher(password.c_str());
    setKeys(Keys{{0xD3A3B879, 0x3F6D12F7, 0x7515A235, 0xA4E7F123}});
    std::uint8_t p[512] = {};
    std::memcpy(p, password.data(), password.size());
    for (int b = 0; b < blocks; ++b) encipherBlock(p + 16 * b);
    return keysNow();
}

TEST(Cipher, PasswordBlocksMoveTheKeys)
{
    buildCrcTable();
    const std::string sixteen = "abcdefghijklmnop", seventeen = sixteen + "q";
    struct Case {
        std::string password;
        int blocks;
    } cases[] = {{"", 0}, {"a", 1}, {sixteen, 1}, {seventeen, 2}, {std::string(255, 'z'), 16}};
    for (const Case& c : cases) {
        initCipher(c.password.c_str());
        const Keys actual = keysNow();
        EXPECT_TRUE(actual == expectedKeys(c.password, c.blocks)) << c.password.size();
        EXPECT_FALSE(actual == expectedKeys(c.password, c.blocks + 1)) << c.password.size();
    }
}

}  // namespace
