// The asset driver in a scratch working directory, on the headless back end:
// the media set comes out of "stuff.dat", and afterwards the directory is as it
// was, including a user's own file that happens to carry a media file's name.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <string>

#include "archive/media_set.h"
#include "assets/media_manifest.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "test_archive.h"

using namespace testrar;

namespace {

Bytes contentOf(const std::string& name)
{
    if (name == "invitation.txt") return {};  // an empty member becomes an empty file
    std::string text = "the bytes of " + name;
    text.resize(text.size() * 37, '*');
    return Bytes(text.begin(), text.end());
}

// Everything in the working directory: name -> bytes.
std::map<std::string, Bytes> directoryContents()
{
    std::map<std::string, Bytes> result;
    DIR* dir = ::opendir(".");
    while (dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") result[name] = readFile(name);
    }
    ::closedir(dir);
    return result;
}

// A fresh working directory holding stuff.dat (all names but `left out`), for one test.
class MediaSet : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::configure(headless::Config{});
        ASSERT_TRUE(::getcwd(previous_, sizeof previous_));
        dir_ = scratchDir() + "/cwd-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_EQ(::mkdir(dir_.c_str(), 0700), 0);
        ASSERT_EQ(::chdir(dir_.c_str()), 0);
    }
    void TearDown() override { ASSERT_EQ(::chdir(previous_), 0); }

    void writeStuff(const std::string& leftOut = "", const std::string& path = "stuff.dat")
    {
        ArchiveLayout layout;
        for (const char* name : media::names)
            if (name != leftOut)
                layout.members.push_back(
                    encryptedStoredMember(name, contentOf(name), media::archivePassword));
        writeFile(path, buildArchive(layout));
    }

    static std::size_t quitMessages()
    {
        std::size_t count = 0;
        for (platform::Message m; platform::peekMessage(m);)
            if (m.kind == platform::MessageKind::Quit && m.wParam == 0) ++count;
        return count;
    }

    char previous_[4096] = {};
    std::string dir_;
};

TEST_F(MediaSet, HealthyArchiveComesOutAndGoesAgain)
{
    writeStuff();
    const auto before = directoryContents();
    extractMediaSet();
    EXPECT_TRUE(headless::messageBoxes().empty());
    EXPECT_EQ(quitMessages(), 0u);
    const auto during = directoryContents();
    EXPECT_EQ(during.size(), 35u);
    for (const char* name : media::names) EXPECT_EQ(during.at(name), contentOf(name)) << name;
    struct stat info;
    ASSERT_EQ(::stat("berg1.bmp", &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    deleteMediaSet();
    EXPECT_EQ(directoryContents(), before);
}

TEST_F(MediaSet, UsersOwnFileIsNeitherOverwrittenNorDeleted)
{
    writeStuff();
    writeFile("font.bmp", Bytes{'m', 'i', 'n', 'e'});
    ASSERT_EQ(::symlink((dir_ + "/elsewhere.txt").c_str(), "cursor.bmp"), 0);
    const auto before = directoryContents();
    extractMediaSet();
    ASSERT_EQ(headless::messageBoxes().size(), 2u);
    for (const auto& box : headless::messageBoxes()) {
        EXPECT_EQ(box.text, "Error in Archive stuff.dat");
        EXPECT_EQ(box.caption, "FATAL MARLU");
        EXPECT_EQ(box.buttons, platform::Buttons::Ok);
    }
    EXPECT_EQ(quitMessages(), 2u);
    EXPECT_EQ(readFile("font.bmp"), (Bytes{'m', 'i', 'n', 'e'}));
    EXPECT_NE(::access("elsewhere.txt", F_OK), 0);  // the link was not followed
    EXPECT_EQ(readFile("fontm.bmp"), contentOf("fontm.bmp"));
    deleteMediaSet();
    EXPECT_EQ(directoryContents(), before);
}

TEST_F(MediaSet, MissingMemberGivesOneBoxAndTheRestComeOut)
{
    writeStuff("feil.bmp");
    extractMediaSet();
    ASSERT_EQ(headless::messageBoxes().size(), 1u);
    EXPECT_EQ(quitMessages(), 1u);
    EXPECT_EQ(readFile("zweitwiesem.bmp"), contentOf("zweitwiesem.bmp"));
    EXPECT_EQ(readFile("feilm.bmp"), contentOf("feilm.bmp"));
    EXPECT_NE(::access("feil.bmp", F_OK), 0);
    deleteMediaSet();
    EXPECT_EQ(directoryContents().size(), 1u);
}

TEST_F(MediaSet, NoArchiveGivesABoxPerFile)
{
    extractMediaSet();
    EXPECT_EQ(headless::messageBoxes().size(), 34u);
    EXPECT_EQ(quitMessages(), 34u);
    deleteMediaSet();
    EXPECT_TRUE(directoryContents().empty());
}

// The program's folder (on the headless back end, the one the test names), holding
// an archive or not.
std::string programFolder(const std::string& in)
{
    const std::string folder = in + "/program";
    EXPECT_EQ(::mkdir(folder.c_str(), 0700), 0);
    headless::Config config;
    config.programDirectory = folder + "/";
    headless::configure(config);
    return folder;
}

// Started from another folder: the media come out beside the archive in the
// program's folder and go again; the folder it was started in gets nothing.
TEST_F(MediaSet, StartedElsewhereTheProgramsFolderServes)
{
    const std::string program = programFolder(dir_);
    writeStuff("", program + "/stuff.dat");
    enterArchiveFolder();
    EXPECT_EQ(platform::currentDirectory(), program);
    extractMediaSet();
    EXPECT_TRUE(headless::messageBoxes().empty());
    EXPECT_EQ(readFile("berg1.bmp"), contentOf("berg1.bmp"));
    for (const char* name : media::names) EXPECT_NE(::access((dir_ + "/" + name).c_str(), F_OK), 0) << name;
    deleteMediaSet();
    EXPECT_EQ(directoryContents().size(), 1u);
}

// An archive in the current folder is used where it is, also with another beside
// the program; with none in either folder every file has its box, as ever.
TEST_F(MediaSet, ArchiveHereStaysHereAndNoArchiveAnywhereIsReported)
{
    const std::string program = programFolder(dir_);
    writeStuff("", program + "/stuff.dat");
    writeStuff();
    enterArchiveFolder();
    EXPECT_EQ(platform::currentDirectory(), dir_);

    ASSERT_EQ(::unlink((program + "/stuff.dat").c_str()), 0);
    ASSERT_EQ(::unlink("stuff.dat"), 0);
    enterArchiveFolder();
    extractMediaSet();
    EXPECT_EQ(headless::messageBoxes().size(), 34u);
    EXPECT_EQ(quitMessages(), 34u);
    deleteMediaSet();
    EXPECT_EQ(::rmdir(program.c_str()), 0) << "nothing was written beside the program";
}

TEST_F(MediaSet, LogHasTwoEntriesPerFileInListOrder)
{
    writeStuff();
    const std::size_t start = debugLog().size();
    extractMediaSet();
    deleteMediaSet();
    const std::string log = debugLog().substr(start);
    std::size_t at = 0;
    for (const char* name : media::names) {
        at = log.find("- Extracting >" + std::string(name) + "< from >stuff.dat< (password is >" +
                          media::archivePassword + "<)...",
                      at);
        ASSERT_NE(at, std::string::npos) << name;
        at = log.find("- Extracted " + std::to_string(contentOf(name).size()) + " Bytes.", at);
        ASSERT_NE(at, std::string::npos) << name;
    }
}

}  // namespace
