// The archive walk on archives written by hand: name matching, stored and
// encrypted files, blocks that are passed over or refused, markers, sizes that lie.
#include <gtest/gtest.h>

#include <string>

#include "archive/reader_internal.h"
#include "test_archive.h"

using namespace testrar;

namespace {

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(NamesMatch, IgnoresCaseAndSeparators)
{
    struct Case {
        const char *a, *b;
        bool match;
    } cases[] = {
        {"berg1.bmp", "BERG1.BMP", true},
        {"exe\\test.exe", "exe/test.exe", true},
        {"a_b", "a/b", true},
        {"a\\b", "a_b", true},
        {"font.bmp", "fontm.bmp", false},
        {"font.bmp", "font.bmp ", false},
        {"", "", true},
        {"\xE4.txt", "\xC4.txt", false},
        {"a.bmp", "b.bmp", false},
    };
    for (const Case& c : cases) EXPECT_EQ(rarreader::namesMatch(c.a, c.b), c.match) << c.a << " ~ " << c.b;
}

TEST(ArchiveWalk, StoredFilesComeOutAsStored)
{
    ArchiveLayout layout;
    layout.members = {storedMember("first.txt", text("one")), storedMember("dir\\empty.txt", {}),
                      storedMember("third.bin", Bytes(70000, 0xA5))};
    const std::string path = saveArchive("stored.rar", buildArchive(layout));
    EXPECT_EQ(extract(path, "FIRST.TXT").bytes, text("one"));
    const Extraction empty = extract(path, "dir/empty.txt");
    EXPECT_EQ(empty.result, 1);
    EXPECT_TRUE(empty.bytes.empty());
    EXPECT_EQ(extract(path, "third.bin").bytes, Bytes(70000, 0xA5));
    EXPECT_EQ(lastCallMessages().back(), "Extracted 70000 Bytes.");
}

TEST(ArchiveWalk, MissingNameWalksToTheEndSilently)
{
    ArchiveLayout layout;
    layout.members = {storedMember("a", text("a"))};
    EXPECT_EQ(extract(saveArchive("missing.rar", buildArchive(layout)), "b").result, 0);
    const std::vector<std::string> messages = lastCallMessages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], "Error - couldn't extract >b< and allocated 0 Bytes of unused memory!");
}

TEST(ArchiveWalk, OtherBlocksArePassedOverSubBlocksRefused)
{
    ArchiveLayout layout;
    layout.members = {storedMember("wanted", text("here"))};
    layout.blocksBefore = rawBlock(0x75, text("a comment"));
    const Extraction passed = extract(saveArchive("comment-block.rar", buildArchive(layout)), "wanted");
    EXPECT_EQ(passed.bytes, text("here"));
    layout.blocksBefore = rawBlock(0x77, text("sub"));
    EXPECT_EQ(extract(saveArchive("sub-block.rar", buildArchive(layout)), "wanted").failure,
              ExtractFailure::subBlock);
    EXPECT_EQ(lastCallMessages().at(1), "Sorry, sub-headers not supported.");
}

