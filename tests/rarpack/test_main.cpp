// Runs the packer tests with the reader's debug log in a directory of their own,
// so that the failure reasons can be read back.
#include "support.h"

#include <gtest/gtest.h>

namespace {
std::string logDirectory;
}

std::string rarpack::test::readerLog()
{
    std::ifstream in(logDirectory + "/debug_rarreader.txt");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int main(int argc, char** argv)
{
    std::string t = (std::filesystem::temp_directory_path() / "rarpack-log-XXXXXX").string();
    logDirectory = ::mkdtemp(t.data()) ? t : "/tmp";
    ::setenv("TMPDIR", logDirectory.c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::filesystem::remove_all(logDirectory);
    return result;
}
