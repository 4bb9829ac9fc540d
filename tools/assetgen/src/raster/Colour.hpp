#pragma once

#include "Geometry.hpp"

#include <algorithm>
#include <cstdint>

namespace assetgen
{
// A colour with straight (not premultiplied) alpha, every channel in 0..1.
struct Rgba
{
    float r = 0.f;
    float g = 0.f;
    float b = 0.f;
    float a = 1.f;
};

constexpr float channelMax = 255.f;

// A colour written the way a palette lists it: 0xRRGGBB.
constexpr Rgba hex(std::uint32_t rgb, float alpha = 1.f)
{
    constexpr unsigned redShift = 16;
    constexpr unsigned greenShift = 8;
    constexpr std::uint32_t byteMask = 0xFF;
    return {static_cast<float>((rgb >> redShift) & byteMask) / channelMax,
            static_cast<float>((rgb >> greenShift) & byteMask) / channelMax,
            static_cast<float>(rgb & byteMask) / channelMax, alpha};
}

inline Rgba mix(Rgba a, Rgba b, float t)
{
    return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t), lerp(a.a, b.a, t)};
}

inline Rgba withAlpha(Rgba c, float alpha)
{
    return {c.r, c.g, c.b, alpha};
}

// Blends colours listed as stops along 0..1, evenly spaced.
template <std::size_t N> Rgba gradient(const Rgba (&stops)[N], float t)
{
    const float scaled = clamp01(t) * static_cast<float>(N - 1);
    const std::size_t i = std::min(static_cast<std::size_t>(scaled), N - 2);
    return mix(stops[i], stops[i + 1], scaled - static_cast<float>(i));
}
} // namespace assetgen
