#include "gl_support.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/headless.h"
#include "platform/platform.h"

namespace {
// The context of the last test ends with the process, before the leak check.
void releaseGl() { headless::configure({}); }
}  // namespace

bool startHeadlessGl()
{
    static const bool releaseAtExit = std::atexit(releaseGl) == 0;
    (void)releaseAtExit;
    headless::configure({});
    return platform::registerWindowClass(nullptr) &&
           platform::createWindow("test", 0, 0, 640, 480, platform::WindowStyle::FullScreen) &&
           platform::createGlContext(32, 16);
}

std::vector<std::uint8_t> readTexture(GLuint id, int& width, int& height)
{
    glBindTexture(GL_TEXTURE_2D, id);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<std::uint8_t> rgb(std::size_t(width) * std::size_t(height) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

void pixelProjection()
{
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 480, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void texturedQuad(float x0, float y0, float x1, float y1)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex2f(x0, y0);
    glTexCoord2f(1, 1);
    glVertex2f(x1, y0);
    glTexCoord2f(1, 0);
    glVertex2f(x1, y1);
    glTexCoord2f(0, 0);
    glVertex2f(x0, y1);
    glEnd();
}

std::vector<int> pixelAt(int x, int y)
{
    const headless::Picture picture = headless::readPicture();
    const std::uint8_t* p = &picture.rgba[(std::size_t(y) * picture.width + x) * 4];
    return {p[0], p[1], p[2]};
}

bool quitPosted()
{
    bool quit = false;
    platform::Message message;
    while (platform::peekMessage(message)) quit = quit || message.kind == platform::MessageKind::Quit;
    return quit;
}

std::string enterTempDirectory()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/zw-gl-XXXXXX";
    if (!::mkdtemp(pattern.data()) || ::chdir(pattern.c_str()) != 0) return {};
    return pattern;
}
