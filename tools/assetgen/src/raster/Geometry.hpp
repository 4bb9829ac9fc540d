#pragma once

#include <algorithm>
#include <cmath>

// Small 2-D vector maths and signed distance functions: every shape in the pictures is described by
// its signed distance (negative inside, in pixels), which gives anti-aliased edges and outlines of
// any width from one description.
namespace assetgen
{
struct Vec2
{
    float x = 0.f;
    float y = 0.f;
};

constexpr Vec2 operator+(Vec2 a, Vec2 b)
{
    return {a.x + b.x, a.y + b.y};
}
constexpr Vec2 operator-(Vec2 a, Vec2 b)
{
    return {a.x - b.x, a.y - b.y};
}
constexpr Vec2 operator*(Vec2 a, float s)
{
    return {a.x * s, a.y * s};
}
constexpr float dot(Vec2 a, Vec2 b)
{
    return a.x * b.x + a.y * b.y;
}
inline float length(Vec2 a)
{
    return std::sqrt(dot(a, a));
}

inline float clamp01(float v)
{
    return std::clamp(v, 0.f, 1.f);
}
inline float lerp(float a, float b, float t)
{
    return a + (b - a) * t;
}
inline float smoothstep(float edge0, float edge1, float v)
{
    const float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.f - 2.f * t);
}

// Axis-aligned pixel rectangle [x0, x1) x [y0, y1) that a drawing call visits.
struct PixelBox
{
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
};

namespace sdf
{
inline float circle(Vec2 p, Vec2 centre, float radius)
{
    return length(p - centre) - radius;
}

// An ellipse's distance, approximated well enough for edges a pixel wide.
inline float ellipse(Vec2 p, Vec2 centre, Vec2 radii)
{
    const Vec2 q = p - centre;
    const float k0 = length({q.x / radii.x, q.y / radii.y});
    const float k1 = length({q.x / (radii.x * radii.x), q.y / (radii.y * radii.y)});
    return k1 > 0.f ? k0 * (k0 - 1.f) / k1 : -std::min(radii.x, radii.y);
}

inline float roundedBox(Vec2 p, Vec2 centre, Vec2 halfSize, float radius)
{
    const Vec2 q{std::abs(p.x - centre.x) - halfSize.x + radius, std::abs(p.y - centre.y) - halfSize.y + radius};
    const Vec2 outside{std::max(q.x, 0.f), std::max(q.y, 0.f)};
    return length(outside) + std::min(std::max(q.x, q.y), 0.f) - radius;
}

// Distance to the segment a-b minus a radius: a stroke with round ends.
inline float capsule(Vec2 p, Vec2 a, Vec2 b, float radius)
{
    const Vec2 pa = p - a;
    const Vec2 ba = b - a;
    const float h = clamp01(dot(pa, ba) / dot(ba, ba));
    return length(pa - ba * h) - radius;
}

// Exact distance to a convex or concave polygon given by its corners in order.
template <std::size_t N> float polygon(Vec2 p, const Vec2 (&corners)[N])
{
    float best = dot(p - corners[0], p - corners[0]);
    float sign = 1.f;
    for (std::size_t i = 0, j = N - 1; i < N; j = i, ++i)
    {
        const Vec2 e = corners[j] - corners[i];
        const Vec2 w = p - corners[i];
        const Vec2 b = w - e * clamp01(dot(w, e) / dot(e, e));
        best = std::min(best, dot(b, b));
        const bool c0 = p.y >= corners[i].y;
        const bool c1 = p.y < corners[j].y;
        const bool c2 = e.x * w.y > e.y * w.x;
        if ((c0 && c1 && c2) || (!c0 && !c1 && !c2))
            sign = -sign;
    }
    return sign * std::sqrt(best);
}

// Union that rounds the crease between two shapes by about k pixels.
inline float smoothUnion(float a, float b, float k)
{
    const float h = clamp01(0.5f + 0.5f * (b - a) / k);
    return lerp(b, a, h) - k * h * (1.f - h);
}
} // namespace sdf
} // namespace assetgen
