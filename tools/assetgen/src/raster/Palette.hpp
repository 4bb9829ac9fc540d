#pragma once

#include "Colour.hpp"
#include "Geometry.hpp"

// The one palette every picture draws from: a warm late afternoon lit by a sun in the upper left.
// Foreground things (bird, columns, volcano, title) carry an ink outline; scenery (sky, clouds,
// mountains) has none and gains depth by fading toward the haze instead.
namespace assetgen::palette
{
// The direction toward the light, in picture coordinates (y grows downward): upper left.
inline const Vec2 towardLight{-0.6f, -0.8f};

// Outlines are a deep indigo, never black, so they sit in the warm light.
constexpr Rgba ink = hex(0x2A2140);
constexpr float inkWidthLarge = 2.f; // columns, volcano
constexpr float inkWidthSmall = 1.f; // the bird, which is only 33 px long

// Sky, from the top of the window to the horizon haze, and the sun's glow.
constexpr Rgba skyZenith = hex(0x3A66AE);
constexpr Rgba skyHigh = hex(0x5E91CF);
constexpr Rgba skyMiddle = hex(0x93C2E6);
constexpr Rgba skyLow = hex(0xCFE3EC);
constexpr Rgba skyHaze = hex(0xF5E1C4);
constexpr Rgba sunGlow = hex(0xFFF3D2);

// Clouds: lit tops, lavender shade on the side away from the sun.
constexpr Rgba cloudLit = hex(0xFFFDF7);
constexpr Rgba cloudShade = hex(0xCDD3EE);
constexpr Rgba cloudDeep = hex(0xA8B1D8);

// Mountains, far to near; each layer is bluer and paler the further away it is.
constexpr Rgba farRange = hex(0x9DB1D8);
constexpr Rgba farRangeShade = hex(0x8A9CCB);
constexpr Rgba midRange = hex(0x6A84B4);
constexpr Rgba midRangeShade = hex(0x536C9E);
constexpr Rgba nearRange = hex(0x4E7F7A);
constexpr Rgba nearRangeShade = hex(0x39625F);
constexpr Rgba meadow = hex(0x6E9E5C);
constexpr Rgba meadowShade = hex(0x4F7F4A);
constexpr Rgba forest = hex(0x2F5A4B);
constexpr Rgba forestLit = hex(0x467A5D);
constexpr Rgba snow = hex(0xF6F7FC);
constexpr Rgba snowShade = hex(0xC3CCE8);

// Stone caps that frame the openings of every column.
constexpr Rgba capLit = hex(0xF6E4BE);
constexpr Rgba capBase = hex(0xE2C592);
constexpr Rgba capShade = hex(0xA27548);

// The brick column.
constexpr Rgba brickLit = hex(0xE8946A);
constexpr Rgba brickBase = hex(0xC66A43);
constexpr Rgba brickShade = hex(0x8C4330);
constexpr Rgba mortar = hex(0x6E3528);

// The jade column.
constexpr Rgba jadeLit = hex(0x93D4BF);
constexpr Rgba jadeBase = hex(0x4F9E8A);
constexpr Rgba jadeShade = hex(0x2D6661);
constexpr Rgba jadeSeam = hex(0x22504D);

// The volcano's basalt and lava.
constexpr Rgba basaltLit = hex(0x7A7083);
constexpr Rgba basaltBase = hex(0x514857);
constexpr Rgba basaltShade = hex(0x302A37);
constexpr Rgba ashLit = hex(0xC9C0CF); // the volcano's crater rims: pale ash around the opening
constexpr Rgba ash = hex(0x9A90A3);
constexpr Rgba ashShade = hex(0x675E70);
constexpr Rgba lava = hex(0xFF7A2E);
constexpr Rgba lavaHot = hex(0xFFD65C);

// The bird.
constexpr Rgba plumageLit = hex(0xFFE08A);
constexpr Rgba plumage = hex(0xF6B73B);
constexpr Rgba plumageShade = hex(0xD98A1E);
constexpr Rgba belly = hex(0xFFF1CF);
constexpr Rgba wingLit = hex(0xF29C5C);
constexpr Rgba wing = hex(0xD6623A);
constexpr Rgba wingShade = hex(0xA84628);
constexpr Rgba beak = hex(0xF0792E);
constexpr Rgba beakShade = hex(0xB9501F);
constexpr Rgba eyeWhite = hex(0xFFFFFF);

// Dusk, for the game-over picture: the same world after the sun has gone down.
constexpr Rgba duskZenith = hex(0x1E1838);
constexpr Rgba duskHigh = hex(0x3B2A5C);
constexpr Rgba duskMiddle = hex(0x7A3C6A);
constexpr Rgba duskLow = hex(0xD66A5C);
constexpr Rgba duskHorizon = hex(0xF7B56C);
constexpr Rgba duskFarRange = hex(0x6B4A78);
constexpr Rgba duskNearRange = hex(0x3A2A4E);
constexpr Rgba duskGround = hex(0x241B36);
constexpr Rgba titleFill = hex(0xFFF1C9);
constexpr Rgba titleShade = hex(0xF6B85E);
constexpr Rgba starlight = hex(0xFFF6E0);
} // namespace assetgen::palette
