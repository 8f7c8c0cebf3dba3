// The progress line a capture shows on a terminal: clock time done, a bar and the
// wall time left when the end is known, and the speed in frames per second.
#pragma once

#include <string>

// done and total in seconds of clock time (total <= 0: unknown); wall: seconds of
// real time so far.
std::string progressLine(double done, double total, double wall, unsigned long long frames);
