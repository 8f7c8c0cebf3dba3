// Sound output of the headless back end: the mix is rendered in step with the
// virtual clock into a 16-bit stereo WAV file (or only counted, with no file).
// At every swap the file holds exactly floor(ticks since time 0 x rate / ticks per
// second) frames, so the sound never drifts from the pictures.
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/common/little_endian.h"
#include "platform/headless/state.h"
#include "platform/sound/output.h"

namespace headless {

namespace {

constexpr int wavHeaderBytes = 44;
constexpr int bytesPerFrame = 4;  // 16-bit stereo
constexpr std::size_t renderChunkFrames = 4096;
constexpr std::uint64_t largestDataBytes = 0xFFFFFFFFu - 36;

void writeWavHeader(std::FILE* file, std::uint64_t frames, int rate)
{
    std::uint64_t dataBytes = frames * bytesPerFrame;
    if (dataBytes > largestDataBytes) dataBytes = largestDataBytes;
    std::uint8_t header[wavHeaderBytes];
    std::memcpy(header, "RIFF\0\0\0\0WAVEfmt ", 16);
    platform::put32(header + 4, std::uint32_t(36 + dataBytes));
    platform::put32(header + 16, 16);  // format chunk size
    platform::put16(header + 20, 1);   // PCM
    platform::put16(header + 22, 2);   // channels
    platform::put32(header + 24, std::uint32_t(rate));
    platform::put32(header + 28, std::uint32_t(rate * bytesPerFrame));
    platform::put16(header + 32, bytesPerFrame);
    platform::put16(header + 34, 16);  // bits per sample
    std::memcpy(header + 36, "data", 4);
    platform::put32(header + 40, std::uint32_t(dataBytes));
    std::fwrite(header, 1, sizeof header, file);
}

// frames x rate / ticksPerSecond, rounded down, without overflowing on long runs.
std::uint64_t framesAt(std::int64_t ticks, std::int64_t ticksPerSecond, int rate)
{
    const std::int64_t whole = ticks / ticksPerSecond;
    const std::int64_t part = ticks % ticksPerSecond;
    return std::uint64_t(whole * rate + part * rate / ticksPerSecond);
}

void appendFrames(std::uint64_t frames)
{
    std::vector<std::int16_t> chunk(renderChunkFrames * 2);
    while (frames > 0) {
        const std::size_t now = frames < renderChunkFrames ? std::size_t(frames) : renderChunkFrames;
        sound::mixPlaying(chunk.data(), now);
        // The file holds little-endian samples, which is this machine's own order.
        std::fwrite(chunk.data(), bytesPerFrame, now, state.wav);
        frames -= now;
    }
}

}  // namespace

void renderSoundToClock()
{
    if (!state.soundOpen || !state.clockStarted) return;
    const std::uint64_t target = framesAt(elapsedTicks(), state.config.ticksPerSecond, sound::mixRate());
    if (target <= state.soundFrames) return;
    if (state.wav) appendFrames(target - state.soundFrames);
    state.soundFrames = target;
}

void closeWav()
{
    if (!state.wav) return;
    flushSound();
    std::fclose(state.wav);
    state.wav = nullptr;
}

std::uint64_t flushSound()
{
    if (state.wav) {
        std::fseek(state.wav, 0, SEEK_SET);
        writeWavHeader(state.wav, state.soundFrames, sound::mixRate());
        std::fseek(state.wav, 0, SEEK_END);
        std::fflush(state.wav);
    }
    return state.soundFrames;
}

}  // namespace headless

namespace sound {

using headless::state;

float outputVersion() { return state.config.soundVersion; }

bool openOutput(int rate)
{
    if (state.config.failSoundInit) return false;
    state.soundOpen = true;
    state.soundFrames = 0;
    if (state.config.wavPath.empty()) return true;
    state.wav = std::fopen(state.config.wavPath.c_str(), "wb");
    if (!state.wav) {
        std::fprintf(stderr, "headless: cannot write %s; the sound is dropped\n",
                     state.config.wavPath.c_str());
        return true;
    }
    headless::writeWavHeader(state.wav, 0, rate);
    return true;
}

void closeOutput()
{
    headless::renderSoundToClock();
    headless::closeWav();
    state.soundOpen = false;
}

void lockOutput() {}
void unlockOutput() {}

}  // namespace sound
