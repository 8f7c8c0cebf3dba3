// The flock: flight, wing flaps, re-entry at the edges, hits and the two counters.
//
// Re-entry rule: a bird that has left the area (past the side limit heading
// outward, above 2.8 or below -9) comes back while respawning is on, at a new
// height, with its horizontal direction reversed. During the hunt a living bird
// that comes back heading toward the middle has escaped, and counts as such.
#include "hunt/flock.h"

#include "app/clock.h"
#include "assets/media_manifest.h"
#include "gfx/random.h"

FlockModule flockModule;

namespace {

constexpr float speedFactor = 1.5f;
constexpr float frameSeconds = 0.1f;
constexpr int frameCount = 4;
constexpr float invitationLimit = 8.0f;
constexpr float huntLimit = 4.0f;
constexpr int invitationBirds = 2;
constexpr float topLimit = 2.8f;
constexpr float bottomLimit = -9.0f;
constexpr float sideEdge = 4.0f;
constexpr float hitRadius = 0.25f;
constexpr float birdHalfSize = 0.35f;
constexpr float birdDepth = -6.2f;
constexpr float fallSpeed = -1.5f;

float randomVerticalSpeed() { return 0.1f - static_cast<float>(nextRandom() % 100) * 0.0033333334f; }

bool hasLeft(const Vec3& p, const Vec3& v, float limit)
{
    return (p.x > limit && v.x > 0.0f) || (p.x < -limit && v.x < 0.0f) || p.y > topLimit || p.y < bottomLimit;
}

}  // namespace

float sideEdgeFor(float x) { return x >= 0.0f ? sideEdge : -sideEdge; }

Flock::Flock()
{
    for (int i = 0; i < birdCount; ++i) {
        positions[i].set(-4.0f - i, (10 - i) * 0.6666667f - 1.5f, 0.0f);
        const int b = nextRandom() % 100;
        const int a = nextRandom() % 100;
        velocities[i].set(0.5f + a * 0.01f, 0.1f - b * 0.0033333334f, 0.0f);
        alive[i] = true;
        frame[i] = i % 3;
        frameTimer[i] = 0.0f;
    }
}

void Flock::loadSprites()
{
    static const char* const colours[] = {media::vogelfl1Bmp, media::vogelfl2Bmp, media::vogelfl3Bmp,
                                          media::vogelfl2Bmp};
    static const char* const masks[] = {media::vogelfl1mBmp, media::vogelfl2mBmp, media::vogelfl3mBmp,
                                        media::vogelfl2mBmp};
    for (int f = 0; f < frameCount; ++f) loadTexture(flightSprites[f].colour, colours[f]);
    loadTexture(deadSprite.colour, media::vogeltotBmp);
    for (int f = 0; f < frameCount; ++f) loadTexture(flightSprites[f].mask, masks[f]);
    loadTexture(deadSprite.mask, media::vogeltotmBmp);
    for (int f = 0; f < frameCount; ++f) putSpriteMaskIntoAlpha(flightSprites[f], colours[f], masks[f]);
    putSpriteMaskIntoAlpha(deadSprite, media::vogeltotBmp, media::vogeltotmBmp);
}

void Flock::update(float dt)
{
    const int n = invitationMode ? invitationBirds : birdCount;
    const float limit = invitationMode ? invitationLimit : huntLimit;
    for (int i = 0; i < n; ++i) {
        positions[i] += (velocities[i] * dt) * speedFactor;
        frameTimer[i] += dt;
        if (frameTimer[i] > frameSeconds) {
            frameTimer[i] = 0.0f;
            frame[i] = (frame[i] + 1) % frameCount;
        }
        if (!hasLeft(positions[i], velocities[i], limit) || !respawnEnabled) continue;
        float x = positions[i].x;
        const float y = static_cast<float>(nextRandom() % 180) * 0.01f - 0.15f;
        if (-sideEdge < x && x < sideEdge) x = sideEdgeFor(x);
        positions[i].set(x, y, 0.0f);
        const float vx = -velocities[i].x;
        velocities[i].set(vx, randomVerticalSpeed(), 0.0f);
        if (alive[i] && !invitationMode && !flockModule.wasInvitationMode && x * vx < 0.0f) aliveCount += 1;
        alive[i] = true;
    }
    flockModule.wasInvitationMode = invitationMode;
}

void Flock::draw() const
{
    const int n = invitationMode ? invitationBirds : birdCount;
    for (int i = 0; i < n; ++i) {
        // A bird flying right shows its picture mirrored.
        const float side = velocities[i].x >= 0.0f ? birdHalfSize : -birdHalfSize;
        glPushMatrix();
        glTranslatef(positions[i].x, positions[i].y, positions[i].z + birdDepth);
        glEnable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        drawSprite(alive[i] ? flightSprites[frame[i]] : deadSprite, [side] {
            texturedQuad(1.0f, 0.0f, 0.0f, 1.0f, -side, side, -birdHalfSize, birdHalfSize);
        });
        glDisable(GL_BLEND);
        glPopMatrix();
    }
}

void Flock::updateAndDraw()
{
    update(frameDelta());
    draw();
}

int Flock::birdAt(float x, float y) const
{
    if (invitationMode) return 0;
    const Vec3 pointer(x, y, 0.0f);
    for (int i = 0; i < birdCount; ++i)
        if (alive[i] && (positions[i] - pointer).length() < hitRadius) return i + 1;
    return 0;
}

bool Flock::shoot(float x, float y)
{
    const int hit = birdAt(x, y);
    if (hit == 0) return false;
    const int k = hit - 1;
    velocities[k].set(velocities[k].x, fallSpeed, fallSpeed);
    alive[k] = false;
    deadCount += 1;
    return true;
}
