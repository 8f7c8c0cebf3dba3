#include "score.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

namespace itw {
namespace {

constexpr int channelNote = -2;  // "x": the channel's note, filled in on placement
constexpr int maxRows = 200;
constexpr int minRows = 1;
constexpr size_t maxTitle = 25;

// Words of a line up to its comment: a "#" that begins a word (a sharp, as in
// "c#5", is inside one).
std::vector<std::string> splitWords(const std::string& line)
{
    const auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    std::vector<std::string> words;
    for (auto at = line.begin();;) {
        at = std::find_if_not(at, line.end(), isSpace);
        if (at == line.end() || *at == '#') break;
        const auto end = std::find_if(at, line.end(), isSpace);
        if (std::string word(at, end); word != "|") words.push_back(std::move(word));
        at = end;
    }
    return words;
}

// Whole-string decimal integer; false when anything else is in it.
bool toInt(const std::string& text, int& value)
{
    if (text.empty()) return false;
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || v < -1000000 || v > 1000000) return false;
    value = int(v);
    return true;
}

bool toDouble(const std::string& text, double& value)
{
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0';
}

bool splitKeyValue(const std::string& word, std::string& key, std::string& value)
{
    size_t eq = word.find('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 == word.size()) return false;
    key = word.substr(0, eq);
    value = word.substr(eq + 1);
    return true;
}

int findInstrument(const Song& song, const std::string& name)
{
    for (size_t i = 0; i < song.instruments.size(); ++i)
        if (song.instruments[i].name == name) return int(i) + 1;
    return 0;
}

int findChannel(const Song& song, const std::string& name)
{
    for (size_t i = 0; i < song.channels.size(); ++i)
        if (song.channels[i].name == name) return int(i);
    return -1;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    c = char(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

int parseNoteName(const std::string& text)
{
    static const int semitone[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
    if (text.size() < 2 || text.size() > 3 || text[0] < 'a' || text[0] > 'g') return -1;
    int note = semitone[text[0] - 'a'];
    size_t pos = 1;
    if (text[pos] == '#') {
        ++note;
        ++pos;
    }
    if (pos + 1 != text.size() || !std::isdigit(static_cast<unsigned char>(text[pos]))) return -1;
    note += 12 * (text[pos] - '0');
    return note <= maxNote ? note : -1;
}

bool ScoreParser::fail(const std::string& reason)
{
    error_ = file_ + ":" + std::to_string(line_) + ": " + reason;
    return false;
}

bool ScoreParser::parse(const std::string& text, const std::string& fileName, Song& song)
{
    file_ = fileName;
    line_ = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        ++line_;
        std::vector<std::string> words = splitWords(line);
        if (words.empty()) continue;
        bool ok = block_.kind == Block::None ? statement(words, song) : blockLine(words, song);
        if (!ok) return false;
    }
    if (block_.kind != Block::None) {
        line_ = block_.startLine;
        return fail("'" + block_.name + "' is not closed by 'end'");
    }
    return true;
}

bool ScoreParser::statement(const std::vector<std::string>& words, Song& song)
{
    const std::string& w = words[0];
    if (w == "instrument") return instrument(words, song);
    if (w == "channel") return channel(words, song);
    if (w == "track" || w == "pattern") return openBlock(words, song);
    if (w == "order") return order(words);
    if (w == "end") return fail("'end' without a track or pattern");
    return header(words, song);
}

bool ScoreParser::header(const std::vector<std::string>& words, Song& song)
{
    const std::string& w = words[0];
    if (w == "title") {
        std::string title;
        for (size_t i = 1; i < words.size(); ++i) title += (i > 1 ? " " : "") + words[i];
        if (title.empty() || title.size() > maxTitle) return fail("title must have 1 to 25 characters");
        song.title = title;
        return true;
    }
    struct Field {
        const char* name;
        int* value;
        int low, high;
    };
    const Field fields[] = {{"speed", &song.speed, 1, 255},
                            {"tempo", &song.tempo, 32, 255},
                            {"gvol", &song.globalVolume, 0, 128},
                            {"mix", &song.mixVolume, 0, 128}};
    for (const Field& f : fields) {
        if (w != f.name) continue;
        int v = 0;
        if (words.size() != 2 || !toInt(words[1], v) || v < f.low || v > f.high)
            return fail(w + " takes one number from " + std::to_string(f.low) + " to " +
                        std::to_string(f.high));
        *f.value = v;
        return true;
    }
    return fail("unknown statement '" + w + "'");
}

bool ScoreParser::instrument(const std::vector<std::string>& words, Song& song)
{
    if (words.size() < 3) return fail("instrument needs a name and a kind");
    if (findInstrument(song, words[1])) return fail("instrument '" + words[1] + "' is defined twice");
    if (song.instruments.size() >= 99) return fail("more than 99 instruments");
    Instrument ins;
    ins.name = words[1];
    ins.kind = words[2];
    ins.file = file_;
    ins.line = line_;
    for (size_t i = 3; i < words.size(); ++i) {
        std::string key, value;
        if (!splitKeyValue(words[i], key, value)) return fail("expected key=value, got '" + words[i] + "'");
        if (ins.params.count(key)) return fail("parameter '" + key + "' given twice");
        if (key == "base") {
            ins.baseNote = parseNoteName(value);
            if (ins.baseNote < 0) return fail("base must be a note like c5, got '" + value + "'");
            continue;
        }
        double v = 0;
        if (!toDouble(value, v)) return fail("parameter '" + key + "' is not a number: '" + value + "'");
        ins.params[key] = v;
    }
    song.instruments.push_back(ins);
    return true;
}

bool ScoreParser::channel(const std::vector<std::string>& words, Song& song)
{
    if (words.size() < 3) return fail("channel needs a name and an instrument");
    if (findChannel(song, words[1]) >= 0) return fail("channel '" + words[1] + "' is defined twice");
    if (int(song.channels.size()) >= maxChannels) return fail("more than 64 channels");
    Channel ch;
    ch.name = words[1];
    ch.instrument = findInstrument(song, words[2]);
    if (!ch.instrument) return fail("unknown instrument '" + words[2] + "'");
    for (size_t i = 3; i < words.size(); ++i) {
        std::string key, value;
        if (!splitKeyValue(words[i], key, value)) return fail("expected key=value, got '" + words[i] + "'");
        int v = 0;
        if (key == "note") {
            ch.note = parseNoteName(value);
            if (ch.note < 0) return fail("note must be a note like c5, got '" + value + "'");
        } else if (key == "pan" || key == "vol") {
            if (!toInt(value, v) || v < 0 || v > 64)
                return fail(key + " must be 0 to 64, got '" + value + "'");
            (key == "pan" ? ch.pan : ch.volume) = v;
        } else {
            return fail("unknown channel setting '" + key + "'");
        }
    }
    song.channels.push_back(ch);
    return true;
}

bool ScoreParser::order(const std::vector<std::string>& words)
{
    orderFile_ = file_;
    for (size_t i = 1; i < words.size(); ++i) {
        if (words[i] == "|:") {
            if (loopIndex_ >= 0) return fail("the order list has two loop marks '|:'");
            loopIndex_ = int(orderNames_.size());
            continue;
        }
        orderNames_.push_back({words[i], line_});
    }
    return true;
}

bool ScoreParser::openBlock(const std::vector<std::string>& words, const Song& song)
{
    bool isTrack = words[0] == "track";
    if (words.size() < 2 || words.size() > (isTrack ? 2u : 3u))
        return fail(isTrack ? "usage: track NAME" : "usage: pattern NAME [ROWS]");
    block_ = Block();
    block_.kind = isTrack ? Block::Track : Block::PatternBlock;
    block_.name = words[1];
    block_.startLine = line_;
    block_.rows = 64;
    if (isTrack && tracks_.count(words[1])) return fail("track '" + words[1] + "' is defined twice");
    for (const Pattern& p : song.patterns)
        if (!isTrack && p.name == words[1]) return fail("pattern '" + words[1] + "' is defined twice");
    if (words.size() == 3 &&
        (!toInt(words[2], block_.rows) || block_.rows < minRows || block_.rows > maxRows))
        return fail("pattern rows must be 1 to 200, got '" + words[2] + "'");
    return true;
}

bool ScoreParser::blockLine(const std::vector<std::string>& words, Song& song)
{
    if (words[0] == "end") return words.size() == 1 ? closeBlock(song) : fail("'end' takes nothing after it");
    if (block_.kind == Block::Track) return cells(words, 0, song, nullptr, block_.trackRows);
    int ch = findChannel(song, words[0]);
    if (ch < 0) return fail("unknown channel '" + words[0] + "'");
    return cells(words, 1, song, &song.channels[size_t(ch)], block_.channelRows[ch]);
}

bool ScoreParser::closeBlock(Song& song)
{
    if (block_.kind == Block::Track) {
        if (block_.trackRows.empty()) return fail("track '" + block_.name + "' is empty");
        tracks_[block_.name] = block_.trackRows;
        block_ = Block();
        return true;
    }
    Pattern p;
    p.name = block_.name;
    p.file = file_;
    p.line = block_.startLine;
    p.rows = block_.rows;
    p.cells.assign(size_t(p.rows), std::vector<Cell>(song.channels.size()));
    for (auto& [ch, rows] : block_.channelRows) {
        if (int(rows.size()) != p.rows)
            return fail("channel '" + song.channels[size_t(ch)].name + "' has " +
                        std::to_string(rows.size()) + " rows in pattern '" + p.name + "', which has " +
                        std::to_string(p.rows));
        for (int r = 0; r < p.rows; ++r) p.cells[size_t(r)][size_t(ch)] = rows[size_t(r)];
    }
    song.patterns.push_back(std::move(p));
    block_ = Block();
    return true;
}

// Fills in what a channel gives: the note of "x" and the default instrument.
static bool place(Cell c, const Channel* channel, int transpose, std::vector<Cell>& out)
{
    if (channel) {
        if (c.note == channelNote) c.note = channel->note;
        bool realNote = c.note >= 0 && c.note <= maxNote;
        if (realNote) c.note += transpose;
        if (realNote && c.sample == noValue) c.sample = channel->instrument;
        if (realNote && (c.note < 0 || c.note > maxNote)) return false;
    } else if (c.note >= 0 && c.note <= maxNote) {
        c.note += transpose;
        if (c.note < 0 || c.note > maxNote) return false;
    }
    out.push_back(c);
    return true;
}

bool ScoreParser::cells(const std::vector<std::string>& words, size_t first, const Song& song,
                        const Channel* channel, std::vector<Cell>& out)
{
    int step = 1;
    if (first < words.size() && words[first].rfind("step=", 0) == 0) {
        if (!toInt(words[first].substr(5), step) || step < 1 || step > maxRows)
            return fail("step must be 1 to 200, got '" + words[first] + "'");
        ++first;
    }
    for (size_t i = first; i < words.size(); ++i) {
        if (words[i][0] == '{') {
            if (!trackRef(words[i], channel, out)) return false;
            continue;
        }
        Cell c;
        if (!cell(words[i], song, c)) return false;
        if (!place(c, channel, 0, out)) return fail("note out of range in '" + words[i] + "'");
        for (int k = 1; k < step; ++k) out.push_back(Cell());
        if (int(out.size()) > maxRows) return fail("more than 200 rows");
    }
    return true;
}

bool ScoreParser::trackRef(const std::string& token, const Channel* channel, std::vector<Cell>& out)
{
    if (token.back() != '}') return fail("track reference '" + token + "' lacks '}'");
    std::string body = token.substr(1, token.size() - 2);
    size_t nameEnd = body.find_first_of("+-*>");
    std::string name = body.substr(0, nameEnd);
    auto it = tracks_.find(name);
    if (it == tracks_.end()) return fail("unknown track '" + name + "'");
    int transpose = 0, repeat = 1, delay = 0;
    while (nameEnd < body.size()) {
        char op = body[nameEnd];
        size_t next = body.find_first_of("+-*>", nameEnd + 1);
        int v = 0;
        if (!toInt(body.substr(nameEnd + 1, next - nameEnd - 1), v) || v < 0 || v > maxRows)
            return fail("bad number after '" + std::string(1, op) + "' in '" + token + "'");
        if (op == '+') transpose = v;
        if (op == '-') transpose = -v;
        if (op == '*') repeat = v;
        if (op == '>') delay = v;
        nameEnd = next;
    }
    // Checked before expanding: a line of long repeated references would
    // otherwise grow to millions of rows before the line's end is reached.
    if (out.size() + size_t(repeat) * it->second.size() > size_t(maxRows)) return fail("more than 200 rows");
    std::vector<Cell> rows;
    for (int r = 0; r < repeat; ++r) rows.insert(rows.end(), it->second.begin(), it->second.end());
    rows.insert(rows.begin(), size_t(delay), Cell());
    rows.resize(rows.size() - size_t(delay));
    for (const Cell& c : rows)
        if (!place(c, channel, transpose, out)) return fail("a note of '" + token + "' falls out of range");
    return true;
}

bool ScoreParser::cell(const std::string& token, const Song& song, Cell& out)
{
    size_t pos = token.find_first_of("@:!");
    std::string head = token.substr(0, pos);
    if (head == "." || head.empty())
        out.note = noValue;
    else if (head == "x")
        out.note = channelNote;
    else if (head == "^")
        out.note = noteCut;
    else if (head == "=")
        out.note = noteOff;
    else if ((out.note = parseNoteName(head)) < 0)
        return fail("'" + head + "' is not a note, '.', 'x', '^' or '='");
    while (pos < token.size()) {
        char kind = token[pos];
        size_t next = token.find_first_of("@:!", pos + 1);
        std::string arg = token.substr(pos + 1, next - pos - 1);
        if (kind == '@') {
            out.sample = findInstrument(song, arg);
            if (!out.sample) return fail("unknown instrument '" + arg + "' in '" + token + "'");
        } else if (kind == ':') {
            if (!toInt(arg, out.volume) || out.volume < 0 || out.volume > 64)
                return fail("volume must be 0 to 64 in '" + token + "'");
        } else {
            int hi = arg.size() == 3 ? hexDigit(arg[1]) : -1, lo = arg.size() == 3 ? hexDigit(arg[2]) : -1;
            char letter = arg.empty() ? '?' : arg[0];
            if (letter < 'A' || letter > 'Z' || hi < 0 || lo < 0)
                return fail("effect must be a capital letter and two hex digits in '" + token + "'");
            out.command = letter - 'A' + 1;
            out.param = hi * 16 + lo;
        }
        pos = next;
    }
    return true;
}

bool ScoreParser::finish(Song& song)
{
    file_ = orderFile_;
    if (orderNames_.empty()) {
        line_ = 0;
        return fail("the score has no order list");
    }
    for (const auto& [name, line] : orderNames_) {
        line_ = line;
        int found = -1;
        for (size_t i = 0; i < song.patterns.size(); ++i)
            if (song.patterns[i].name == name) found = int(i);
        if (found < 0) return fail("the order names an unknown pattern '" + name + "'");
        song.orders.push_back(found);
    }
    if (loopIndex_ >= int(orderNames_.size()))
        return fail("the loop mark '|:' is at the end of the order list");
    song.loopOrder = loopIndex_;
    if (song.orders.size() > 200) return fail("more than 200 orders");
    return true;
}

}  // namespace itw
