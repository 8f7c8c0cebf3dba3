// A three-component float vector for positions, velocities and ray geometry.
#pragma once

#include <cstddef>

struct Vec3 {
    float degToRad = 0.01745f;  // kept for layout; no operation reads it
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vec3() = default;
    Vec3(float x, float y, float z);
    Vec3(const Vec3& other);             // copies x, y, z
    Vec3& operator=(const Vec3& other);  // copies x, y, z

    // Assigns the three components and returns a copy of the result.
    Vec3 set(float x, float y, float z);
    float length() const;
    // In place; both report true.
    bool operator+=(const Vec3& other);
    bool operator-=(const Vec3& other);
    // New vectors; the operands stay unchanged.
    Vec3 operator*(float s) const;
    Vec3 operator-(const Vec3& other) const;
};

// Four floats: degToRad, x, y, z.
static_assert(sizeof(Vec3) == 4 * sizeof(float));
static_assert(offsetof(Vec3, degToRad) == 0 && offsetof(Vec3, x) == 4);
static_assert(offsetof(Vec3, y) == 8 && offsetof(Vec3, z) == 12);
