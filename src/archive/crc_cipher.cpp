// CRC-32 and the RAR 2.0 block cipher on explicit state, and readPacked, the
// reader's single gate for packed data (it deciphers as it reads, with the keys in
// the reader's process-wide state).
//
// Format notes:
// - The CRC is the reflected CRC-32 of zip and PNG (polynomial 0xEDB88320); callers
//   preset 0xFFFFFFFF and compare the complement.
// - The cipher works on 16-byte blocks of four little-endian words, 32 Feistel rounds
//   through a password-shuffled substitution table; after every block the keys absorb
//   the enciphered bytes, so blocks must be deciphered in stream order.
#include "archive/rar_format.h"
#include "archive/reader_internal.h"

#include <algorithm>
#include <iterator>
#include <cstring>

// Nothing in CRC-32 and the cipher branches on an archive's bytes: their loops run
// fixed counts and the shuffle follows the password alone. A fuzzer learns nothing
// from tracing their comparisons, which would cost it a fifth of a run for the
// shuffle and an eighth for the rounds and the CRC.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((no_sanitize("coverage"))), apply_to = function)
#endif

namespace rarformat {
namespace {

std::uint32_t rotl(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

// Each byte of the word goes through the substitution table.
std::uint32_t substitute(const CipherState& cipher, std::uint32_t x)
{
    const std::uint8_t* s = cipher.sbox;
    return std::uint32_t(s[x & 0xFF]) | std::uint32_t(s[(x >> 8) & 0xFF]) << 8 |
           std::uint32_t(s[(x >> 16) & 0xFF]) << 16 | std::uint32_t(s[x >> 24]) << 24;
}

// One round: (A, B, C, D) becomes (C, D, A ^ F1(C, D), B ^ F2(C, D)).
void cipherRound(const CipherState& cipher, std::uint32_t w[4], int r)
{
    const std::uint32_t key = cipher.keys[r & 3];
    const std::uint32_t c = w[2], d = w[3];
    const std::uint32_t f1 = substitute(cipher, (c + rotl(d, 11)) ^ key);
    const std::uint32_t f2 = substitute(cipher, (d ^ rotl(c, 17)) + key);
    const std::uint32_t a = w[0], b = w[1];
    w[0] = c;
    w[1] = d;
    w[2] = a ^ f1;
    w[3] = b ^ f2;
}

// Both directions load the words whitened by the keys and store them crosswise.
void loadBlock(const CipherState& cipher, const std::uint8_t* block, std::uint32_t w[4])
{
    for (int i = 0; i < 4; ++i) w[i] = le32(block + 4 * i) ^ cipher.keys[i];
}

void storeBlock(const CipherState& cipher, std::uint8_t* block, const std::uint32_t w[4])
{
    put32(block + 0, w[2] ^ cipher.keys[0]);
    put32(block + 4, w[3] ^ cipher.keys[1]);
    put32(block + 8, w[0] ^ cipher.keys[2]);
    put32(block + 12, w[1] ^ cipher.keys[3]);
}

// The published start table of the substitution, shuffled by the password.
constexpr std::uint8_t initialSbox[256] = {
    0xD7, 0x13, 0x95, 0x23, 0x49, 0xC5, 0xC0, 0xCD, 0xF9, 0x1C, 0x10, 0x77, 0x30, 0xDD, 0x02, 0x2A,
    0xE8, 0x01, 0xB1, 0xE9, 0x0E, 0x58, 0xDB, 0x19, 0xDF, 0xC3, 0xF4, 0x5A, 0x57, 0xEF, 0x99, 0x89,
    0xFF, 0xC7, 0x93, 0x46, 0x5C, 0x42, 0xF6, 0x0D, 0xD8, 0x28, 0x3E, 0x1D, 0xD9, 0xE6, 0x56, 0x06,
    0x47, 0x18, 0xAB, 0xC4, 0x65, 0x71, 0xDA, 0x7B, 0x5D, 0x5B, 0xA3, 0xB2, 0xCA, 0x43, 0x2C, 0xEB,
    0x6B, 0xFA, 0x4B, 0xEA, 0x31, 0xA7, 0x7D, 0xD3, 0x53, 0x72, 0x9D, 0x90, 0x20, 0xC1, 0x8F, 0x24,
    0x9E, 0x7C, 0xF7, 0xBB, 0x59, 0xD6, 0x8D, 0x2F, 0x79, 0xE4, 0x3D, 0x82, 0xD5, 0xC2, 0xAE, 0xFB,
    0x61, 0x6E, 0x36, 0xE5, 0x73, 0x39, 0x98, 0x5E, 0x69, 0xF3, 0xD4, 0x37, 0xD1, 0xF5, 0x3F, 0x0B,
    0xA4, 0xC8, 0x1F, 0x9C, 0x51, 0xB0, 0xE3, 0x15, 0x4C, 0x63, 0x8B, 0xBC, 0x7F, 0x11, 0xF8, 0x33,
    0xCF, 0x78, 0xBD, 0xD2, 0x08, 0xE2, 0x29, 0x48, 0xB7, 0xCB, 0x87, 0xA5, 0xA6, 0x3C, 0x62, 0x07,
    0x7A, 0x26, 0x9B, 0xAA, 0x45, 0xAC, 0xFC, 0xEE, 0x27, 0x86, 0x3B, 0x80, 0xEC, 0x1B, 0xF0, 0x50,
    0x83, 0x03, 0x55, 0xCE, 0x91, 0x4F, 0x9A, 0x8E, 0x9F, 0xDC, 0xC9, 0x85, 0x4A, 0x40, 0x14, 0x81,
    0xE0, 0xB9, 0x8A, 0x67, 0xAD, 0xB6, 0x2B, 0x22, 0xFE, 0x52, 0xC6, 0x97, 0xE7, 0xB4, 0x3A, 0x0A,
    0x76, 0x1A, 0x66, 0x0C, 0x32, 0x84, 0x16, 0xBF, 0x88, 0x6F, 0xA2, 0xB3, 0x2D, 0x04, 0x94, 0x6C,
    0xA1, 0x38, 0x4E, 0x7E, 0xF2, 0xDE, 0x0F, 0xAF, 0x92, 0x17, 0x21, 0xF1, 0xB5, 0xBE, 0x4D, 0xE1,
    0x00, 0x2E, 0xA9, 0xBA, 0x44, 0x5F, 0xED, 0x41, 0x35, 0xD0, 0xFD, 0xA8, 0x09, 0x12, 0x64, 0x34,
    0x74, 0xB8, 0xA0, 0x60, 0x6D, 0x25, 0x1E, 0x6A, 0x8C, 0x68, 0x96, 0x05, 0xCC, 0x75, 0x70, 0x54,
};

constexpr std::uint32_t initialKeys[4] = {0xD3A3B879, 0x3F6D12F7, 0x7515A235, 0xA4E7F123};

// Shuffles the substitution table: for every j and every pair of password bytes,
// walk n1 towards n2, swapping entries on the way.
void shuffleSbox(CipherState& cipher, const CrcTables& crc, const std::uint8_t* p, std::size_t length)
{
    for (unsigned j = 0; j < 256; ++j) {
        for (std::size_t i = 0; i < length; i += 2) {
            unsigned n2 = crc.table[0][(p[i + 1] + j) & 0xFF] & 0xFF;
            unsigned n1 = crc.table[0][(p[i] - j) & 0xFF] & 0xFF;
            for (unsigned k = 1; n1 != n2; ++k) {
                std::swap(cipher.sbox[n1], cipher.sbox[(n1 + i + k) & 0xFF]);
                n1 = (n1 + 1) & 0xFF;
            }
        }
    }
}

}  // namespace

// Table 0, entry i: i shifted right eight times, folding in the polynomial whenever
// a 1 drops out. Table k: the CRC of byte i followed by k zero bytes, that is table
// 0's entry taken k more bytes along.
void buildCrcTables(CrcTables& crc)
{
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
        crc.table[0][i] = c;
    }
    for (std::size_t k = 1; k < crcSliceSize; ++k)
        for (std::uint32_t i = 0; i < 256; ++i) {
            const std::uint32_t before = crc.table[k - 1][i];
            crc.table[k][i] = (before >> 8) ^ crc.table[0][before & 0xFF];
        }
}

namespace {

// The CRC of a word's four bytes when `zerosAfter` more bytes follow them.
std::uint32_t foldWord(const CrcTables& crc, std::uint32_t word, unsigned zerosAfter)
{
    const auto& t = crc.table;
    return t[zerosAfter + 3][word & 0xFF] ^ t[zerosAfter + 2][(word >> 8) & 0xFF] ^
           t[zerosAfter + 1][(word >> 16) & 0xFF] ^ t[zerosAfter][word >> 24];
}

}  // namespace

// Eight bytes at a time, as two words: the running CRC folds into the first, and
// each byte goes through the table for the bytes that follow it. The rest byte by byte.
std::uint32_t crc32Update(const CrcTables& crc, std::uint32_t value, const std::uint8_t* bytes,
                          std::size_t count)
{
    for (; count >= crcSliceSize; count -= crcSliceSize, bytes += crcSliceSize)
        value = foldWord(crc, le32(bytes) ^ value, 4) ^ foldWord(crc, le32(bytes + 4), 0);
    for (; count > 0; --count) value = (value >> 8) ^ crc.table[0][(value ^ *bytes++) & 0xFF];
    return value;
}

// Keys and substitution table from a password of at most 255 characters; the
// password's 16-byte blocks are enciphered once to move the keys, then dropped.
void initCipher(CipherState& cipher, const CrcTables& crc, const char* password)
{
    std::uint8_t p[passwordSize] = {};
    const std::size_t length = strnlen(password, passwordSize - 1);
    std::memcpy(p, password, length);
    std::copy(std::begin(initialKeys), std::end(initialKeys), cipher.keys);
    std::copy(std::begin(initialSbox), std::end(initialSbox), cipher.sbox);
    shuffleSbox(cipher, crc, p, length);
    for (std::size_t i = 0; i < length; i += 16) encipherBlock(cipher, crc, p + i);
    std::memset(p, 0, sizeof p);
}

void encipherBlock(CipherState& cipher, const CrcTables& crc, std::uint8_t* block)
{
    std::uint32_t w[4];
    loadBlock(cipher, block, w);
    for (int r = 0; r < 32; ++r) cipherRound(cipher, w, r);
    storeBlock(cipher, block, w);
    mixKeys(cipher, crc, block);
}

// The rounds run backwards; the keys absorb the enciphered bytes, as when enciphering.
void decipherBlock(CipherState& cipher, const CrcTables& crc, std::uint8_t* block)
{
    std::uint8_t enciphered[16];
    std::memcpy(enciphered, block, 16);
    std::uint32_t w[4];
    loadBlock(cipher, block, w);
    for (int r = 31; r >= 0; --r) cipherRound(cipher, w, r);
    storeBlock(cipher, block, w);
    mixKeys(cipher, crc, enciphered);
}

// Folds 16 bytes into the keys through the CRC table, one byte per key per group.
void mixKeys(CipherState& cipher, const CrcTables& crc, const std::uint8_t* block)
{
    for (int g = 0; g < 16; g += 4)
        for (int k = 0; k < 4; ++k) cipher.keys[k] ^= crc.table[0][block[g + k]];
}

}  // namespace rarformat

