// Vec3: component arithmetic in 32-bit floats.
#include "gfx/vec3.h"

#include <cmath>

Vec3::Vec3(float x, float y, float z) : x(x), y(y), z(z) {}

Vec3::Vec3(const Vec3& other) : x(other.x), y(other.y), z(other.z) {}

Vec3& Vec3::operator=(const Vec3& other)
{
    x = other.x;
    y = other.y;
    z = other.z;
    return *this;
}

Vec3 Vec3::set(float newX, float newY, float newZ)
{
    x = newX;
    y = newY;
    z = newZ;
    return *this;
}

float Vec3::length() const { return std::sqrt(x * x + y * y + z * z); }

bool Vec3::operator+=(const Vec3& other)
{
    x += other.x;
    y += other.y;
    z += other.z;
    return true;
}

bool Vec3::operator-=(const Vec3& other)
{
    x -= other.x;
    y -= other.y;
    z -= other.z;
    return true;
}

Vec3 Vec3::operator*(float s) const { return Vec3(x * s, y * s, z * s); }

Vec3 Vec3::operator-(const Vec3& other) const { return Vec3(x - other.x, y - other.y, z - other.z); }
