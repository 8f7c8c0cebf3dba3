// The outro frame, in drawing order: sky, haze, rays, sinking landscape, Fenno with
// the credits bands, then from 11 s the fade and the closing texts.
#include "show/outro.h"

#include <GL/gl.h>

#include <cmath>

#include "app/clock.h"
#include "app/input.h"
#include "app/timeline.h"
#include "gfx/procedural.h"
#include "media/texture.h"
#include "platform/platform.h"
#include "show/landscape.h"
#include "show/main_scene.h"
#include "show/resources.h"

OutroState outro;

namespace {

constexpr float blendStart = 2.0f;
constexpr float blendRate = 0.8f;
constexpr float skyTarget[3] = {0.84313726f, 0.6156863f, 0.0f};
constexpr float sunTarget[3] = {0.8666667f, 0.20784314f, 0.03137255f};
constexpr float fennoStart = 0.5f;
constexpr float titlesStart = 11.0f;
constexpr float quitTime = 17.0f;
constexpr float quarterTurn = 1.5707965f;
constexpr float eighthTurn = 0.78539824f;

void drawHaze()
{
    glEnable(GL_TEXTURE_2D);
    bindTexture(procedural.hazeTexture);
    glPushMatrix();  // level 1, popped at the end of the frame
    drawHazeLayer();
}

// A credits band's quads: texture rectangle onto vertex rectangle.
struct BandQuad {
    float s0, s1, t0, t1, x0, x1, y0, y1;
};

constexpr float bandThreshold[4] = {5.0f, 4.25f, 3.5f, 6.25f};
constexpr BandQuad bandQuads[4][2] = {
    {{0.0f, 1.0f, 0.3f, 0.5f, -1.0f, 1.0f, -0.17f, 0.17f}, {}},
    {{0.0f, 1.0f, 0.67f, 0.85f, -1.0f, 1.0f, -0.17f, 0.17f},
     {0.4f, 1.0f, 0.5f, 0.67f, 0.05f, 1.35f, -0.17f, 0.17f}},
    {{0.0f, 1.0f, 0.85f, 1.0f, -1.0f, 1.0f, -0.15f, 0.15f}, {}},
    {{0.0f, 1.0f, 0.05f, 0.3f, -1.0f, 1.0f, -0.19f, 0.19f}, {}},
};
constexpr int bandQuadCount[4] = {1, 2, 1, 1};

void drawBand(int band, float d, float w)
{
    float& shrink = outro.bandShrink[band];
    shrink = shrink - d * shrink * 1.2f;
    float x = 0.0f, y = 0.0f;
    creditsBandOffset(band, w, x, y);
    glPushMatrix();
    glScalef(1.0f - shrink, 1.0f - shrink, 1.0f);
    glTranslatef(x, y, 0.0f);
    drawSprite(scene.credits, [band] {
        for (int q = 0; q < bandQuadCount[band]; ++q) {
            const BandQuad& b = bandQuads[band][q];
            texturedQuad(b.s0, b.s1, b.t0, b.t1, b.x0, b.x1, b.y0, b.y1);
        }
    });
    glPopMatrix();
}

void drawFennoAndCredits(float t, float d)
{
    outro.fennoOffset = outro.fennoOffset - d * outro.fennoOffset;
    glTranslatef(-outro.fennoOffset, 0.0f, 0.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_BLEND);
    drawSprite(scene.fenno, [] { texturedQuad(0.0f, 0.99f, 0.0f, 0.99f, -1.0f, 1.0f, -1.0f, 1.0f); });
    glTranslatef(1.0f, 0.5f, 0.0f);  // the credits' anchor, up right of Fenno
    glPushMatrix();
    const float w = totalTime() * quarterTurn;
    for (int band = 0; band < 4; ++band)
        if (t > bandThreshold[band]) drawBand(band, d, w);
    glPopMatrix();
}

void drawEndTitles(float t, float d)
{
    // The frame is multiplied by 12 - t: black from 12 s on.
    float fade = 12.0f - t;
    if (fade < 0.0f) fade = 0.0f;
    if (fade > 1.0f) fade = 1.0f;
    glColor3f(fade, fade, fade);
    glEnable(GL_BLEND);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glTranslatef(0.0f, 0.0f, 4.0f);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glVertex3f(-1.5f, 1.0f, 0.0f);
    glVertex3f(1.5f, 1.0f, 0.0f);
    glVertex3f(1.5f, -1.0f, 0.0f);
    glVertex3f(-1.5f, -1.0f, 0.0f);
    glEnd();
    outro.textDrop = outro.textDrop - d * outro.textDrop;
    drawSceneText("join the quarzel\nschratten /  ch\n18. - 20. october", -2.4f, -outro.textDrop);
    drawSceneText(eventAddress, -2.24f, -outro.textDrop - 4.0f);
    drawSceneText(" press escape to quit", -3.04f, -outro.textDrop - 7.0f);
    input.outroDone = true;
}

}  // namespace

void creditsBandOffset(int band, float w, float& x, float& y)
{
    switch (band) {
    case 0:
        x = std::cos(w) * 0.08f;
        y = std::sin(w) * std::cos(w) * 0.08f - 0.7f;
        break;
    case 1:
        x = std::sin(w + eighthTurn) * 0.12f;
        y = std::cos(w) * (std::sin(w + eighthTurn) + 1.0f) * 0.08f - 0.35f;
        break;
    case 2:
        x = std::sin(w) * 0.08f;
        y = std::cos(w) * (1.0f - std::sin(w)) * 0.08f;
        break;
    default:
        x = std::cos(w) * 0.08f - 1.0f;
        y = std::cos(w) * (1.0f - std::sin(w)) * 0.08f - 1.9f;
        break;
    }
}

float outroBlend(float t)
{
    if (t <= blendStart) return 0.0f;
    const float a = (t - blendStart) * blendRate;
    return a > 1.0f ? 1.0f : a;
}

void drawOutro(Effect& show)
{
    if (!outro.started) {
        show.setLocalTime(0.0f);
        outro.started = true;
    }
    const float t = show.getLocalTime();
    const float d = frameDelta();
    const float a = outroBlend(t);
    float sky[3], sun[3];
    for (int c = 0; c < 3; ++c) {
        sky[c] = mainScene.skyColour[c] + a * (skyTarget[c] - mainScene.skyColour[c]);
        sun[c] = mainScene.sunColour[c] + a * (sunTarget[c] - mainScene.sunColour[c]);
    }
    glClearColor(sky[0], sky[1], sky[2], 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawHaze();
    drawTurningSun(sun, sky, d);
    drawLandscape(true);
    glPushMatrix();  // level 2
    if (t > fennoStart) drawFennoAndCredits(t, d);
    glPopMatrix();
    if (t > titlesStart) drawEndTitles(t, d);
    glPopMatrix();  // level 1
    if (t > quitTime) platform::postQuitMessage(0);
}
