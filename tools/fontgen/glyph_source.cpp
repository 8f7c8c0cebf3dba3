#include "glyph_source.h"

#include <fstream>
#include <set>
#include <sstream>

namespace {

struct Cursor {
    std::istringstream lines;
    std::string path;
    int lineNumber = 0;

    bool next(std::string& line)
    {
        if (!std::getline(lines, line)) return false;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return true;
    }
    std::string where() const { return path + ":" + std::to_string(lineNumber) + ": "; }
};

bool isSkippable(const std::string& line)
{
    // Comments start with "# "; glyph rows never hold a space.
    return line.rfind("# ", 0) == 0 || line.find_first_not_of(" \t") == std::string::npos;
}

std::string parseHeader(Cursor& in, const std::string& line, PixelGlyph& glyph)
{
    std::istringstream words(line);
    std::string keyword;
    words >> keyword >> glyph.number >> glyph.label;
    if (keyword != "glyph" || words.fail())
        return in.where() + "expected \"glyph NUMBER LABEL\", found \"" + line + "\"";
    if (glyph.number < 0 || glyph.number >= glyphCount)
        return in.where() + "glyph number " + std::to_string(glyph.number) + " is outside the grid (0.." +
               std::to_string(glyphCount - 1) + ")";
    return {};
}

std::string parseRows(Cursor& in, PixelGlyph& glyph)
{
    for (std::string& row : glyph.rows) {
        if (!in.next(row)) return in.where() + "glyph " + glyph.label + " ends before its 9 rows";
        if (row.size() != glyphColumns || row.find_first_not_of(".#") != std::string::npos)
            return in.where() + "a glyph row must be 5 characters of '.' and '#', found \"" + row + "\"";
    }
    return {};
}

}  // namespace

std::string parseGlyphText(const std::string& text, const std::string& path, std::vector<PixelGlyph>& out)
{
    Cursor in{std::istringstream(text), path};
    std::set<int> seen;
    std::vector<PixelGlyph> glyphs;
    std::string line;
    while (in.next(line)) {
        if (isSkippable(line)) continue;
        PixelGlyph glyph;
        if (std::string e = parseHeader(in, line, glyph); !e.empty()) return e;
        if (!seen.insert(glyph.number).second)
            return in.where() + "glyph " + std::to_string(glyph.number) + " is defined twice";
        if (std::string e = parseRows(in, glyph); !e.empty()) return e;
        glyphs.push_back(glyph);
    }
    if (glyphs.empty()) return path + ": no glyphs in the file";
    out = std::move(glyphs);
    return {};
}

std::string readGlyphFile(const std::string& path, std::vector<PixelGlyph>& out)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return path + ": cannot open the glyph file";
    std::ostringstream text;
    text << file.rdbuf();
    return parseGlyphText(text.str(), path, out);
}
