// Reads the text score into a Song.
//
// A score is read line by line; "#" starts a comment. Statements:
//
//   title TEXT                      song name (at most 25 characters)
//   speed N | tempo N | gvol N | mix N
//   instrument NAME KIND key=value ...      a synthesised sample (see synth.h)
//   channel NAME INSTRUMENT [note=c5] [pan=0..64] [vol=0..64]
//   track NAME                      a reusable run of rows, lines "[step=N] cells"
//   ...
//   end
//   pattern NAME [ROWS]             rows per pattern, 64 when left out
//   CHANNEL [step=N] cells ...      a channel may take several lines; they add up
//   end
//   order NAME ... |: NAME ...      the play order; "|:" marks where the song loops
//
// A cell takes `step` rows (1 unless given): the first holds the event, the rest are
// empty. A cell is a head and optional suffixes:
//   head    .  nothing    x  the channel's note    c5 c#5 ...  a note (c0..b9)
//           ^  note cut   =  note off
//   @NAME   play this instrument instead of the channel's
//   :VOL    volume 0..64
//   !Xhh    effect letter A..Z with two hex digits, e.g. !J47 (arpeggio)
// A cell of suffixes only ("!D04", ":20") has the head ".".
// "{NAME}" inserts a track; "{NAME+7}" transposes it, "{NAME*4}" repeats it, and
// "{NAME>3}" delays it by 3 rows (its last 3 rows fall off). "|" is a bar line and
// is ignored. Every channel line of a pattern must add up to the pattern's rows.
#pragma once

#include "song.h"

#include <map>
#include <string>
#include <vector>

namespace itw {

class ScoreParser {
public:
    // Reads one file's text into the song; false with `error` ("file:line: reason").
    bool parse(const std::string& text, const std::string& fileName, Song& song);
    // Resolves the order list once all files are read; false with `error`.
    bool finish(Song& song);
    const std::string& error() const { return error_; }

private:
    struct Block {  // the track or pattern being read
        enum Kind { None, Track, PatternBlock } kind = None;
        std::string name;
        int rows = 0;
        int startLine = 0;
        std::map<int, std::vector<Cell>> channelRows;  // for a pattern
        std::vector<Cell> trackRows;                   // for a track
    };

    bool statement(const std::vector<std::string>& words, Song& song);
    bool header(const std::vector<std::string>& words, Song& song);
    bool instrument(const std::vector<std::string>& words, Song& song);
    bool channel(const std::vector<std::string>& words, Song& song);
    bool order(const std::vector<std::string>& words);
    bool openBlock(const std::vector<std::string>& words, const Song& song);
    bool blockLine(const std::vector<std::string>& words, Song& song);
    bool closeBlock(Song& song);
    bool cells(const std::vector<std::string>& words, size_t first, const Song& song, const Channel* channel,
               std::vector<Cell>& out);
    bool cell(const std::string& token, const Song& song, Cell& out);
    bool trackRef(const std::string& token, const Channel* channel, std::vector<Cell>& out);
    bool fail(const std::string& reason);

    std::string file_;
    int line_ = 0;
    std::string error_;
    Block block_;
    std::map<std::string, std::vector<Cell>> tracks_;
    std::vector<std::pair<std::string, int>> orderNames_;  // name, line
    std::string orderFile_;
    int loopIndex_ = -1;
};

// Note names: "c5" -> 60, "c#5" -> 61, "b9" -> 119; -1 when not a note.
int parseNoteName(const std::string& text);

}  // namespace itw
