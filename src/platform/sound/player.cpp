// Module loading and rendering over the Impulse Tracker player library. Its
// exceptions stop here: nothing above this file sees one.
#include "platform/sound/player.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cstdio>
#include <new>
#include <vector>

#include "platform/sound.h"

FMUSIC_MODULE::FMUSIC_MODULE() = default;
FMUSIC_MODULE::~FMUSIC_MODULE() = default;

namespace sound {

namespace {

// Larger files are refused before reading: no module of a demo comes near this.
constexpr long maxModuleBytes = 64L * 1024 * 1024;
constexpr std::size_t renderChunkFrames = 1024;
constexpr int loopForever = -1;

// Reads the whole file; soundErrorNone or the code of what went wrong.
int readWholeFile(const char* path, std::vector<char>& data)
{
    std::FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file) return soundErrorFileNotFound;
    int error = soundErrorNone;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    if (size < 0 || size > maxModuleBytes || std::fseek(file, 0, SEEK_SET) != 0) {
        error = soundErrorFileBad;
    } else {
        data.resize(std::size_t(size));
        if (size > 0 && std::fread(data.data(), 1, data.size(), file) != data.size())
            error = soundErrorFileBad;
    }
    std::fclose(file);
    return error;
}

}  // namespace

FMUSIC_MODULE* loadModule(const char* path, int& error)
{
    std::vector<char> data;
    error = readWholeFile(path, data);
    if (error != soundErrorNone) return nullptr;
    std::unique_ptr<FMUSIC_MODULE> module(new (std::nothrow) FMUSIC_MODULE);
    if (!module) {
        error = soundErrorMemory;
        return nullptr;
    }
    try {
        module->player = std::make_unique<openmpt::module>(data, module->log);
        module->player->set_repeat_count(loopForever);
        module->player->ctl_set_integer("dither", 0);  // the same module always gives the same samples
    } catch (const std::bad_alloc&) {
        error = soundErrorMemory;
        return nullptr;
    } catch (...) {
        error = soundErrorFileFormat;
        return nullptr;
    }
    return module.release();
}

void rewind(FMUSIC_MODULE& module)
{
    try {
        module.player->set_position_order_row(0, 0);
    } catch (...) {
        // A module the player cannot seek simply plays on from where it is.
    }
}

void renderAdding(FMUSIC_MODULE& module, int rate, std::int16_t* out, std::size_t frames)
{
    std::int16_t chunk[renderChunkFrames * 2];
    while (frames > 0) {
        const std::size_t want = std::min(frames, renderChunkFrames);
        std::size_t got = 0;
        try {
            got = module.player->read_interleaved_stereo(rate, want, chunk);
        } catch (...) {
            got = 0;
        }
        std::fill(chunk + got * 2, chunk + want * 2, std::int16_t(0));
        for (std::size_t i = 0; i < want * 2; ++i)
            out[i] = std::int16_t(std::clamp(int(out[i]) + int(chunk[i]), -32768, 32767));
        out += want * 2;
        frames -= want;
    }
}

}  // namespace sound
