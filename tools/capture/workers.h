// Threads that do the capture's background work (compressing PNG files, writing the
// video) while the show draws on, and how many frames may wait for them.
#pragma once

#include <cstddef>
#include <functional>
#include <thread>

// Starts `work` on a new thread that never takes Ctrl+C: that belongs to the
// drawing thread, which ends the run at the next frame.
std::thread startWorker(std::function<void()> work);

// How many frames of `frameBytes` may wait at a time: `wanted`, but at least one
// and never more than a fixed amount of memory.
std::size_t framesInMemory(std::size_t wanted, std::size_t frameBytes);
