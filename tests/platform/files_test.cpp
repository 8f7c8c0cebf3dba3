// The platform's file calls, on POSIX and on Windows alike: where temporary files
// go, creation that never replaces a file nor goes through a link, the private
// file the reader's log is written to, and paths with letters beyond ASCII.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

std::string readBytes(const fs::path& path, std::ios::openmode mode = std::ios::binary)
{
    std::ifstream in(path, mode);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// The variable the system's temporary folder is taken from.
void pointTempAt(const char* value)
{
#ifdef _WIN32
    _putenv_s("TMP", value ? value : "");
#else
    if (value)
        ::setenv("TMPDIR", value, 1);
    else
        ::unsetenv("TMPDIR");
#endif
}

class Files : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override
    {
        std::random_device random;
        do dir = fs::temp_directory_path() / ("zw-files-" + std::to_string(random()));
        while (!fs::create_directory(dir));
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    std::string path(const char* name) const { return (dir / name).string(); }

    // A symbolic link, where the system lets the test make one.
    bool makeLink(const fs::path& target, const fs::path& link)
    {
        std::error_code error;
        fs::create_symlink(target, link, error);
        return !error && fs::is_symlink(fs::symlink_status(link));
    }
};

TEST_F(Files, TheTemporaryFolderIsTheSystems)
{
    const char* saved = std::getenv(
#ifdef _WIN32
        "TMP"
#else
        "TMPDIR"
#endif
    );
    const std::string restore = saved ? saved : "";
    pointTempAt((dir.string() + "/").c_str());
    const std::string temp = platform::tempDirectory();
    pointTempAt(saved ? restore.c_str() : nullptr);
    ASSERT_FALSE(temp.empty());
    EXPECT_NE(temp.back(), '/');
    EXPECT_NE(temp.back(), '\\');
    EXPECT_TRUE(fs::equivalent(fs::u8path(temp), dir)) << temp;
}

TEST_F(Files, ANewFileNeverReplacesOne)
{
    writeBytes(path("font.bmp"), "the user's own");
    errno = 0;
    EXPECT_EQ(platform::createNewFile(path("font.bmp").c_str(), false), nullptr);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(readBytes(path("font.bmp")), "the user's own");

    std::FILE* file = platform::createNewFile(path("marlu.it").c_str(), false);
    ASSERT_NE(file, nullptr);
    std::fputs("two\nlines\n", file);  // binary: media bytes stay as they are
    std::fclose(file);
    EXPECT_EQ(readBytes(path("marlu.it")), "two\nlines\n");
}

TEST_F(Files, ANewFileIsNeverMadeThroughALink)
{
    if (!makeLink(dir / "elsewhere.bmp", dir / "gras.bmp"))
        GTEST_SKIP() << "this system makes no symbolic links";
    EXPECT_EQ(platform::createNewFile(path("gras.bmp").c_str(), false), nullptr);
    EXPECT_FALSE(fs::exists(dir / "elsewhere.bmp"));
}

TEST_F(Files, DeletingTakesTheNameOnly)
{
    writeBytes(path("berg1.bmp"), "x");
    EXPECT_TRUE(platform::deleteFile(path("berg1.bmp").c_str()));
    EXPECT_FALSE(fs::exists(dir / "berg1.bmp"));
    EXPECT_FALSE(platform::deleteFile(path("berg1.bmp").c_str()));
}

TEST_F(Files, ThePrivateFileIsEmptiedThenAppendedTo)
{
    writeBytes(path("log.txt"), std::string(3000, 'x'));
    std::FILE* file = platform::openPrivateFile(path("log.txt").c_str(), true);
    ASSERT_NE(file, nullptr);
    std::fputs("banner\n", file);
    std::fclose(file);
    file = platform::openPrivateFile(path("log.txt").c_str(), false);
    ASSERT_NE(file, nullptr);
    std::fputs("entry\n", file);
    std::fclose(file);
    EXPECT_EQ(readBytes(path("log.txt"), std::ios::in), "banner\nentry\n");
#ifdef _WIN32
    EXPECT_EQ(readBytes(path("log.txt")), "banner\r\nentry\r\n");  // a text file as Windows writes them
#endif
}

TEST_F(Files, ThePrivateFileIsNeverAnotherNameOfAFile)
{
    writeBytes(path("document.txt"), "keep");
    fs::create_hard_link(dir / "document.txt", dir / "log.txt");
    EXPECT_EQ(platform::openPrivateFile(path("log.txt").c_str(), true), nullptr);
    EXPECT_EQ(platform::openPrivateFile(path("log.txt").c_str(), false), nullptr);
    EXPECT_EQ(readBytes(path("document.txt")), "keep");
    EXPECT_EQ(platform::openPrivateFile(dir.string().c_str(), true), nullptr);  // nor a folder
}

TEST_F(Files, ThePrivateFileIsNeverReachedThroughALink)
{
    writeBytes(path("document.txt"), "keep");
    if (!makeLink(dir / "document.txt", dir / "log.txt"))
        GTEST_SKIP() << "this system makes no symbolic links";
    EXPECT_EQ(platform::openPrivateFile(path("log.txt").c_str(), true), nullptr);
    EXPECT_EQ(readBytes(path("document.txt")), "keep");
}

TEST_F(Files, NamesBeyondAsciiAreUtf8)
{
    const std::string name = dir.string() + "/m\xC3\xB6hre.txt";
    std::FILE* file = platform::createNewFile(name.c_str(), false);
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_TRUE(fs::exists(dir / fs::u8path("m\xC3\xB6hre.txt")));
    file = platform::openPrivateFile((dir.string() + "/l\xC3\xB6g.txt").c_str(), true);
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_TRUE(fs::exists(dir / fs::u8path("l\xC3\xB6g.txt")));
    EXPECT_TRUE(platform::deleteFile(name.c_str()));
}

}  // namespace
