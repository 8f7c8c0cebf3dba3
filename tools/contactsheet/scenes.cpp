#include "scenes.h"

#include <algorithm>
#include <cmath>

const std::uint8_t eveningSky[3] = {235, 177, 0};
const std::uint8_t daySky[3] = {47, 106, 195};

namespace {

constexpr int frameW = 640, frameH = 480;
constexpr int frameGap = 36;  // room for a caption above each frame
constexpr int frameGapX = 20;
constexpr double captionUnit = 22;
// Pixels per unit at distance 1 for the show's 45-degree vertical field of view.
const double focal = (frameH / 2) / std::tan(22.5 * 3.14159265358979 / 180);
constexpr std::uint8_t outroSky[3] = {215, 157, 0};
constexpr std::uint8_t panelBlue[3] = {77, 77, 255};

struct Frame {
    RgbPicture& sheet;
    int left, top;
};

// A quad parallel to the screen at `depth` units in front of the eye.
void drawQuad(Frame& f, const SpriteImages& sprite, double depth, double x0, double y0, double x1, double y1,
              double s0, double t0, double s1, double t1)
{
    double k = focal / depth;
    drawSprite(f.sheet, sprite,
               {f.left + frameW / 2 + x0 * k, f.top + frameH / 2 - y0 * k, f.left + frameW / 2 + x1 * k,
                f.top + frameH / 2 - y1 * k, s0, t0, s1, t1},
               {}, {f.left, f.top, f.left + frameW, f.top + frameH});
}

void clearFrame(Frame& f, const std::uint8_t sky[3])
{
    fillRect(f.sheet, f.left, f.top, f.left + frameW, f.top + frameH, sky);
}

// The sun glow: a plain disc, 80/128 of the glow quad's half size, 6 units away.
void drawSun(Frame& f, const std::uint8_t rgb[3])
{
    double r = 0.625 * focal / 6;
    for (int y = 0; y < frameH; ++y)
        for (int x = 0; x < frameW; ++x)
            if (std::hypot(x - frameW / 2 + 0.5, y - frameH / 2 + 0.5) < r)
                std::copy(rgb, rgb + 3, f.sheet.at(f.left + x, f.top + y));
}

void drawShowText(Frame& f, const SpriteImages& font, const std::string& text, double x, double y)
{
    double k = focal / 25;
    drawText(f.sheet, font, text, f.left + frameW / 2 + x * k, f.top + frameH / 2 - y * k, k);
}

void drawEvening(Frame f, std::map<std::string, SpriteImages>& set)
{
    static const std::uint8_t sun[3] = {221, 53, 8};
    clearFrame(f, eveningSky);
    drawSun(f, sun);
    const SpriteImages& logo = set["qzlogo"];
    const double bands[4] = {1, 0.66, 0.33, 0};
    for (int k = 0; k < 3; ++k) {
        double x = -2.2 + 2.2 * k, y = 1.5 + 0.25;
        drawQuad(f, logo, 6, x - 1, y + 0.33, x + 1, y - 0.33, 0, bands[k], 1, bands[k + 1]);
    }
    drawShowText(f, set["font"], "www.quarzel.invalid schratten / ch 18. - 20. october", -8.56, 4.85);
}

void drawLandscape(Frame& f, std::map<std::string, SpriteImages>& set)
{
    const double drift = 2.2, mountainY = -0.6;
    drawQuad(f, set["berg2"], 3.6, -2.4 + drift, mountainY + 1, 2.4 + drift, mountainY - 1, 0, 0.99, 2, 0);
    drawQuad(f, set["berg1"], 3.6, -7.2 + drift, mountainY + 1, -2.4 + drift, mountainY - 1, 0, 0.99, 2, 0);
    drawQuad(f, set["vogelfl1"], 6.2, -2.35, 1.95, -1.65, 1.25, 0, 1, 1, 0);  // flying left
    drawQuad(f, set["vogelfl3"], 6.2, 0.65, 1.65, 1.35, 0.95, 1, 1, 0, 0);    // flying right
    drawQuad(f, set["zweitwiese"], 7, -1.5, -1.06, 1.8, -3.06, 0.01, 0.99, 1, 0);
    drawQuad(f, set["gras"], 7, 1, -1.06, 4, -3.06, 0.01, 0.99, 1, 0);
    drawQuad(f, set["marlu256"], 7, 2, -0.86, 4, -2.86, 0.01, 0.99, 1, 0);
}

void drawPanel(Frame& f)
{
    double k = focal / 1;
    int x0 = int(f.left + frameW / 2 - 0.5 * k), x1 = int(f.left + frameW / 2 + 0.47 * k);
    for (int y = f.top; y < f.top + frameH; ++y)
        for (int x = std::max(x0, f.left); x < std::min(x1, f.left + frameW); ++x)
            for (int c = 0; c < 3; ++c) {
                std::uint8_t& p = f.sheet.at(x, y)[c];
                p = std::uint8_t((p + panelBlue[c]) / 2);
            }
}

void drawDay(Frame f, std::map<std::string, SpriteImages>& set)
{
    static const std::uint8_t sun[3] = {249, 248, 230};
    clearFrame(f, daySky);
    drawSun(f, sun);
    drawLandscape(f, set);
    drawPanel(f);
    drawShowText(f, set["font"],
                 "$$\n\njoin the quarzel!\n\nthree days of demos, music and\nmountain air at schratten,"
                 " ch.\n18. - 20. october\n\n- bring your computer (and a jacket)\n- competitions:"
                 " demo, 4k, music,\n  pixel graphics, wild\n- entry: 25 chf / 3 days\n\n"
                 "questions? write to orga@quarzel.invalid\n0123456789 +-=*#%&/()[]{}?!:;,~^_\\\"@`",
                 -11.52, 8);
    drawShowText(f, set["font"], "use mouse to scroll!", -13.5, -9.8);
    drawQuad(f, set["cursor"], 6.2, 1.6 - 0.15, -0.4 + 0.15, 1.6 + 0.15, -0.4 - 0.15, 0, 1, 1, 0);
}

void drawHunt(Frame f, std::map<std::string, SpriteImages>& set)
{
    static const std::uint8_t sun[3] = {249, 248, 230};
    clearFrame(f, daySky);
    drawSun(f, sun);
    drawLandscape(f, set);
    drawQuad(f, set["vogeltot"], 6.4, -0.35 + 2.2, 0.35 - 0.2, 0.35 + 2.2, -0.35 - 0.2, 0, 1, 1, 0);
    drawQuad(f, set["vogelfl2"], 6.2, -0.35 - 1.2, 0.35 + 0.6, 0.35 - 1.2, -0.35 + 0.6, 1, 1, 0, 0);
    drawQuad(f, set["cross"], 6.2, -1.2 - 0.225, 0.6 + 0.225, -1.2 + 0.225, 0.6 - 0.225, 0, 1, 1, 0);
    drawQuad(f, set["feil"], 6.2, 0.5 - 0.15, 2.3 + 0.15, 0.5 + 0.15, 2.3 - 0.15, 0, 1, 1, 0);
    drawQuad(f, set["feil"], 6.2, 1.1 + 0.15, -2.3 - 0.15, 1.1 - 0.15, -2.3 + 0.15, 0, 1, 1, 0);
    drawShowText(f, set["font"], "kill em all! - dead: 3 alive: 1 ratio: 75.00%", -13.5, -9.8);
}

// The credits bands with their zoom finished, at the moment their circling
// offsets are zero-phase (w = 0).
void drawOutro(Frame f, std::map<std::string, SpriteImages>& set)
{
    clearFrame(f, outroSky);
    drawQuad(f, set["fenno"], 6, -1, 1, 1, -1, 0, 0.99, 0.99, 0);
    const SpriteImages& creds = set["creds"];
    double ax = 1, ay = 0.5;
    drawQuad(f, creds, 6, ax - 1, ay + 0.08 + 0.15, ax + 1, ay + 0.08 - 0.15, 0, 1, 1, 0.85);
    double bx = ax + 0.085, by = ay + 1.707 * 0.08 - 0.35;
    drawQuad(f, creds, 6, bx - 1, by + 0.17, bx + 1, by - 0.17, 0, 0.85, 1, 0.67);
    drawQuad(f, creds, 6, bx + 0.05, by + 0.17, bx + 1.35, by - 0.17, 0.4, 0.67, 1, 0.5);
    double cx = ax + 0.08, cy = ay - 0.7;
    drawQuad(f, creds, 6, cx - 1, cy + 0.17, cx + 1, cy - 0.17, 0, 0.5, 1, 0.3);
    double dx = ax + 0.08 - 1, dy = ay + 0.08 - 1.9;
    drawQuad(f, creds, 6, dx - 1, dy + 0.19, dx + 1, dy - 0.19, 0, 0.3, 1, 0.05);
}

}  // namespace

