// The scroller. Its step is counted in frames, the one motion of the show that is.
#include "show/scroller.h"

#include <GL/gl.h>

#include "app/clock.h"
#include "platform/platform.h"
#include "show/resources.h"

ScrollerState scroller;

namespace {

constexpr float scrollStep = 0.32f;
constexpr float scrollTop = 8.0f;
constexpr float scrollBottom = 250.0f;
constexpr int upEdge = 20;     // pointer rows above this scroll back
constexpr int downEdge = 460;  // pointer rows below this scroll on
constexpr float textX = -11.52f;

void drawPanel()
{
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.3f, 0.3f, 1.0f, 0.5f - 0.025f * scroller.scrollerSlide);
    glBegin(GL_QUADS);
    glVertex3f(-0.5f, 1.0f, -1.0f);
    glVertex3f(0.47f, 1.0f, -1.0f);
    glVertex3f(0.47f, -1.0f, -1.0f);
    glVertex3f(-0.5f, -1.0f, -1.0f);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

}  // namespace

float scrolledY(float scrollY, bool up, bool down)
{
    if (down) {
        scrollY = scrollY + scrollStep;
        if (scrollY > scrollBottom) scrollY = scrollBottom;
    }
    if (up) {
        scrollY = scrollY - scrollStep;
        if (scrollY < scrollTop) scrollY = scrollTop;
    }
    return scrollY;
}

void drawScroller()
{
    glPushMatrix();
    int px = 0, py = 0;
    platform::getCursorPos(px, py);
    // The button is asked only when the pointer is at an edge, once per test.
    const bool up = py < upEdge && platform::asyncLeftButton();
    const bool down = py > downEdge && platform::asyncLeftButton();
    scroller.scrollerSlide = scroller.scrollerSlide - frameDelta() * scroller.scrollerSlide * 2.5f;
    drawPanel();
    scroller.scrollY = scrolledY(scroller.scrollY, up, down);
    if (scene.invitationText != nullptr)
        drawSceneText(scene.invitationText, textX - scroller.scrollerSlide, scroller.scrollY);
    glPopMatrix();
}
