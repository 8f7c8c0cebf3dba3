// Per-frame costs of the headless back end at 60 frames per second. Real time
// allows 16.7 ms per frame; a capture runs faster than real time only while the
// sum of these stays well below that.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "platform/headless.h"
#include "platform/sound.h"
#include "tiny_module.h"

namespace {

// One swap with 735 stereo frames of the module mixed and written to the WAV file.
void swapWithSound(benchmark::State& state)
{
    const std::string modulePath = scratchDirectory() + "/bench.it";
    const std::string wavPath = scratchDirectory() + "/bench.wav";
    writeFile(modulePath, tinyModule());
    headless::Config config;
    config.wavPath = wavPath;
    headless::configure(config);
    FSOUND_Init(44100, 32, 2);
    FMUSIC_MODULE* song = FMUSIC_LoadSong(modulePath.c_str());
    platform::counterNow();
    FMUSIC_PlaySong(song);
    for (auto _ : state) platform::swapBuffers();
    state.counters["real-time multiple"] =
        benchmark::Counter(double(state.iterations()) / 60, benchmark::Counter::kIsRate);
    headless::configure({});
    std::remove(modulePath.c_str());
    std::remove(wavPath.c_str());
}
BENCHMARK(swapWithSound)->Unit(benchmark::kMicrosecond);

// Reading back one 640 x 480 picture, top row first.
void readPicture(benchmark::State& state)
{
    headless::configure({});
    platform::registerWindowClass(nullptr);
    platform::createWindow("bench", 0, 0, 640, 480, platform::WindowStyle::FullScreen);
    platform::createGlContext(32, 16);
    for (auto _ : state) benchmark::DoNotOptimize(headless::readPicture());
    headless::configure({});
}
BENCHMARK(readPicture)->Unit(benchmark::kMicrosecond);

}  // namespace
