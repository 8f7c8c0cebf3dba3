// The font's readable source: pixel glyphs in a text file.
//
//   # a comment line
//   glyph 0 a          header: the glyph number in the 16-column grid, then a label
//   .....              9 rows of 5 characters: '#' lit, '.' dark
//   ...
//
// Rows 0-6 hold capitals, digits and ascenders, rows 2-6 the lower-case body,
// rows 7-8 the descenders. Blank lines between glyphs are ignored.
#pragma once

#include <array>
#include <string>
#include <vector>

constexpr int glyphColumns = 5;
constexpr int glyphRows = 9;
constexpr int glyphCount = 128;  // 16 columns x 8 rows of cells

struct PixelGlyph {
    int number = 0;
    std::string label;
    std::array<std::string, glyphRows> rows;

    bool lit(int column, int row) const
    {
        return column >= 0 && column < glyphColumns && row >= 0 && row < glyphRows &&
               rows[row][column] == '#';
    }
};

// Parses the glyph file; on failure returns the file name, line number and reason.
std::string readGlyphFile(const std::string& path, std::vector<PixelGlyph>& out);
std::string parseGlyphText(const std::string& text, const std::string& path, std::vector<PixelGlyph>& out);
