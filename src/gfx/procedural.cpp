// The haze glow, the sun disc and the sun mask, painted on canvases at start-up.
#include "gfx/procedural.h"

#include <cstdint>
#include <cstdlib>

#include "gfx/color_canvas.h"
#include "media/texture.h"

ProceduralTextures procedural;

namespace {

constexpr int canvasSize = 256;
constexpr int centre = 128;
constexpr int hazeRadius = 120;
constexpr int sunRadius = 80;
const Color warm(235, 222, 180);
const Color white(255, 255, 255);
const Color black(0, 0, 0);

// Each texture is the drawing canvas added onto a fresh black target.
void paintAndUpload(const ColorCanvas& drawing, GLuint& slot)
{
    ColorCanvas target(canvasSize, canvasSize);
    target.blend(Add, 1.0f, drawing);
    uploadCanvas(target, slot);
}

}  // namespace

void uploadCanvas(const ColorCanvas& canvas, GLuint& slot)
{
    slot = textureState.nextTextureId;
    const int rows = canvas.rowCount();
    const int columns = canvas.columnCount();
    auto* bytes = static_cast<std::uint8_t*>(std::malloc(std::size_t(rows) * columns * 3 + 1));
    if (!bytes) return;
    std::uint8_t* out = bytes;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const Color p = canvas.pixel(r, c);
            *out++ = p.red();
            *out++ = p.green();
            *out++ = p.blue();
        }
    }
    uploadTexture(bytes, rows, columns);
    std::free(bytes);
}

void createProceduralTextures()
{
    ColorCanvas drawing(canvasSize, canvasSize);
    drawing.drawRadialGradient(centre, centre, hazeRadius, warm);
    paintAndUpload(drawing, procedural.hazeTexture);

    drawing.clear();
    drawing.drawDisc(centre, centre, sunRadius, white);
    paintAndUpload(drawing, procedural.sunTexture);

    drawing.fill(white);
    drawing.drawDisc(centre, centre, sunRadius, black);
    paintAndUpload(drawing, procedural.sunMaskTexture);
}