bool canDrawScenes(const std::map<std::string, SpriteImages>& set)
{
    for (const char* name :
         {"font", "qzlogo", "berg1", "berg2", "vogelfl1", "vogelfl2", "vogelfl3", "vogeltot", "zweitwiese",
          "gras", "marlu256", "cursor", "cross", "feil", "fenno", "creds"})
        if (!set.count(name)) return false;
    return true;
}

int sceneStripHeight(int) { return 2 * (frameH + frameGap) + frameGap; }

void drawSceneStrip(RgbPicture& sheet, std::map<std::string, SpriteImages>& set, int top)
{
    int left = (sheet.width - 2 * frameW - frameGapX) / 2;
    int right = left + frameW + frameGapX;
    int second = top + 2 * frameGap + frameH;
    const SpriteImages& font = set["font"];
    struct Caption {
        int x, y;
        const char* text;
    } captions[] = {{left, top + frameGap, "evening: the logo and the event line"},
                    {right, top + frameGap, "day: the landscape and the invitation"},
                    {left, second, "the hunt: crosshair, arrows, a shot bird"},
                    {right, second, "the outro: fenno and the credits"}};
    for (const Caption& c : captions)
        drawText(sheet, font, c.text, c.x + 0.2 * captionUnit, c.y - frameGap / 2.0, captionUnit);
    drawEvening({sheet, left, top + frameGap}, set);
    drawDay({sheet, right, top + frameGap}, set);
    drawHunt({sheet, left, second}, set);
    drawOutro({sheet, right, second}, set);
}
