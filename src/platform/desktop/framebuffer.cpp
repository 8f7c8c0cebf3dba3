// The program's off-screen picture: a framebuffer of the picture's size with a
// 16-bit depth buffer. At the swap it is scaled into the window with its aspect
// kept (black bars, linear filter); the program's own GL state is left as it was.
#include <cstdio>

#include "platform/common/letterbox.h"
#include "platform/desktop/state.h"

namespace platform::desktop {

namespace {

template <typename Function>
bool lookUp(Function& function, const char* name)
{
    function = reinterpret_cast<Function>(SDL_GL_GetProcAddress(name));
    return function != nullptr;
}

bool lookUpFramebufferCalls(Framebuffer& fb)
{
    return lookUp(fb.genFramebuffers, "glGenFramebuffers") &&
           lookUp(fb.deleteFramebuffers, "glDeleteFramebuffers") &&
           lookUp(fb.bindFramebuffer, "glBindFramebuffer") &&
           lookUp(fb.genRenderbuffers, "glGenRenderbuffers") &&
           lookUp(fb.deleteRenderbuffers, "glDeleteRenderbuffers") &&
           lookUp(fb.bindRenderbuffer, "glBindRenderbuffer") &&
           lookUp(fb.renderbufferStorage, "glRenderbufferStorage") &&
           lookUp(fb.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
           lookUp(fb.checkFramebufferStatus, "glCheckFramebufferStatus") &&
           lookUp(fb.blitFramebuffer, "glBlitFramebuffer");
}

GLuint makeRenderbuffer(Framebuffer& fb, GLenum format, int width, int height, GLenum attachment)
{
    GLuint name = 0;
    fb.genRenderbuffers(1, &name);
    fb.bindRenderbuffer(GL_RENDERBUFFER, name);
    fb.renderbufferStorage(GL_RENDERBUFFER, format, width, height);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, name);
    return name;
}

// Black bars: cleared with black, whatever clear colour the program has set.
void clearWindowBlack()
{
    GLfloat programClear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, programClear);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(programClear[0], programClear[1], programClear[2], programClear[3]);
}

}  // namespace

bool createFramebuffer(int width, int height)
{
    Framebuffer& fb = state.framebuffer;
    if (!lookUpFramebufferCalls(fb)) return false;
    fb.genFramebuffers(1, &fb.name);
    fb.bindFramebuffer(GL_FRAMEBUFFER, fb.name);
    fb.colour = makeRenderbuffer(fb, GL_RGBA8, width, height, GL_COLOR_ATTACHMENT0);
    fb.depth = makeRenderbuffer(fb, GL_DEPTH_COMPONENT16, width, height, GL_DEPTH_ATTACHMENT);
    if (fb.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        destroyFramebuffer();
        return false;
    }
    glViewport(0, 0, width, height);
    return true;
}

void destroyFramebuffer()
{
    Framebuffer& fb = state.framebuffer;
    if (fb.bindFramebuffer) fb.bindFramebuffer(GL_FRAMEBUFFER, 0);
    if (fb.colour) fb.deleteRenderbuffers(1, &fb.colour);
    if (fb.depth) fb.deleteRenderbuffers(1, &fb.depth);
    if (fb.name) fb.deleteFramebuffers(1, &fb.name);
    fb.colour = fb.depth = fb.name = 0;
}

void presentFramebuffer()
{
    Framebuffer& fb = state.framebuffer;
    const int pictureWidth = sdl::state.pictureWidth, pictureHeight = sdl::state.pictureHeight;
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(sdl::state.window, &width, &height);
    const Letterbox box = fitPicture(width, height, pictureWidth, pictureHeight);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    if (scissor) glDisable(GL_SCISSOR_TEST);
    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, fb.name);
    fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    clearWindowBlack();
    // GL counts rows from the bottom; the letterbox from the top.
    const int bottom = height - (box.y + box.height);
    fb.blitFramebuffer(0, 0, pictureWidth, pictureHeight, box.x, bottom, box.x + box.width,
                       bottom + box.height, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    if (scissor) glEnable(GL_SCISSOR_TEST);
}

}  // namespace platform::desktop
