// The pointer step of the hunt, run every main-scene frame after 22 seconds.
//
// Shooting rule: at most one shot per frame. A shot sets the latch; the latch is
// cleared when the pointer rests on a bird with the button up, or whenever the
// last window message was not a mouse move with the button held.
#include "hunt/pointer.h"

#include <cstdio>

#include "app/clock.h"
#include "app/input.h"
#include "hunt/flock.h"
#include "platform/platform.h"

PointerState pointerState;

namespace {

constexpr int topBandEnd = 20;        // rows above this are the top band
constexpr int bottomBandStart = 460;  // rows below this are the bottom band
constexpr int centreX = 320;
constexpr int centreY = 240;
constexpr float pixelsToUnits = 0.01f;
constexpr float pointerDepth = -6.2f;
constexpr float pointerHalfSize = 0.15f;
constexpr float hoverScale = 1.5f;

void fireOnce(Flock& flock, float sx, float sy)
{
    flock.shoot(sx, sy);
    pointerState.shotLatch = true;
}

// Hovering shows the enlarged crosshair; otherwise the button (as the window
// procedure saw it) fires once per latch.
bool hoverOrShoot(Flock& flock, float sx, float sy)
{
    const bool overBird = flock.birdAt(sx, sy) != 0;
    const bool button = input.leftButtonDown;
    if (overBird && !button) {
        pointerState.pointerScale = hoverScale;
        pointerState.shotLatch = false;
        return true;
    }
    if (pointerState.pointerScale > 1.0f) pointerState.pointerScale = 1.0f;
    if (button && !pointerState.shotLatch) fireOnce(flock, sx, sy);
    if (!button) pointerState.shotLatch = false;
    return false;
}

void pointerQuad(float s)
{
    const float h = pointerHalfSize * s;
    texturedQuad(0.0f, 1.0f, 0.0f, 1.0f, -h, h, -h, h);
}

}  // namespace

PointerBand pointerBandFor(int py)
{
    if (py < topBandEnd) return PointerBand::Top;
    if (py > bottomBandStart) return PointerBand::Bottom;
    return PointerBand::Middle;
}

float nextPointerScale(float scale, PointerBand band, float dt)
{
    if (band == PointerBand::Bottom) return -1.0f;
    if (band == PointerBand::Top) return scale;
    if (scale == -1.0f) return 1.0f;
    if (scale < 1.0f) return scale + dt;
    return scale;
}

void updatePointer(Flock& flock, const PointerSprites& sprites)
{
    int px = 0, py = 0;
    platform::getCursorPos(px, py);
    const PointerBand band = pointerBandFor(py);
    glPushMatrix();
    pointerState.pointerScale = nextPointerScale(pointerState.pointerScale, band, frameDelta());
    const float sx = (px - centreX) * pixelsToUnits;
    const float sy = (centreY - py) * pixelsToUnits;
    glEnable(GL_BLEND);
    glColor3f(1.0f, 1.0f, 1.0f);
    const bool hover = hoverOrShoot(flock, sx, sy);
    // Pressed since the last look, even without a mouse move: fire.
    if (platform::asyncLeftButton() && !pointerState.shotLatch) fireOnce(flock, sx, sy);
    // The edge arrow wins over the crosshair, the crosshair over the cursor.
    const TexturePair& sprite = band != PointerBand::Middle ? sprites.edge
                                : hover                     ? sprites.hover
                                                            : sprites.normal;
    glPushMatrix();
    glTranslatef(sx, sy, pointerDepth);
    const float s = pointerState.pointerScale;
    drawSprite(sprite, [s] { pointerQuad(s); });
    glPopMatrix();
    glDisable(GL_BLEND);
    glPopMatrix();
}

void formatScoreLine(int dead, int alive, char* out, std::size_t size)
{
    // Computed in double: 0 / -1 gives a negative zero, printed as "-0.00".
    double ratio = 0.0;
    if (dead + alive != 0) ratio = static_cast<double>(dead) / static_cast<double>(dead + alive) * 100.0;
    std::snprintf(out, size, "kill em all! - dead: %d alive: %d ratio: %.2f%%", dead, alive, ratio);
}
