#include "scene/vector3.h"

#include <math.h>

void Vector3::operator+=(const Vector3 &other)
{
    x += other.x;
    y += other.y;
    z += other.z;
}

void Vector3::operator-=(const Vector3 &other)
{
    x -= other.x;
    y -= other.y;
    z -= other.z;
}

void Vector3::operator*=(float s)
{
    x = s * x;
    y = s * y;
    z = s * z;
}

float Vector3::Length() const
{
    // Squares and sum in double, added left to right, so the one rounding to
    // float happens after the square root.
    double sum = static_cast<double>(x) * x + static_cast<double>(y) * y;
    sum += static_cast<double>(z) * z;
    return static_cast<float>(sqrt(sum));
}

void Vector3::Normalize()
{
    const float length = Length();
    x /= length;
    y /= length;
    z /= length;
}
