// A three-component float vector.
#pragma once

struct Vec3 {
    float degToRad = 0.01745f;  // kept for layout; no operation reads it
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vec3() = default;
    Vec3(float x, float y, float z);
    Vec3(const Vec3& other);
    Vec3& operator=(const Vec3& other);

    Vec3 set(float x, float y, float z);
    float length() const;
    bool operator+=(const Vec3& other);
    bool operator-=(const Vec3& other);
    Vec3 operator*(float s) const;
    Vec3 operator-(const Vec3& other) const;
};
