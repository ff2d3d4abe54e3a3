// Point and displacement type of the sphere scene: three floats with in-place
// arithmetic. Every component operation rounds once to float; Length is formed
// in double precision and rounded once, so results are the same on every build.
#ifndef SCENE_VECTOR3_H
#define SCENE_VECTOR3_H

class Vector3 {
public:
    Vector3(float x, float y, float z) : x(x), y(y), z(z) {}
    Vector3(const Vector3 &) = default;
    Vector3 &operator=(const Vector3 &) = default;
    virtual ~Vector3() {}

    void operator+=(const Vector3 &other);
    void operator-=(const Vector3 &other);
    void operator*=(float s);

    float Length() const;
    // Divides by Length without a check: callers never normalise a zero vector.
    void Normalize();

    float x;
    float y;
    float z;
};

#endif
