// Extraction speed of whole calls (open, walk, decode, CRC) on the largest real
// archives: LZ, audio, encrypted. Bytes per second count the unpacked output.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "archive/rarreader.h"

namespace {

void extractMember(benchmark::State& state, const char* archive, const char* member, const char* password)
{
    const std::string path = std::string(ZW_RAR_FIXTURES) + "/" + archive;
    std::uint32_t size = 0;
    for (auto _ : state) {
        std::uint8_t* data = nullptr;
        if (!extractToMemory(&data, &size, member, path.c_str(), password)) {
            state.SkipWithError(lastReaderMessage());
            return;
        }
        benchmark::DoNotOptimize(data);
        std::free(data);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * size);
}

BENCHMARK_CAPTURE(extractMember, lz_jpeg, "Rar2.rar", "jpg\\test.jpg", nullptr);
BENCHMARK_CAPTURE(extractMember, lz_exe, "Rar2.rar", "exe\\test.exe", nullptr);
BENCHMARK_CAPTURE(extractMember, audio_1ch, "mm.rar", "1.M", nullptr);
BENCHMARK_CAPTURE(extractMember, audio_2ch, "BoatModernEnglish-audio-text-unpack20.rar",
                  "BoatModernEnglish.wav", nullptr);
BENCHMARK_CAPTURE(extractMember, lz_wav, "BoatModernEnglish-regular-unpack20.rar", "BoatModernEnglish.wav",
                  nullptr);
BENCHMARK_CAPTURE(extractMember, stored, "test_v2.rar", "p0.bin", nullptr);

// Damaged archives of a few bytes that declare members of 256 MiB, the largest
// size the reader hands out, with nothing behind them (found by fuzzing): a call
// must cost what the data cost, not what the header claims. `members` names are
// x0, x1 ... (as `rarpack --test` asks for each), or the one "x".
void refuseDeclaredSize(benchmark::State& state, const char* archive, int members)
{
    const std::string path = std::string(ZW_FUZZ_CORPUS) + "/archive/" + archive;
    for (auto _ : state) {
        for (int i = 0; i < members; ++i) {
            const std::string name = members == 1 ? "x" : "x" + std::to_string(i);
            std::uint8_t* data = nullptr;
            std::uint32_t size = 0;
            if (extractToMemory(&data, &size, name.c_str(), path.c_str(), nullptr)) {
                state.SkipWithError("a damaged archive was accepted");
                std::free(data);
                return;
            }
        }
    }
}

BENCHMARK_CAPTURE(refuseDeclaredSize, compressed, "declares-256MiB.rar", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(refuseDeclaredSize, stored, "declares-256MiB-stored.rar", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(refuseDeclaredSize, eight_members, "eight-declare-256MiB.rar", 8)
    ->Unit(benchmark::kMillisecond);

}  // namespace
