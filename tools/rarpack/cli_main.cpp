// rarpack: makes RAR 2.0 archives, lists, tests and extracts them.
#include "cli.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using rarpack::cli::Options;

const char usageText[] =
    "usage: rarpack [--password P] [--solid] [--store] [--effort 1..9] [--quiet] ARCHIVE FILE...\n"
    "       rarpack --list ARCHIVE\n"
    "       rarpack --test [--password P] ARCHIVE\n"
    "       rarpack --extract DIR [--password P] [--force] ARCHIVE\n";

enum class Command { Pack, List, Test, Extract };

int usage(const char* problem)
{
    if (problem) std::fprintf(stderr, "rarpack: %s\n", problem);
    std::fputs(usageText, stderr);
    return 2;
}

bool parseEffort(const char* text, int& effort)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 1 || value > 9) return false;
    effort = static_cast<int>(value);
    return true;
}

// Takes the value of an option that needs one; null when it is missing.
const char* valueOf(int argc, char** argv, int& i) { return i + 1 < argc ? argv[++i] : nullptr; }

bool parseArguments(int argc, char** argv, Command& command, Options& o, std::string& problem)
{
    bool endOfOptions = false;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (endOfOptions || arg.empty() || arg[0] != '-' || arg == "-") {
            positional.push_back(arg);
        } else if (arg == "--") {
            endOfOptions = true;
        } else if (arg == "--password") {
            const char* v = valueOf(argc, argv, i);
            if (!v) {
                problem = "--password needs a value";
                return false;
            }
            o.password = v;
            o.havePassword = true;
        } else if (arg == "--effort") {
            const char* v = valueOf(argc, argv, i);
            if (!v || !parseEffort(v, o.effort)) {
                problem = "--effort needs a number from 1 to 9";
                return false;
            }
        } else if (arg == "--extract") {
            const char* v = valueOf(argc, argv, i);
            if (!v) {
                problem = "--extract needs a directory";
                return false;
            }
            o.directory = v;
            command = Command::Extract;
        } else if (arg == "--solid")
            o.solid = true;
        else if (arg == "--store")
            o.store = true;
        else if (arg == "--quiet")
            o.quiet = true;
        else if (arg == "--force")
            o.force = true;
        else if (arg == "--list")
            command = Command::List;
        else if (arg == "--test")
            command = Command::Test;
        else {
            problem = "unknown option " + arg;
            return false;
        }
    }
    if (positional.empty()) {
        problem = "no archive named";
        return false;
    }
    o.archive = positional[0];
    o.files.assign(positional.begin() + 1, positional.end());
    if (command == Command::Pack && o.files.empty()) {
        problem = "no files to pack";
        return false;
    }
    if (command != Command::Pack && !o.files.empty()) {
        problem = "too many arguments";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Command command = Command::Pack;
    Options options;
    std::string problem;
    if (argc < 2) return usage(nullptr);
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usageText, stdout);
        return 0;
    }
    if (!parseArguments(argc, argv, command, options, problem)) return usage(problem.c_str());
    if (options.havePassword && options.password.empty()) return usage("the password must not be empty");
    switch (command) {
    case Command::Pack:
        return rarpack::cli::runPack(options);
    case Command::List:
        return rarpack::cli::runList(options);
    case Command::Test:
        return rarpack::cli::runTest(options);
    case Command::Extract:
        return rarpack::cli::runExtract(options);
    }
    return 2;
}
