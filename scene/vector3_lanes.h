// Vector3 arithmetic on lanes: one vector per lane, each operation the same
// IEEE operation, in the same order, as Vector3's own. Templates over a lane
// type (see sse2_lanes.h), so that every lane width shares these rules.
#ifndef SCENE_VECTOR3_LANES_H
#define SCENE_VECTOR3_LANES_H

template <class Float> struct Vector3Lanes {
    Float x, y, z;
};

template <class Float> Vector3Lanes<Float> operator-(const Vector3Lanes<Float> &a, const Vector3Lanes<Float> &b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

template <class Float> void operator+=(Vector3Lanes<Float> &a, const Vector3Lanes<Float> &b)
{
    a = {a.x + b.x, a.y + b.y, a.z + b.z};
}

template <class Float> void operator-=(Vector3Lanes<Float> &a, const Vector3Lanes<Float> &b)
{
    a = {a.x - b.x, a.y - b.y, a.z - b.z};
}

template <class Float> void operator*=(Vector3Lanes<Float> &a, Float s)
{
    a = {s * a.x, s * a.y, s * a.z};
}

// Squares and sum in double, added left to right; one rounding to float after
// the square root.
template <class Float> inline Float Length(const Vector3Lanes<Float> &v)
{
    const auto x = Widen(v.x);
    const auto y = Widen(v.y);
    const auto z = Widen(v.z);
    return Narrow(Sqrt((x * x + y * y) + z * z));
}

template <class Float> void DivideBy(Vector3Lanes<Float> &v, Float divisor)
{
    v = {v.x / divisor, v.y / divisor, v.z / divisor};
}

#endif