// Every failure comes out as its kind, and in words for tools: the message the call
// gave up with, or "not found in the archive" for a name the walk never met (also
// when the last thing logged on the way was a damaged header).
TEST(ArchiveWalk, FailuresComeAsKindsWithTheirWords)
{
    Member oldMethod = storedMember("old", text("o"));
    oldMethod.unpVer = 29;
    Member wrongCrc = storedMember("crc", text("c"));
    wrongCrc.crc ^= 1;
    Member broken = storedMember("last", text("l"));
    broken.breakHeaderCrc = true;
    const std::string path =
        saveArchive("kinds.rar", buildArchive(std::vector<Member>{oldMethod, wrongCrc, broken}));
    const struct {
        std::string archive, name;
        ExtractFailure failure;
        const char* words;
    } cases[] = {
        {path, "absent", ExtractFailure::notFound, "not found in the archive"},
        {path, "old", ExtractFailure::unknownMethod, "unknown compression method"},
        {path, "crc", ExtractFailure::damaged, "CRC32 error - file couldn't be decompressed correctly!"},
        {path, std::string(600, 'n'), ExtractFailure::badCall,
         "Error - file name, archive path or password too long."},
        {scratchDir() + "/no-such.rar", "x", ExtractFailure::cannotOpen, "Error opening file."},
        {saveArchive("plain.rar", text("no archive at all")), "x", ExtractFailure::notRar, "Not a RAR file"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(extract(c.archive, c.name).failure, c.failure) << c.words;
        EXPECT_STREQ(lastFailureReason(), c.words);
    }
    EXPECT_EQ(extract(path, "last").bytes, text("l"));
    EXPECT_EQ(lastExtractFailure(), ExtractFailure::notRar);  // kept from the last failure
}

TEST(ArchiveWalk, KoboldMarkerStandsForTheRarMarker)
{
    ArchiveLayout layout;
    layout.marker = text("Kobold!");
    layout.members = {storedMember("m", text("mark"))};
    EXPECT_EQ(extract(saveArchive("kobold.rar", buildArchive(layout)), "m").bytes, text("mark"));
    EXPECT_EQ(extract(saveArchive("short.rar", text("Rar!")), "m").result, 0);
    EXPECT_EQ(lastCallMessages().at(1), "Not a RAR file");
}

TEST(ArchiveWalk, HugeUnpackedSizeIsRefusedNotAllocated)
{
    ArchiveLayout layout;
    layout.members = {storedMember("big", text("tiny"))};
    layout.members[0].unpSize = 0xFFFFFFF0u;
    EXPECT_EQ(extract(saveArchive("huge.rar", buildArchive(layout)), "big").failure,
              ExtractFailure::noMemory);
    EXPECT_EQ(lastCallMessages().at(1), "can't allocate memory for the file decompression");
}

TEST(ArchiveWalk, StoredFileCutShortFails)
{
    // The archive ends 60 bytes into the file: the missing bytes would read as
    // zeros, so the CRC alone can't tell; the short output fails before it.
    Bytes archive = buildArchive(std::vector<Member>{storedMember("short", Bytes(100, 0))});
    archive.erase(archive.end() - 7 - 40, archive.end());  // the end block and 40 bytes of data
    const Extraction e = extract(saveArchive("short-stored.rar", archive), "short");
    EXPECT_EQ(e.result, 0);
    EXPECT_EQ(lastCallMessages().back(),
              "Error - couldn't extract >short< and allocated 60 Bytes of unused memory!");
}

TEST(ArchiveWalk, StoredFileNeedsPackedSizeEqualToItsSize)
{
    // Enciphered, the packed data are padded to whole 16-byte blocks. A size the
    // data can't back is refused before anything is read or allocated.
    const Bytes content(40, 'q');
    const struct {
        bool encrypted;
        std::uint32_t unpSize, packSize;
        bool accepted;
    } cases[] = {
        {false, 40, 40, true},           {false, 40, 39, false},
        {false, 40, 41, false},          {true, 40, 48, true},
        {true, 40, 40, false},           {true, 40, 64, false},
        {false, 40, 0xFFFFFFF0u, false}, {false, rarreader::maxUnpackedSize, 40, false},
    };
    for (const auto& c : cases) {
        Member m = c.encrypted ? encryptedStoredMember("m", content, "pw") : storedMember("m", content);
        m.unpSize = c.unpSize;
        m.declaredPackSize = c.packSize;
        const Extraction e = extractImage(buildArchive(std::vector<Member>{m}), "m", "pw");
        EXPECT_EQ(e.result, c.accepted ? 1 : 0) << c.encrypted << " " << c.packSize;
        if (!c.accepted) {
            EXPECT_EQ(lastCallMessages().at(1), "Stored file's packed size " + std::to_string(c.packSize) +
                                                    " doesn't match its size " + std::to_string(c.unpSize) +
                                                    "!");
        }
    }
}

TEST(ArchiveWalk, EncryptedStoredFilesOfEverySize)
{
    for (std::size_t size : {0u, 1u, 15u, 16u, 17u, 8191u, 8192u, 8200u}) {
        Bytes content(size);
        for (std::size_t i = 0; i < size; ++i) content[i] = std::uint8_t(i * 7 + size);
        const Member m = encryptedStoredMember("secret", content, "gletscha");
        const std::string path = saveArchive("encrypted.rar", buildArchive(std::vector<Member>{m}));
        const Extraction right = extract(path, "secret", "gletscha");
        EXPECT_EQ(right.result, 1) << size << ": " << right.lastMessage;
        EXPECT_EQ(right.bytes, content) << size;
        if (size > 0) {
            EXPECT_EQ(extract(path, "secret", "wrong").result, 0) << size;
        }
    }
}

TEST(ArchiveWalk, SolidArchiveDecodesTheFilesAhead)
{
    BitWriter w;
    std::vector<std::uint8_t> lengths(298, 9);
    lengths.resize(374, 6);
    putTables(w, lengths);
    const Code literals(std::vector<std::uint8_t>(298, 9));
    for (char c : std::string("abc")) literals.put(w, std::uint8_t(c));
    BitWriter w2;
    for (char c : std::string("def")) literals.put(w2, std::uint8_t(c));
    ArchiveLayout layout;
    layout.solid = true;
    layout.members = {packedMember("one", w.finish(), text("abc")), storedMember("plain", text("stored")),
                      packedMember("two", w2.finish(), text("def"), true)};
    layout.members[2].packed = encipher(layout.members[2].packed, "pw");
    layout.members[2].flags |= 0x0004;
    const std::string path = saveArchive("solid.rar", buildArchive(layout));
    EXPECT_EQ(extract(path, "two", "pw").bytes, text("def"));
    EXPECT_EQ(extract(path, "plain", "pw").bytes, text("stored"));
}

}  // namespace