#if defined(__clang__)
#pragma clang attribute pop
#endif

namespace rarreader {
namespace {

CryptoState& crypto = reader.crypto;

}  // namespace

// The tables never change: built on the first call only.
void buildCrcTable()
{
    if (crypto.crcBuilt) return;
    rarformat::buildCrcTables(crypto.crc);
    crypto.crcBuilt = true;
}

std::uint32_t crc32Update(std::uint32_t crc, const std::uint8_t* bytes, std::size_t count)
{
    return rarformat::crc32Update(crypto.crc, crc, bytes, count);
}

void initCipher(const char* password) { rarformat::initCipher(crypto.cipher, crypto.crc, password); }
void encipherBlock(std::uint8_t* block) { rarformat::encipherBlock(crypto.cipher, crypto.crc, block); }
void decipherBlock(std::uint8_t* block) { rarformat::decipherBlock(crypto.cipher, crypto.crc, block); }
void mixKeys(const std::uint8_t* block) { rarformat::mixKeys(crypto.cipher, crypto.crc, block); }

namespace {

// Deciphers the last block of a read that the end of the packed data cut short:
// from its own bytes and zeros behind them, never from what the buffer held
// before, so that the bytes a call makes depend on its input alone.
void decipherShortBlock(std::uint8_t* bytes, std::size_t count)
{
    std::uint8_t block[rarformat::cipherBlockSize] = {};
    std::memcpy(block, bytes, count);
    decipherBlock(block);
    std::memcpy(bytes, block, count);
}

}  // namespace

// Reads no further than the current file's packed data; whole blocks are
// deciphered in place, a short last block as its bytes and a zero fill.
long readPacked(std::uint8_t* buffer, std::size_t count)
{
    if (count == 0 || !sourceIsOpen()) return 0;
    const std::size_t want = std::size_t(std::min<std::uint64_t>(count, crypto.packedLeft));
    const std::size_t got = want ? readSource(buffer, want) : 0;
    crypto.packedLeft -= got;
    if (sourceFailed()) return -1;
    if (crypto.cipherVersion == 0) return long(got);
    if (crypto.cipherVersion < 20) {
        RAR_LOG("Old Crypt() not supported!");
        return long(got);
    }
    const std::size_t whole = got - got % rarformat::cipherBlockSize;
    for (std::size_t at = 0; at < whole; at += rarformat::cipherBlockSize) decipherBlock(buffer + at);
    if (got > whole) decipherShortBlock(buffer + whole, got - whole);
    return long(got);
}

}  // namespace rarreader
