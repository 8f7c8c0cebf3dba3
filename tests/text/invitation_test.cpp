// The invitation text as the scroller shows it: only what the font draws, the red
// "$" switches in pairs, lines that fit the panel and a length that scrolls.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr size_t minLines = 100, maxLines = 300, maxWidth = 70;
const std::string drawable = "abcdefghijklmnopqrstuvwxyz0123456789.,;:+-_#*~!\"%&/()=?\\{}[]^`@";
const std::string address = "www.quarzel.invalid";

std::string text()
{
    std::ifstream in(ZW_INVITATION_PATH, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> lines(const std::string& t)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t nl; (nl = t.find('\n', start)) != std::string::npos; start = nl + 1)
        out.push_back(t.substr(start, nl - start));
    if (start < t.size()) out.push_back(t.substr(start));
    return out;
}

TEST(Invitation, EveryByteIsDrawn)
{
    std::string t = text();
    ASSERT_FALSE(t.empty());
    for (size_t i = 0; i < t.size(); ++i) {
        char c = t[i];
        bool ok = c == '\n' || c == ' ' || c == '$' || drawable.find(c) != std::string::npos;
        EXPECT_TRUE(ok) << "byte " << int(static_cast<unsigned char>(c)) << " at offset " << i;
    }
}

TEST(Invitation, LinesFitAndHighlightsClose)
{
    std::vector<std::string> all = lines(text());
    EXPECT_GE(all.size(), minLines);
    EXPECT_LE(all.size(), maxLines);
    for (size_t n = 0; n < all.size(); ++n) {
        EXPECT_LE(all[n].size(), maxWidth) << "line " << n + 1;
        EXPECT_EQ(std::count(all[n].begin(), all[n].end(), '$') % 2, 0) << "line " << n + 1;
        EXPECT_TRUE(all[n].empty() || all[n].back() != ' ') << "trailing space, line " << n + 1;
    }
}

TEST(Invitation, NamesThePartyAndItsAddress)
{
    std::string t = text();
    EXPECT_NE(t.find(address), std::string::npos);
    EXPECT_NE(t.find("quarzel"), std::string::npos);
    EXPECT_NE(t.find("schratten"), std::string::npos);
    EXPECT_NE(t.find("18. - 20. october"), std::string::npos);
    EXPECT_EQ(t.back(), '\n');
}

}  // namespace
