// The columns the bird flies between: solid, full-width pillars lit from the left like a cylinder,
// framed with an ink outline. Stone caps with a moulded groove frame the opening above and below,
// ending in ink lines exactly at the opening's first and last rows. Three materials share this
// build: brick, fluted jade, and lava-veined basalt for the volcano.
#include "Pictures.hpp"

#include "../raster/Canvas.hpp"
#include "../raster/Noise.hpp"
#include "../raster/Palette.hpp"

#include <algorithm>
#include <cmath>

namespace assetgen::pictures
{
namespace
{
namespace pal = palette;

constexpr int inkWidth = static_cast<int>(pal::inkWidthLarge);
constexpr int capHeight = 26;
constexpr int upperCapTop = openingTop - capHeight;
constexpr int lowerCapBottom = openingBottom + capHeight;
constexpr int bevelRows = 2;
constexpr int grooveRow = capHeight / 2;
constexpr int dentilSpacing = 10; // the small blocks under each cap's groove
constexpr int dentilWidth = 3;
constexpr int dentilRows = 5;
constexpr float capContrast = 1.3f;
constexpr float bevelLight = 0.6f; // the cap's upward face, toward the sun
constexpr float bevelShade = 0.6f; // its downward face
constexpr float grooveShade = 0.8f;
constexpr float grooveLipLight = 0.45f;
constexpr float dentilGapShade = 0.55f;
constexpr float dentilEdgeLight = 0.3f;
constexpr int shaftInset = 3; // the shaft's darkened edges make the caps read as wider lips
constexpr float shaftInsetShade = 0.4f;
constexpr int capShadowRows = 14; // the lower cap's shadow on the shaft beneath it
constexpr float capShadowStrength = 0.45f;

// The cylinder's light: the surface normal across the width against a light from the left front.
constexpr float lightSideways = -0.55f;
constexpr float lightFrontal = 0.835f;
constexpr float glintSharpness = 24.f;
constexpr float glintAmount = 0.18f;

// Brick courses.
constexpr int brickHeight = 14;
constexpr int brickLength = 34;
constexpr int mortarWidth = 2;
constexpr std::uint32_t brickSeed = 5;
constexpr float brickVariation = 0.16f;
constexpr float mortarDepth = 0.3f;     // mortar sits back from the brick face, a little inkier
constexpr float brickEdgeLight = 0.35f; // the top and left edges of each brick catch the light
constexpr float brickEdgeShade = 0.3f;

// Jade flutes and block joints.
constexpr int fluteCount = 5;
constexpr int blockHeight = 100;
constexpr float fluteDepth = 0.55f;
constexpr float filletWidth = 0.08f; // the narrow flat between two flutes, as a fraction of a flute
constexpr float filletLight = 0.5f;
constexpr float jointLight = 0.4f; // the lit lip just below each block joint
constexpr float jadeMottle = 0.25f;
constexpr float jadeGrainX = 0.2f;
constexpr float jadeGrainY = 0.05f;
constexpr std::uint32_t jadeSeed = 41;

// Basalt and its lava veins.
constexpr std::uint32_t basaltSeed = 61;
constexpr std::uint32_t veinSeed = 67;
constexpr float basaltGrain = 1.f / 9.f;
constexpr float veinScale = 1.f / 46.f;
constexpr float veinCore = 0.012f;
constexpr float veinGlow = 0.05f;
constexpr float veinGlowStrength = 0.6f;
constexpr float basaltRoughness = 0.8f;
constexpr int rimGlowRows = 6;

struct ColumnStyle
{
    Rgba (*shaft)(int x, int y, float tone);
    Rgba capLit;
    Rgba capBase;
    Rgba capShade;
    float rimGlow; // lava light along the cap edges that face the opening (volcano only)
};

Rgba toned(Rgba shade, Rgba base, Rgba lit, float tone)
{
    return tone >= 0.f ? mix(base, lit, tone) : mix(base, shade, -tone);
}

// -1 (in shadow, right edge) .. +1 (facing the light, left of middle).
float cylinderTone(int x)
{
    const float nx = 2.f * (static_cast<float>(x) + 0.5f) / static_cast<float>(columnWidth) - 1.f;
    const float nz = std::sqrt(std::max(0.f, 1.f - nx * nx));
    const float diffuse = clamp01(nx * lightSideways + nz * lightFrontal);
    return diffuse * 2.f - 1.f;
}

float glint(int x)
{
    return std::pow(clamp01((cylinderTone(x) + 1.f) * 0.5f), glintSharpness) * glintAmount;
}

Rgba brickShaft(int x, int y, float tone)
{
    const int course = y / brickHeight;
    const int row = y % brickHeight;
    const int offset = (course % 2) * (brickLength / 2);
    const int along = (x + offset) % brickLength;
    const int brick = (x + offset) / brickLength;
    if (row < mortarWidth || along < mortarWidth)
        return toned(mix(pal::mortar, pal::ink, mortarDepth), pal::mortar, pal::brickShade, tone);
    float t = tone + (latticeHash(brick, course, brickSeed) - 0.5f) * brickVariation;
    if (row == mortarWidth || along == mortarWidth)
        t += brickEdgeLight;
    if (row == brickHeight - 1 || along == brickLength - 1)
        t -= brickEdgeShade;
    return toned(pal::brickShade, pal::brickBase, pal::brickLit, std::clamp(t, -1.f, 1.f));
}

Rgba jadeShaft(int x, int y, float tone)
{
    const int row = y % blockHeight;
    if (row < mortarWidth)
        return pal::jadeSeam;
    const float inner = static_cast<float>(columnWidth - 2 * inkWidth);
    const float flute = (static_cast<float>(x - inkWidth) + 0.5f) / inner * fluteCount;
    const float f = flute - std::floor(flute);
    // A concave flute is dark on its sunward wall and bright on the far wall; thin fillets part them.
    float t = tone + (f - 0.5f) * fluteDepth;
    if (f < filletWidth)
        t += filletLight;
    if (row == mortarWidth)
        t += jointLight;
    t += (fractalNoise(x * jadeGrainX, y * jadeGrainY, jadeSeed, 2) - 0.5f) * jadeMottle;
    return toned(pal::jadeShade, pal::jadeBase, pal::jadeLit, std::clamp(t, -1.f, 1.f));
}

Rgba basaltShaft(int x, int y, float tone)
{
    const float grain = fractalNoise(x * basaltGrain, y * basaltGrain, basaltSeed, 3) - 0.5f;
    const Rgba rock =
        toned(pal::basaltShade, pal::basaltBase, pal::basaltLit, std::clamp(tone + grain * basaltRoughness, -1.f, 1.f));
    const float vein = std::abs(fractalNoise(x * veinScale, y * veinScale, veinSeed, 3) - 0.5f);
    if (vein < veinCore)
        return mix(pal::lavaHot, pal::lava, vein / veinCore);
    return mix(rock, pal::lava, veinGlowStrength * smoothstep(veinGlow, veinCore, vein));
}

constexpr ColumnStyle brick{brickShaft, pal::capLit, pal::capBase, pal::capShade, 0.f};
constexpr ColumnStyle jade{jadeShaft, pal::capLit, pal::capBase, pal::capShade, 0.f};
constexpr ColumnStyle volcanic{basaltShaft, pal::ashLit, pal::ash, pal::ashShade, 0.85f};

// A cap row by row, from the edge that meets the shaft (row 0) to the edge at the opening.
Rgba capColour(const ColumnStyle& style, int x, int rowFromShaft, bool openingAbove, float tone)
{
    const int last = capHeight - 1;
    if (rowFromShaft < inkWidth || rowFromShaft > last - inkWidth)
        return pal::ink;
    // The face turned up toward the sun is bevelled bright, the one turned down is in shadow.
    const int topRow = openingAbove ? last - rowFromShaft : rowFromShaft;
    float t = tone * capContrast + glint(x);
    const bool dentil = topRow > grooveRow + 1 && topRow <= grooveRow + 1 + dentilRows;
    if (topRow < inkWidth + bevelRows)
        t += bevelLight;
    else if (topRow > last - inkWidth - bevelRows)
        t -= bevelShade;
    else if (topRow == grooveRow)
        t -= grooveShade;
    else if (topRow == grooveRow + 1)
        t += grooveLipLight;
    else if (dentil && (x - inkWidth) % dentilSpacing >= dentilSpacing - dentilWidth)
        t -= dentilGapShade; // the gap between two blocks, in shadow
    else if (dentil && (x - inkWidth) % dentilSpacing == 0)
        t += dentilEdgeLight; // each block's sunward edge
    Rgba c = toned(style.capShade, style.capBase, style.capLit, std::clamp(t, -1.f, 1.f));
    const int rowsFromOpening = last - inkWidth - rowFromShaft;
    if (style.rimGlow > 0.f && rowsFromOpening < rimGlowRows)
        c = mix(c, pal::lava, style.rimGlow * (1.f - static_cast<float>(rowsFromOpening) / rimGlowRows));
    return c;
}

Rgba columnPixel(const ColumnStyle& style, int x, int y)
{
    if (x < inkWidth || x >= columnWidth - inkWidth)
        return pal::ink;
    const float tone = cylinderTone(x);
    if (y >= upperCapTop && y < openingTop)
        return capColour(style, x, y - upperCapTop, false, tone);
    if (y >= openingBottom && y < lowerCapBottom)
        return capColour(style, x, lowerCapBottom - 1 - y, true, tone);
    Rgba c = style.shaft(x, y, tone);
    c = mix(c, pal::sunGlow, glint(x));
    if (x < inkWidth + shaftInset || x >= columnWidth - inkWidth - shaftInset)
        c = mix(c, pal::ink, shaftInsetShade);
    if (y >= lowerCapBottom && y < lowerCapBottom + capShadowRows)
    {
        const float shadow = 1.f - static_cast<float>(y - lowerCapBottom) / capShadowRows;
        c = mix(c, pal::ink, capShadowStrength * shadow);
    }
    return c;
}
} // namespace

sf::Image column(ColumnKind kind)
{
    const ColumnStyle& style = kind == ColumnKind::Brick ? brick : kind == ColumnKind::Jade ? jade : volcanic;
    Canvas canvas(columnWidth, columnHeight);
    for (int y = 0; y < columnHeight; ++y)
    {
        if (y >= openingTop && y < openingBottom)
            continue; // the opening stays fully transparent, edge to edge
        for (int x = 0; x < columnWidth; ++x)
            canvas.at(x, y) = withAlpha(columnPixel(style, x, y), 1.f);
    }
    return canvas.toImage();
}
} // namespace assetgen::pictures
