// The main scene: the timed script from the evening sky to the invitation.
#pragma once

class Effect;
struct Flock;

struct MainSceneState {
    float skyColour[3] = {0.0f, 0.0f, 0.0f};  // this frame's sky; the outro starts from it
    float sunColour[3] = {0.0f, 0.0f, 0.0f};  // this frame's sun
    float rayRadius = 0.0f;                   // grows by 2 per second up to 3.5
    float logoLift = 0.1f;                    // upward offset factor of logo and line
    float lineSlide = -36.0f;                 // the event line's way still to glide
    int logoStage = 0;                        // logo pieces shown; 4: all of them tilt
    float wobbleAngle = 0.0f;                 // tilt of a wobbling piece
};

extern MainSceneState mainScene;

// The event's address and line under the logo.
extern const char* const eventAddress;
extern const char* const eventLine;

// Evening to day: 0 until 16 s, then 1 after 1.25 s.
float dayBlend(float t);
// Sky and sun at day blend k.
void skyColourAt(float k, float (&out)[3]);
void sunColourAt(float k, float (&out)[3]);
// The logo stage reached at t (strict thresholds 2, 6.5, 11, 15).
int logoStageAt(int stage, float t);
// Whether a logo piece wobbles at t.
bool wobbleActive(float t);
// Ray growth: 2 per second, at most 3.5.
float grownRayRadius(float radius, float dt);

// The ray fan in sun and sky colours, turned by total time and grown by dt.
void drawTurningSun(const float (&sun)[3], const float (&sky)[3], float dt);

// One frame of the main scene at the show's local time; the flock is the show's.
void drawMainScene(const Effect& show, Flock& flock);
// The event line and the logo pieces; t is the show's local time.
void drawLogoLine(int stage, bool wobble, float t);
