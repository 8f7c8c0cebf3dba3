// perspective(): multiplies the current GL matrix like the classic GLU utility.
#include "platform/common/perspective.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>

#include "platform/platform.h"

namespace platform {

bool perspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar, double m[16])
{
    const double halfAngle = fovyDegrees / 2 * std::numbers::pi / 180;
    const double depth = zFar - zNear;
    const double sine = std::sin(halfAngle);
    // The same refusals as the utility it replaces: such a matrix would divide by zero.
    if (depth == 0 || sine == 0 || aspect == 0) return false;
    const double cotangent = std::cos(halfAngle) / sine;
    for (int i = 0; i < 16; ++i) m[i] = 0;
    m[0] = cotangent / aspect;
    m[5] = cotangent;
    m[10] = -(zFar + zNear) / depth;
    m[11] = -1;
    m[14] = -2 * zNear * zFar / depth;
    return true;
}

void perspective(double fovyDegrees, double aspect, double zNear, double zFar)
{
    double m[16];
    if (!perspectiveMatrix(fovyDegrees, aspect, zNear, zFar, m)) return;
#ifdef __EMSCRIPTEN__
    // The browser's GL has no double-precision matrix calls.
    float single[16];
    for (int i = 0; i < 16; ++i) single[i] = static_cast<float>(m[i]);
    glMultMatrixf(single);
#else
    glMultMatrixd(m);
#endif
}

}  // namespace platform
