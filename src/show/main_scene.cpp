// The main scene's script over the show's local time t: orange evening sky with
// the turning ray fan, the logo built piece by piece, day from 16 s with the
// landscape, the hint (or score line) and the free pointer from 22 s, the
// scroller from 25 s, and the unlock check last.
#include "show/main_scene.h"

#include <GL/gl.h>

#include "app/clock.h"
#include "app/timeline.h"
#include "gfx/color.h"
#include "gfx/procedural.h"
#include "gfx/random.h"
#include "gfx/vec3.h"
#include "hunt/flock.h"
#include "hunt/pointer.h"
#include "hunt/unlock.h"
#include "platform/platform.h"
#include "show/landscape.h"
#include "show/resources.h"
#include "show/scroller.h"

MainSceneState mainScene;

const char* const eventAddress = "www.quarzel.invalid";
const char* const eventLine = "www.quarzel.invalid schratten / ch 18. - 20. october";

namespace {

constexpr float dayStart = 16.0f;
constexpr float dayRate = 0.8f;
constexpr float maxRayRadius = 3.5f;
constexpr float rayGrowth = 2.0f;
constexpr float raySpin = 5.0f;  // degrees per second of total time
constexpr float liftStart = 16.5f;
constexpr float liftEnd = 22.0f;
constexpr float pointerStart = 22.0f;
constexpr float scrollerStart = 25.0f;
constexpr float hintX = -13.5f;
constexpr float hintY = -9.8f;

void drawHaze()
{
    glEnable(GL_TEXTURE_2D);
    bindTexture(procedural.hazeTexture);
    drawHazeLayer();
}

void drawLogo(float t, float dt)
{
    if (liftStart < t && t < liftEnd) mainScene.logoLift = mainScene.logoLift * (1.0f + dt);
    glPushMatrix();
    glTranslatef(0.0f, mainScene.logoLift * 2.5f, 0.0f);
    mainScene.logoStage = logoStageAt(mainScene.logoStage, t);
    drawLogoLine(mainScene.logoStage, wobbleActive(t), t);
    glPopMatrix();
}

void drawHintOrScore(const Flock& flock)
{
    glPushMatrix();
    if (flock.invitationMode) {
        drawSceneText("use mouse to scroll!", hintX, hintY);
    } else {
        char line[128];
        formatScoreLine(flock.deadCount, flock.aliveCount, line, sizeof line);
        drawSceneText(line, hintX, hintY);
    }
    glPopMatrix();
}

// One logo piece: its band of the picture, its place, its tilt axis.
struct LogoPiece {
    float x;
    float degreesPerUnit;
    Vec3 axis;
    float tTop;
    float tBottom;
};

void drawPieces(int stage, bool wobble)
{
    const Vec3 a(0.3f, 0.2f, 1.0f);
    const LogoPiece pieces[3] = {
        {-2.2f, 13.0f, Vec3(a.x, -a.y, a.z), 1.0f, 0.66f},
        {0.0f, 14.0f, Vec3(-a.x, a.y, -a.z), 0.66f, 0.33f},
        {2.2f, 13.0f, Vec3(-a.x, -a.y, a.z), 0.33f, 0.0f},
    };
    for (int k = 1; k <= 3; ++k) {
        if (stage <= k - 1) continue;
        const LogoPiece& p = pieces[k - 1];
        glPushMatrix();
        glTranslatef(p.x, 1.5f, 0.0f);
        if ((wobble && stage == k) || stage == 4)
            glRotatef(mainScene.wobbleAngle * p.degreesPerUnit, p.axis.x, p.axis.y, p.axis.z);
        texturedQuad(0.0f, 1.0f, p.tBottom, p.tTop, -1.0f, 1.0f, -0.33f, 0.33f);
        glPopMatrix();
    }
}

}  // namespace

float dayBlend(float t)
{
    if (t <= dayStart) return 0.0f;
    const float k = (t - dayStart) * dayRate;
    return k > 1.0f ? 1.0f : k;
}

void skyColourAt(float k, float (&out)[3])
{
    out[0] = 0.92156863f - 0.7372549f * k;
    out[1] = 0.69411767f - 0.2784314f * k;
    out[2] = 0.7647059f * k;
}

void sunColourAt(float k, float (&out)[3])
{
    out[0] = 0.8666667f + 0.109803915f * k;
    out[1] = 0.20784314f + 0.7647059f * k;
    out[2] = 0.03137255f + 0.87058824f * k;
}

int logoStageAt(int stage, float t)
{
    if (t - 2.0f > 0.0f) stage = 1;
    if (t - 6.5f > 0.0f) stage = 2;
    if (t - 11.0f > 0.0f) stage = 3;
    if (t - 15.0f > 0.0f) stage = 4;
    return stage;
}

bool wobbleActive(float t)
{
    return (2.0f < t && t < 4.0f) || (6.5f < t && t < 8.5f) || (11.0f < t && t < 13.0f) ||
           (15.0f < t && t < 16.5f);
}

float grownRayRadius(float radius, float dt)
{
    radius = radius + rayGrowth * dt;
    return radius > maxRayRadius ? maxRayRadius : radius;
}

void drawTurningSun(const float (&sun)[3], const float (&sky)[3], float dt)
{
    glPushMatrix();
    glRotatef(totalTime() * raySpin, 0.0f, 0.0f, 1.0f);
    mainScene.rayRadius = grownRayRadius(mainScene.rayRadius, dt);
    drawSunRays(mainScene.rayRadius, toByteColour(sun), toByteColour(sky));
    glPopMatrix();
}

void drawLogoLine(int stage, bool wobble, float t)
{
    const float dt = frameDelta();
    if (t > 2.0f) mainScene.lineSlide = mainScene.lineSlide - dt * mainScene.lineSlide;
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, 6.0f);
    drawSceneText(eventLine, mainScene.lineSlide - 8.56f, 4.6f);
    glPopMatrix();

    glPushMatrix();
    glEnable(GL_BLEND);
    if (wobble) {
        if (mainScene.wobbleAngle > 0.0f)
            mainScene.wobbleAngle = mainScene.wobbleAngle - 5.0f * dt;
        else
            mainScene.wobbleAngle = static_cast<float>(nextRandom() % 100) * 0.006666667f;
    }
    glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
    drawSprite(scene.logo, [stage, wobble] { drawPieces(stage, wobble); });
    glDisable(GL_BLEND);
    glPopMatrix();
}

void drawMainScene(const Effect& show, Flock& flock)
{
    const float t = show.getLocalTime();
    const float dt = frameDelta();
    const float k = dayBlend(t);
    skyColourAt(k, mainScene.skyColour);
    sunColourAt(k, mainScene.sunColour);
    glClearColor(mainScene.skyColour[0], mainScene.skyColour[1], mainScene.skyColour[2], 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glPushMatrix();  // scene frame
    drawHaze();
    drawTurningSun(mainScene.sunColour, mainScene.skyColour, dt);
    drawLogo(t, dt);
    if (t > dayStart) {
        drawLandscape(false);
        glPushMatrix();
        glTranslatef(0.0f, 0.0f, 6.0f);
        if (t > scrollerStart && flock.invitationMode) drawScroller();
        glPopMatrix();
    }
    glPopMatrix();

    if (t > pointerStart) {
        drawHintOrScore(flock);
        updatePointer(flock, scene.pointer);
    } else {
        platform::setCursorPos(320, 240);
    }
    checkUnlock(flock);
}
