// The debug log: its exact layout, its place in the temporary directory, and the
// care it takes with a file that holds the password.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <regex>
#include <sstream>
#include <string>

#include "archive/reader_internal.h"
#include "archive/rarreader.h"
#include "test_archive.h"

using namespace testrar;

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();  // a text file written on Windows
        result.push_back(line);
    }
    return result;
}

TEST(DebugLog, BannerThenTwoLinesPerEntry)
{
    ArchiveLayout layout;
    layout.members = {storedMember("logged", Bytes{1, 2, 3})};
    extract(saveArchive("logged.rar", buildArchive(layout)), "logged", "clear text");
    const std::vector<std::string> log = lines(debugLog());
    ASSERT_GE(log.size(), 6u);
    EXPECT_EQ(log[0], "Debug log of Kobold's RAR reader");
    EXPECT_EQ(log[1], "~^~~~~~~~~~~~~~~~~~~~~~~~~~~~~^~");
    EXPECT_TRUE(std::regex_match(
        log[2], std::regex(R"(\(executable compiled on [A-Z][a-z]{2} [ 0-9]\d \d{4} at \d\d:\d\d:\d\d\))")))
        << log[2];
    EXPECT_EQ(log[3], "");
    const std::regex head(R"( ([ 0-9]{7}\d) ms \(line \d+ in .+\):)");
    unsigned long previous = 0;
    ASSERT_EQ((log.size() - 4) % 2, 0u);
    for (std::size_t i = 4; i < log.size(); i += 2) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(log[i], m, head)) << log[i];
        EXPECT_GE(std::stoul(m[1]), previous);
        previous = std::stoul(m[1]);
        EXPECT_EQ(log[i + 1].substr(0, 16), "              - ") << log[i + 1];
    }
    EXPECT_EQ(log[log.size() - 3].substr(16),
              "Extracting >logged< from >" + scratchDir() + "/logged.rar< (password is >clear text<)...");
    EXPECT_EQ(log.back().substr(16), "Extracted 3 Bytes.");
#ifndef _WIN32
    struct stat info;  // it holds the password: the user's alone
    ASSERT_EQ(::lstat((scratchDir() + "/debug_rarreader.txt").c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0600u);
#endif
}

// Runs DebugLog::start on another path, keeping the test run's own log as it was.
struct OtherLog {
    rarreader::LogState saved = rarreader::reader.log;
    ~OtherLog() { rarreader::reader.log = saved; }
    bool start(const std::string& path)
    {
        rarreader::reader.log.enabled = false;
        rarreader::DebugLog::start(path.c_str());
        return rarreader::reader.log.enabled;
    }
};

TEST(DebugLog, StartEmptiesAnOldLog)
{
    const std::string path = scratchDir() + "/old-log.txt";
    writeFile(path, Bytes(5000, 'x'));
    OtherLog other;
    ASSERT_TRUE(other.start(path));
    rarreader::DebugLog::write("one entry", "here.cpp", 7);
    const std::vector<std::string> log = lines(readText(path));
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[0], "Debug log of Kobold's RAR reader");
    EXPECT_TRUE(std::regex_match(log[4], std::regex(R"( {4,8}\d{1,4} ms \(line 7 in here\.cpp\):)")))
        << log[4];
    EXPECT_EQ(log[5], "              - one entry");
}

TEST(DebugLog, NeverFollowsALinkNorNeedsADirectory)
{
    const std::string target = scratchDir() + "/link-target.txt", link = scratchDir() + "/link-log.txt";
    writeFile(target, Bytes{'k', 'e', 'e', 'p'});
    OtherLog other;
#ifndef _WIN32  // (Windows: the platform's file tests)
    ::unlink(link.c_str());
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    EXPECT_FALSE(other.start(link));
    rarreader::DebugLog::write("must not land anywhere", "here.cpp", 1);
    EXPECT_EQ(readText(target), "keep");
#endif
    EXPECT_FALSE(other.start(scratchDir() + "/no-such-dir/debug_rarreader.txt"));
    // With the log off the reader works the same, and still keeps its last message.
    ArchiveLayout layout;
    layout.members = {storedMember("quiet", Bytes{9})};
    const std::string archive = saveArchive("quiet.rar", buildArchive(layout));
    EXPECT_EQ(extract(archive, "quiet").bytes, Bytes{9});
    EXPECT_EQ(extract(archive, "loud").result, 0);
    EXPECT_STREQ(lastReaderMessage(),
                 "Error - couldn't extract >loud< and allocated 0 Bytes of unused memory!");
    EXPECT_STREQ(lastFailureReason(), "not found in the archive");
    EXPECT_EQ(extract(archive, "quiet", "secret").result, 1);       // a plain member ignores a password
    EXPECT_STREQ(lastFailureReason(), "not found in the archive");  // kept from the last failure
}

}  // namespace
