#include "compose.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

int wrap(int i, int n) { return ((i % n) + n) % n; }

constexpr int samplesPerAxis = 3;

}  // namespace

void sampleTexture(const RgbPicture& tex, double s, double t, double out[3])
{
    // Texel centres sit at (i + 0.5) / size; row 0 of the picture is its top.
    double fx = s * tex.width - 0.5, fy = (1 - t) * tex.height - 0.5;
    int ix = int(std::floor(fx)), iy = int(std::floor(fy));
    double ax = fx - ix, ay = fy - iy;
    const std::uint8_t* p00 = tex.at(wrap(ix, tex.width), wrap(iy, tex.height));
    const std::uint8_t* p10 = tex.at(wrap(ix + 1, tex.width), wrap(iy, tex.height));
    const std::uint8_t* p01 = tex.at(wrap(ix, tex.width), wrap(iy + 1, tex.height));
    const std::uint8_t* p11 = tex.at(wrap(ix + 1, tex.width), wrap(iy + 1, tex.height));
    for (int c = 0; c < 3; ++c)
        out[c] = (p00[c] * (1 - ax) + p10[c] * ax) * (1 - ay) + (p01[c] * (1 - ax) + p11[c] * ax) * ay;
}

namespace {

// One canvas pixel: the average of the sprite rule over its sub-samples.
void composePixel(std::uint8_t* px, const SpriteImages& sprite, const TexturedRect& r, double x, double y,
                  Tint tint)
{
    double tintRgb[3] = {tint.r, tint.g, tint.b};
    double sum[3] = {0, 0, 0};
    for (int j = 0; j < samplesPerAxis; ++j)
        for (int i = 0; i < samplesPerAxis; ++i) {
            double u = (x + (i + 0.5) / samplesPerAxis - r.x0) / (r.x1 - r.x0);
            double v = (y + (j + 0.5) / samplesPerAxis - r.y0) / (r.y1 - r.y0);
            double s = r.s0 + u * (r.s1 - r.s0), t = r.t0 + v * (r.t1 - r.t0);
            double m[3], c[3];
            sampleTexture(sprite.mask, s, t, m);
            sampleTexture(sprite.colour, s, t, c);
            for (int k = 0; k < 3; ++k) sum[k] += px[k] * m[k] / 255 + c[k] * tintRgb[k];
        }
    for (int k = 0; k < 3; ++k)
        px[k] = std::uint8_t(std::clamp(sum[k] / (samplesPerAxis * samplesPerAxis), 0.0, 255.0));
}

}  // namespace

void drawSprite(RgbPicture& canvas, const SpriteImages& sprite, const TexturedRect& r, Tint tint, Clip clip)
{
    if (sprite.colour.pixels.empty() || sprite.mask.pixels.empty()) return;
    int xa = std::max({0, clip.x0, int(std::floor(std::min(r.x0, r.x1)))});
    int xb = std::min({canvas.width, clip.x1, int(std::ceil(std::max(r.x0, r.x1)))});
    int ya = std::max({0, clip.y0, int(std::floor(std::min(r.y0, r.y1)))});
    int yb = std::min({canvas.height, clip.y1, int(std::ceil(std::max(r.y0, r.y1)))});
    for (int y = ya; y < yb; ++y)
        for (int x = xa; x < xb; ++x) composePixel(canvas.at(x, y), sprite, r, x, y, tint);
}

void fillRect(RgbPicture& canvas, int x0, int y0, int x1, int y1, const std::uint8_t rgb[3])
{
    for (int y = std::max(0, y0); y < std::min(canvas.height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(canvas.width, x1); ++x)
            std::memcpy(canvas.at(x, y), rgb, 3);
}

namespace {

// The show's character-to-glyph map for the characters the sheet writes.
int glyphFor(unsigned char c)
{
    static const char punctuation[] = ".,;:+-_#*~!\"";
    if (c >= 'a' && c <= 'z') return c - 'a';
    if (c >= '0' && c <= '9') return 64 + (c - '0');
    if (const char* p = std::strchr(punctuation, c); p && c) return 30 + int(p - punctuation);
    static const char more[] = "%&/()=?\\{}[]";
    if (const char* p = std::strchr(more, c); p && c) return 44 + int(p - more);
    if (c == '^') return 57;
    if (c == '`') return 60;
    if (c == '@') return 61;
    return -1;
}

constexpr double cellW = 0.06140625, cellH = 0.111328125;

}  // namespace

void drawText(RgbPicture& canvas, const SpriteImages& font, const std::string& text, double x, double y,
              double unit)
{
    double penX = x, penY = y;
    for (unsigned char c : text) {
        if (c == '\n') {
            penX = x;
            penY += 0.8 * unit;
            continue;
        }
        if (int g = glyphFor(c); g >= 0) {
            double s0 = (g % 16) * cellW, tTop = 1 - (g / 16) * cellH;
            drawSprite(canvas, font,
                       {penX - 0.2 * unit, penY - 0.5 * unit, penX + 0.2 * unit, penY + 0.5 * unit, s0, tTop,
                        s0 + cellW, tTop - cellH});
        }
        penX += 0.32 * unit;
    }
}
