// Sun rays and landscape layers. Layering is by drawing order alone: mountains,
// birds, second meadow, meadow, Marlu.
#include "show/landscape.h"

#include <GL/gl.h>

#include <cmath>

#include "app/clock.h"
#include "gfx/procedural.h"
#include "hunt/flock.h"
#include "media/texture.h"
#include "show/resources.h"

LandscapeState landscape;

namespace {

constexpr float degreesToRadians = 0.017453294f;
constexpr float innerRadius = 0.25f;
constexpr float maxSinkFactor = 8.0f;
constexpr float driftEnd = 8.0f;
constexpr float birdsStart = 15.0f;
constexpr float meadowsStart = 5.0f;

// The quad of the sun glow and the haze: t runs downward here, as the procedural
// textures are round.
void glowQuad(float z = 0.0f) { texturedQuad(0.0f, 1.0f, 1.0f, 0.0f, -1.0f, 1.0f, -1.0f, 1.0f, z); }

void drawRay(int k, float radius, Color sun, Color sky)
{
    const float o = static_cast<float>(40 * k);
    const float c = static_cast<float>(2 * k);
    const float theta = o * degreesToRadians;
    const float sigma = std::sin(2.0f * c);
    const float phi = (o + 20.0f) * degreesToRadians - 0.1f * sigma * sigma;
    glBegin(GL_TRIANGLES);
    glColor3ub(sun.r, sun.g, sun.b);
    glVertex3f(innerRadius * std::cos(theta), innerRadius * std::sin(theta - 0.8f * sigma), 0.0f);
    glColor3ub(sky.r, sky.g, sky.b);
    glVertex3f(radius * std::cos(theta), radius * std::sin(theta), 0.0f);
    glColor3ub(sky.r, sky.g, sky.b);
    glVertex3f(radius * std::cos(phi), radius * std::sin(phi), 0.0f);
    glEnd();
}

void drawMountains()
{
    const LandscapeState& l = landscape;
    glColor3f(1.0f, 1.0f, 1.0f);
    glTranslatef(l.mountainDrift, -0.6f - l.mountainDrop - 0.6f * l.sinkFactor, 2.4f);
    glEnable(GL_BLEND);
    // Each quad shows its picture twice across.
    drawSprite(scene.mountainsRight, [] { texturedQuad(0.0f, 2.0f, 0.0f, 0.99f, -2.4f, 2.4f, -1.0f, 1.0f); });
    drawSprite(scene.mountainsLeft, [] { texturedQuad(0.0f, 2.0f, 0.0f, 0.99f, -7.2f, -2.4f, -1.0f, 1.0f); });
}

void drawMeadows()
{
    const LandscapeState& l = landscape;
    const float y = -2.06f - 1.7f * l.sinkFactor;
    glPushMatrix();
    glTranslatef(l.meadowSlide * 1.85f + 3.0f, y, -1.0f);
    glEnable(GL_BLEND);
    drawSprite(scene.secondMeadow, [] { texturedQuad(0.01f, 1.0f, 0.0f, 0.99f, -4.5f, -1.2f, -1.0f, 1.0f); });
    glPopMatrix();
    glPushMatrix();
    glTranslatef(l.meadowSlide * 2.0f + 3.0f, y, -1.0f);
    drawSprite(scene.meadow, [] { texturedQuad(0.01f, 1.0f, 0.0f, 0.99f, -2.0f, 1.0f, -1.0f, 1.0f); });
    glTranslatef(0.0f, 0.2f, 0.0f);
    drawSprite(scene.marlu, [] { texturedQuad(0.01f, 1.0f, 0.0f, 0.99f, -1.0f, 1.0f, -1.0f, 1.0f); });
    glPopMatrix();
}

}  // namespace

void drawHazeLayer()
{
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glTranslatef(0.0f, 0.0f, -6.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 0.2f);
    glowQuad(2.0f);
}

Color toByteColour(const float (&colour)[3])
{
    return Color(static_cast<int>(colour[0] * 255.0f), static_cast<int>(colour[1] * 255.0f),
                 static_cast<int>(colour[2] * 255.0f));
}

void drawSunRays(float radius, Color sun, Color sky)
{
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    for (int k = 0; k < 9; ++k) drawRay(k, radius, sun, sky);
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glEnable(GL_TEXTURE_2D);
    bindTexture(procedural.sunMaskTexture);
    glowQuad();
    glBlendFunc(GL_ONE, GL_ONE);
    glColor3ub(sun.r, sun.g, sun.b);
    glEnable(GL_TEXTURE_2D);
    bindTexture(procedural.sunTexture);
    glowQuad();
    glDisable(GL_BLEND);
}

void advanceLandscape(bool sink, float dt)
{
    LandscapeState& l = landscape;
    if (sink && l.sinkFactor < maxSinkFactor) l.sinkFactor = l.sinkFactor * (1.0f + 1.2f * dt);
    l.landscapeClock = l.landscapeClock + dt;
    if (l.driftClock < driftEnd) l.driftClock = l.driftClock + dt;
    if (l.driftClock > 1.0f)
        l.mountainDrift =
            l.mountainDrift + dt * ((driftEnd - l.driftClock) * 0.125f) * (7.0f - l.mountainDrop) * 0.126f;
    l.mountainDrop = l.mountainDrop - dt * l.mountainDrop;
}

void drawLandscape(bool sink)
{
    const float dt = frameDelta();
    glPushMatrix();
    if (sink && scene.flock != nullptr) scene.flock->respawnEnabled = false;
    advanceLandscape(sink, dt);
    drawMountains();
    glPopMatrix();

    glPushMatrix();
    glTranslatef(0.0f, 0.0f, 6.0f);
    if (landscape.landscapeClock > birdsStart && scene.flock != nullptr) scene.flock->updateAndDraw();
    glPopMatrix();

    if (landscape.landscapeClock > meadowsStart) {
        landscape.meadowSlide = landscape.meadowSlide - dt * landscape.meadowSlide;
        drawMeadows();
    }
    glDisable(GL_BLEND);
}
