// The rarpack command line: option parsing lives in cli_main.cpp, each command
// in a file of its own. Commands return the process exit status.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rarpack::cli {

struct Options {
    std::string password;
    bool havePassword = false;
    bool solid = false;
    bool store = false;
    bool quiet = false;
    bool force = false;  // --extract may replace existing files
    int effort = 6;
    std::string archive;
    std::string directory;  // --extract
    std::vector<std::string> files;
};

int runPack(const Options& options);
int runList(const Options& options);
int runTest(const Options& options);
int runExtract(const Options& options);

// Reads a whole file; false with a message naming the file.
bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& data, std::string& error);
void printError(const std::string& message);

}  // namespace rarpack::cli
