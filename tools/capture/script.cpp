// Parser of the capture's input script.
#include "tools/capture/script.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "tools/capture/options.h"

namespace {

constexpr int pictureWidth = 640;
constexpr int pictureHeight = 480;
constexpr int maxVirtualKey = 255;
constexpr int keyEscape = 27;

using headless::Event;

std::string lower(std::string text)
{
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A word of the script as it can be shown in a message: bytes that are not
// printable ASCII appear as \xNN.
std::string quoted(const std::string& word)
{
    std::string out = "'";
    for (unsigned char c : word) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        out += c >= 0x20 && c < 0x7F ? std::string(1, char(c)) : std::string(hex);
    }
    return out + "'";
}

// Whole text as an integer in lo..hi.
bool parseInteger(const std::string& text, int lo, int hi, int& value)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::atoi(text.c_str());
    return value >= lo && value <= hi;
}

// A letter (either case), Escape, or a virtual-key number.
bool parseKey(const std::string& name, int& key)
{
    if (name.size() == 1 && std::isalpha(static_cast<unsigned char>(name[0]))) {
        key = std::toupper(static_cast<unsigned char>(name[0]));
        return true;
    }
    if (lower(name) == "escape") {
        key = keyEscape;
        return true;
    }
    return parseInteger(name, 1, maxVirtualKey, key);
}

// The words after the time; an empty result means the event is complete.
std::string parseEvent(const std::vector<std::string>& words, Event& event)
{
    const std::string verb = words.size() > 1 ? lower(words[1]) : "";
    std::size_t expected = 3;
    if (verb == "key") {
        event.kind = Event::Kind::Key;
        if (words.size() > 2 && !parseKey(words[2], event.key))
            return quoted(words[2]) + " is not a key (A..Z, Escape or a number 1..255)";
    } else if (verb == "mouse") {
        event.kind = Event::Kind::Mouse;
        expected = 4;
        if (words.size() == 4 && (!parseInteger(words[2], 0, pictureWidth - 1, event.x) ||
                                  !parseInteger(words[3], 0, pictureHeight - 1, event.y)))
            return "mouse position must be X 0..639 and Y 0..479";
    } else if (verb == "button") {
        std::string state = words.size() > 2 ? lower(words[2]) : "";
        if (words.size() > 2 && state != "down" && state != "up") return "button must be down or up";
        event.kind = state == "down" ? Event::Kind::ButtonDown : Event::Kind::ButtonUp;
    } else if (verb == "answer") {
        std::string answer = words.size() > 2 ? lower(words[2]) : "";
        if (words.size() > 2 && answer != "yes" && answer != "no") return "answer must be yes or no";
        event.kind = Event::Kind::Answer;
        event.yes = answer == "yes";
    } else if (verb == "close") {
        event.kind = Event::Kind::Close;
        expected = 2;
    } else {
        return verb.empty() ? "an event is missing after the time"
                            : "unknown event " + quoted(words[1]) + " (key, mouse, button, answer, close)";
    }
    if (words.size() != expected)
        return "'" + verb + "' takes " + std::to_string(expected - 2) + " argument(s)";
    return "";
}

std::vector<std::string> splitWords(const std::string& line)
{
    std::istringstream stream(line.substr(0, line.find('#')));
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

// One line's event, or the reason it is wrong.
std::string parseLine(const std::string& line, double previousTime, std::vector<Event>& events)
{
    std::vector<std::string> words = splitWords(line);
    if (words.empty()) return "";
    Event event;
    if (!parseSeconds(words[0], event.time)) return quoted(words[0]) + " is not a time in seconds";
    if (event.time < previousTime) return "time " + words[0] + " is earlier than the line before";
    std::string problem = parseEvent(words, event);
    if (problem.empty()) events.push_back(event);
    return problem;
}

}  // namespace

bool parseScript(const std::string& text, std::vector<Event>& events, std::string& error)
{
    std::istringstream stream(text);
    int lineNumber = 0;
    double previousTime = events.empty() ? 0.0 : events.back().time;
    for (std::string line; std::getline(stream, line);) {
        ++lineNumber;
        std::string problem = parseLine(line, previousTime, events);
        if (!problem.empty()) {
            error = "line " + std::to_string(lineNumber) + ": " + problem;
            return false;
        }
        if (!events.empty()) previousTime = events.back().time;
    }
    return true;
}
