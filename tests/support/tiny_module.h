// A small, valid Impulse Tracker module made on the spot for the sound tests: one
// looped square-wave sample, one pattern of 32 rows with a single note at its top.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::vector<std::uint8_t> tinyModule();
bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
// A directory for this process's files alone, made under $TMPDIR on first use and
// removed at exit, so that runs at the same time never share a file.
const std::string& scratchDirectory();
