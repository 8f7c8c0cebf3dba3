// The command line as a user meets it: --test and --extract report per member and
// never write outside the directory they are given.
#include "support.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace rarpack::test {
namespace {

struct CliRun {
    int status;
    std::string out;
};

CliRun rarpack(const ScratchDir& dir, const std::string& arguments)
{
    const std::string out = dir / "stdout.txt";
    const std::string command = std::string(RARPACK_EXE) + " " + arguments + " > " + out + " 2>&1";
    const int raw = std::system(command.c_str());
    const Bytes text = readFile(out);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, std::string(text.begin(), text.end())};
}

// An archive whose one member has a name the packer itself would refuse.
std::string archiveWithName(const ScratchDir& dir, const std::string& name)
{
    Bytes image;
    std::vector<MemberReport> reports;
    std::string error;
    packArchive({{std::string(name.size(), 'x'), text(100, 1)}}, PackOptions{}, image, reports, error);
    const std::size_t at = 20 + 32;  // marker, main header, fixed part of the file header
    std::copy(name.begin(), name.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
    const std::string path = dir / "evil.rar";
    writeFile(path, image);
    return path;
}

TEST(Cli, PacksListsTestsAndExtracts)
{
    ScratchDir dir;
    writeFile(dir / "a.txt", text(20000, 1));
    ::mkdir((dir / "sub").c_str(), 0755);
    writeFile(dir / "sub/b.raw", samples(20000, 1, 1, 2));
    const std::string files = dir / "a.txt" + " " + dir / "sub/b.raw";
    ASSERT_EQ(::chdir(dir.path.c_str()), 0);
    CliRun r = rarpack(dir, "--solid --password gletscha out.rar a.txt sub/b.raw");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("a.txt"), std::string::npos);
    r = rarpack(dir, "--list out.rar");
    EXPECT_NE(r.out.find("sub\\b.raw"), std::string::npos) << r.out;
    r = rarpack(dir, "--test --password gletscha out.rar");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "OK a.txt\nOK sub\\b.raw\n");
    r = rarpack(dir, "--test --password wrong out.rar");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.out.find("FAILED a.txt: "), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("couldn't extract"), std::string::npos) << "the reason, not the summary: " << r.out;
    r = rarpack(dir, "--extract x --password gletscha out.rar");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(readFile(dir / "x/sub/b.raw") == samples(20000, 1, 1, 2));
    EXPECT_TRUE(readFile(dir / "x/a.txt") == text(20000, 1));
}

TEST(Cli, ExtractNeverOverwritesUnasked)
{
    ScratchDir dir;
    writeFile(dir / "a.txt", text(500, 1));
    ASSERT_EQ(::chdir(dir.path.c_str()), 0);
    ASSERT_EQ(rarpack(dir, "--quiet out.rar a.txt").status, 0);
    ::mkdir((dir / "x").c_str(), 0755);
    writeFile(dir / "x/a.txt", {'m', 'i', 'n', 'e'});
    CliRun r = rarpack(dir, "--extract x out.rar");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.out.find("not overwritten"), std::string::npos) << r.out;
    EXPECT_EQ(readFile(dir / "x/a.txt"), (Bytes{'m', 'i', 'n', 'e'}));
    r = rarpack(dir, "--extract x --force out.rar");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(readFile(dir / "x/a.txt") == text(500, 1));
}

TEST(Cli, ExtractStaysInsideItsDirectory)
{
    for (const char* name :
         {"..\\escaped.txt", "/tmp/escaped.txt", "a\\..\\..\\escaped.txt", "C:escaped.txt"}) {
        ScratchDir dir;
        const std::string archive = archiveWithName(dir, name);
        ::mkdir((dir / "x").c_str(), 0755);
        const CliRun r = rarpack(dir, "--extract " + dir / "x/in" + " " + archive);
        EXPECT_NE(r.status, 0) << name;
        EXPECT_NE(r.out.find("unsafe name"), std::string::npos) << r.out;
        EXPECT_FALSE(std::filesystem::exists(dir / "x/escaped.txt")) << name;
        EXPECT_FALSE(std::filesystem::exists(dir / "escaped.txt")) << name;
    }
}

// The reader finds members without regard to case, so a second "A.TXT" would
// come out with the bytes of "a.txt": both commands refuse it.
TEST(Cli, MembersTheReaderCannotTellApartAreRefused)
{
    ScratchDir dir;
    Bytes image;
    std::vector<MemberReport> reports;
    std::string error;
    ASSERT_TRUE(
        packArchive({{"a.txt", text(50, 1)}, {"b.txt", text(60, 2)}}, PackOptions{}, image, reports, error));
    const std::string second = "b.txt", twin = "A.TXT";
    const auto at = std::search(image.begin() + 60, image.end(), second.begin(), second.end());
    ASSERT_NE(at, image.end());
    std::copy(twin.begin(), twin.end(), at);
    writeFile(dir / "twins.rar", image);
    CliRun r = rarpack(dir, "--test " + dir / "twins.rar");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.out.find("FAILED A.TXT: same name"), std::string::npos) << r.out;
    r = rarpack(dir, "--extract " + dir / "x" + " " + dir / "twins.rar");
    EXPECT_NE(r.status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "x/A.TXT"));
    EXPECT_TRUE(readFile(dir / "x/a.txt") == text(50, 1));
}

TEST(Cli, ExtractDoesNotFollowLinksOutOfItsDirectory)
{
    ScratchDir dir;
    ::mkdir((dir / "outside").c_str(), 0755);
    ::mkdir((dir / "x").c_str(), 0755);
    ASSERT_EQ(::symlink((dir / "outside").c_str(), (dir / "x/sub").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "outside/f.txt").c_str(), (dir / "x/g.txt").c_str()), 0);
    Bytes image;
    std::vector<MemberReport> reports;
    std::string error;
    ASSERT_TRUE(packArchive({{"sub\\f.txt", text(50, 1)}, {"g.txt", text(50, 2)}}, PackOptions{}, image,
                            reports, error));
    writeFile(dir / "links.rar", image);
    const CliRun r = rarpack(dir, "--extract " + dir / "x" + " --force " + dir / "links.rar");
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir / "outside")) << r.out;
}

TEST(Cli, BadInputGivesAClearMessage)
{
    ScratchDir dir;
    const struct {
        std::string arguments;
        const char* message;
    } cases[] = {
        {dir / "o.rar " + dir / "missing.txt", "missing.txt"},
        {"--list " + dir / "missing.rar", "missing.rar"},
        {"--effort 12 " + dir / "o.rar x", "--effort"},
        {"--password '' " + dir / "o.rar x", "password"},
        {"--frobnicate " + dir / "o.rar x", "unknown option"},
        {dir / "o.rar", "no files"},
    };
    writeFile(dir / "junk.rar", randomBytes(100, 1));
    for (const auto& c : cases) {
        const CliRun r = rarpack(dir, c.arguments);
        EXPECT_NE(r.status, 0) << c.arguments;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
    }
    const CliRun r = rarpack(dir, "--test " + dir / "junk.rar");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.out.find("not a RAR archive"), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "o.rar"));
}

}  // namespace
}  // namespace rarpack::test
