// Text drawing in one blend state: frame x alpha + colour, the mask riding in the
// colour texture's alpha, every glyph in text order. Per pixel that is the sprite
// rule's mask pass and colour pass in one step, glyph after glyph, so neighbours
// whose quads overlap still meet in text order, and the software renderer computes
// frame x mask the same way for a mask in alpha as for a mask picture: the pixels
// of glyph-by-glyph drawing (glyph_sprites.cpp), at one state instead of two blend
// changes and two binds per glyph.
//
// Quads still go to the renderer in several draws, for the way it rasterises
// them: a draw with no corner outside the view is rasterised quad by quad, split
// along one diagonal; a draw with any corner outside goes through clipping, which
// splits every quad of the draw along the other diagonal, and the two differ by one
// step of colour at some glyph edges. So glyphs inside the view and glyphs across
// its border go in separate draws, as each went alone; glyphs wholly outside are
// left out (they draw nothing); a glyph too close to a border to tell goes alone.
#include "media/texture.h"
#include "show/font.h"

namespace {

constexpr float borderMargin = 1e-3f;  // of w: closer to a clip plane than this is "unsure"

// How a glyph's quad lies against the view volume.
enum class Reach { outside, inside, across, unsure };

// Projection x modelview, column-major: object to clip coordinates.
struct ClipTransform {
    float m[16];
};

ClipTransform currentClipTransform()
{
    float modelview[16], projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    ClipTransform clip{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k)
                clip.m[column * 4 + row] += projection[k * 4 + row] * modelview[column * 4 + k];
    return clip;
}

// Per clip plane (x, y, z, each below and above): bit set when the corner is
// clearly beyond it; `unsure` when the corner is near one of them.
struct CornerSide {
    int beyond = 0;
    bool unsure = false;
};

CornerSide sideOf(const ClipTransform& clip, float x, float y)
{
    const float* m = clip.m;
    const float w = m[3] * x + m[7] * y + m[15];
    CornerSide side;
    if (w <= 0.0f) return CornerSide{0, true};
    const float margin = borderMargin * w;
    for (int axis = 0; axis < 3; ++axis) {
        const float c = m[axis] * x + m[4 + axis] * y + m[12 + axis];
        if (c < -w - margin)
            side.beyond |= 1 << (2 * axis);
        else if (c > w + margin)
            side.beyond |= 2 << (2 * axis);
        else if (c < -w + margin || c > w - margin)
            side.unsure = true;
    }
    return side;
}

Reach reachOf(const ClipTransform& clip, const PlacedGlyph& g)
{
    constexpr float halfWidth = 0.2f, halfHeight = 0.5f;
    int beyondAll = ~0, beyondAny = 0;
    bool unsure = false;
    for (int corner = 0; corner < 4; ++corner) {
        const float x = g.x + ((corner & 1) ? halfWidth : -halfWidth);
        const float y = g.y + ((corner & 2) ? halfHeight : -halfHeight);
        const CornerSide side = sideOf(clip, x, y);
        beyondAll &= side.beyond;
        beyondAny |= side.beyond;
        unsure = unsure || side.unsure;
    }
    if (beyondAll != 0) return Reach::outside;
    if (unsure) return Reach::unsure;
    return beyondAny != 0 ? Reach::across : Reach::inside;
}

// The draw under way and what the text has laid out so far.
struct TextRun {
    const Font* font;
    ClipTransform clip;
    Reach open = Reach::outside;  // kind of the quads in the draw begun; outside: none begun
    bool anyGlyph = false;
    bool lastRed = false;
};

// Ends the draw begun. Touching the matrix (by nothing) keeps the next quads out
// of it: GL would otherwise join consecutive quads into one draw.
void endDraw(TextRun& run)
{
    if (run.open == Reach::outside) return;
    glEnd();
    glTranslatef(0.0f, 0.0f, 0.0f);
    run.open = Reach::outside;
}

void startText(const Font& font)
{
    glBlendFunc(GL_ONE, GL_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    bindTexture(font.colourTexture);
}

void drawGlyph(const PlacedGlyph& g, void* user)
{
    TextRun& run = *static_cast<TextRun*>(user);
    if (!run.anyGlyph) startText(*run.font);
    run.anyGlyph = true;
    run.lastRed = g.red;
    const Reach reach = reachOf(run.clip, g);
    if (reach == Reach::outside) return;
    if (reach != run.open || reach == Reach::unsure) {
        endDraw(run);
        glBegin(GL_QUADS);
        run.open = reach;
    }
    if (g.red)
        glColor3f(1.0f, 0.0f, 0.0f);
    else
        glColor3f(1.0f, 1.0f, 1.0f);
    glyphCorners(*run.font, g);
}

// The state glyph-by-glyph drawing ends in: the colour pass of the last glyph.
void leaveColourPass(const TextRun& run)
{
    glBlendFunc(GL_ONE, GL_ONE);
    if (run.lastRed)
        glColor3f(1.0f, 0.0f, 0.0f);
    else
        glColor3f(1.0f, 1.0f, 1.0f);
}

}  // namespace

void drawText(const Font& font, const char* text, float x, float y)
{
    if (!font.maskInAlpha) {
        drawTextGlyphByGlyph(font, text, x, y);
        return;
    }
    glPushMatrix();
    glEnable(GL_BLEND);
    glTranslatef(0.0f, 0.0f, textDepth);
    TextRun run{&font, currentClipTransform()};
    layoutText(font.glyphMap, text, x, y, drawGlyph, &run);
    endDraw(run);
    if (run.anyGlyph) leaveColourPass(run);
    glPopMatrix();
}
