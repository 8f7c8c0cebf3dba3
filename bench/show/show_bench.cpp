// Frame cost of the show's busiest parts. The scroller's worst frame is a full
// window of text: 24 lines of up to 70 characters. Target: close to one
// full-screen sprite (the yardstick below) on the software renderer, so that the
// show keeps its frame rate on machines without a GPU. Times are wall clock; the
// renderer's threads do much of the work, so the CPU column (this thread) is not
// the cost.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "hunt/flock.h"
#include "media/texture.h"
#include "platform/headless.h"
#include "show/font.h"

namespace {

std::string invitationLike(int lines)
{
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += (i % 8 == 0) ? "$ a heading of the invitation $\n"
                             : "the mountains are calling, and this time they call loudly\n";
    return text;
}

void countGlyph(const PlacedGlyph&, void* user) { ++*static_cast<long*>(user); }

// Walking a whole 300-line text, as every scroller frame does above the window.
void BM_LayoutWholeText(benchmark::State& state)
{
    std::int32_t map[256];
    fillGlyphMap(map);
    const std::string text = invitationLike(300);
    long glyphs = 0;
    for (auto _ : state) layoutText(map, text.c_str(), -11.52f, 200.0f, countGlyph, &glyphs);
    benchmark::DoNotOptimize(glyphs);
}
BENCHMARK(BM_LayoutWholeText);

long ignoreMessages(const platform::Message&) { return 0; }

// A 640 x 480 headless window with the show's projection.
void openWindow()
{
    headless::configure(headless::Config{});
    platform::registerWindowClass(ignoreMessages);
    platform::createWindow("bench", 0, 0, 640, 480, platform::WindowStyle::Borderless);
    platform::createGlContext(32, 16);
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    platform::perspective(45.0, 640.0 / 480.0, 0.1, 1000.0);
    glMatrixMode(GL_MODELVIEW);
}

// A full window of text drawn on the headless software renderer: in one blend
// state (the font's mask in alpha, as the show's font has it), and glyph by glyph
// (two blend changes and two binds per glyph) for comparison.
void drawFullTextWindow(benchmark::State& state, bool maskInAlpha)
{
    openWindow();
    const std::vector<std::uint8_t> white(256 * 256 * 3, 255), black(256 * 256 * 3, 0);
    const Font inAlpha(white.data(), black.data(), 256, 256);
    const Font glyphByGlyph(inAlpha.colourTexture, inAlpha.maskTexture);
    const Font& font = maskInAlpha ? inAlpha : glyphByGlyph;
    const std::string text = invitationLike(30);
    glEnable(GL_BLEND);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        drawText(font, text.c_str(), -11.52f, 8.0f);
        glFinish();
    }
    platform::destroyGlContext();
}

void BM_DrawFullTextWindow(benchmark::State& state) { drawFullTextWindow(state, true); }
BENCHMARK(BM_DrawFullTextWindow)->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_DrawFullTextWindowGlyphByGlyph(benchmark::State& state) { drawFullTextWindow(state, false); }
BENCHMARK(BM_DrawFullTextWindowGlyphByGlyph)->Unit(benchmark::kMillisecond)->Iterations(30);

// One full-screen quad by the sprite rule, the yardstick for a text window.
void BM_DrawFullScreenSprite(benchmark::State& state)
{
    openWindow();
    const std::vector<std::uint8_t> white(256 * 256 * 3, 255), black(256 * 256 * 3, 0);
    const TexturePair pair{uploadTexture(white.data(), 256, 256), uploadTexture(black.data(), 256, 256)};
    glEnable(GL_BLEND);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        drawSprite(pair, [] { texturedQuad(0, 1, 0, 1, -14, 14, -10.5f, 10.5f, -25); });
        glFinish();
    }
    platform::destroyGlContext();
}
BENCHMARK(BM_DrawFullScreenSprite)->Unit(benchmark::kMillisecond)->Iterations(30);

// One hunt frame of the flock's arithmetic (ten birds, no drawing).
void BM_FlockUpdate(benchmark::State& state)
{
    Flock flock;
    flock.invitationMode = false;
    for (auto _ : state) flock.update(1.0f / 60.0f);
    benchmark::DoNotOptimize(flock.positions[0].x);
}
BENCHMARK(BM_FlockUpdate);

}  // namespace
