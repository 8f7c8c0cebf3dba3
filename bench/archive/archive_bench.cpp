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
BENCHMARK_CAPTURE(extractMember, audio_2ch, "BoatModernEnglish-audio-text-unpack20.rar", "BoatModernEnglish.wav", nullptr);
BENCHMARK_CAPTURE(extractMember, lz_wav, "BoatModernEnglish-regular-unpack20.rar", "BoatModernEnglish.wav", nullptr);
BENCHMARK_CAPTURE(extractMember, stored, "test_v2.rar", "p0.bin", nullptr);

}  // namespace
