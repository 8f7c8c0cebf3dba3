// The classic perspective projection, so the program needs no GLU library.
#pragma once

namespace platform {

// The column-major matrix the classic GLU utility builds for a vertical field of
// view in degrees; false (and the matrix untouched) when the arguments give none:
// zero aspect, zNear equal to zFar, or a field of view whose tangent is zero.
bool perspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar, double m[16]);

}  // namespace platform
