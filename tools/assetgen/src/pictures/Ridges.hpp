#pragma once

#include <cstdint>
#include <vector>

// Mountain silhouettes shared by the mountain strip, the sky's distant hills and the dusk scene.
namespace assetgen
{
struct RidgeShape
{
    float baseY;        // where the lowest dips of the ridge lie
    float height;       // how far the highest peaks rise above baseY
    float peakSpacing;  // about how many pixels apart the main peaks stand
    std::uint32_t seed; // which ridge
    int octaves;        // how much small detail the crest has
    float sharpness;    // 1 = rounded hills, higher = craggy peaks
};

// The crest's y for each column 0..width-1. The crest repeats every `period` columns (period > 0),
// so a strip drawn with it tiles with itself.
std::vector<float> ridgeCrest(const RidgeShape& shape, int width, int period);

// How strongly the slope at column x faces the light (+1, rising toward the upper-left sun) or
// away from it (-1), judged over a span that widens with depth below the crest so that small crags
// shade the crest while the big peaks shade the whole mountain. A slope of `fullLightSlope` or more
// is fully lit: small values give crisp facets, large ones soft rolling hills.
float ridgeFacing(const std::vector<float>& crest, int x, float depth, int period, float fullLightSlope);
} // namespace assetgen

namespace assetgen
{
// A range of distinct peaks, for mountains with clear faces: each peak is a cone whose left face
// looks toward the sun and whose right face is in shade, parted by a ridge line that leans as it
// comes down. The crest is the highest of the cones, roughened with small crags.
struct PeakRangeShape
{
    float baseY;   // the valleys' floor
    float height;  // the tallest peak's height above baseY
    int peakCount; // peaks across one period
    std::uint32_t seed;
    float minSlope; // flank steepness range, in rows per column
    float maxSlope;
    float cragDepth; // how rough the crest is, in pixels
};

struct Peak
{
    float x;
    float top;
    float leftSlope;
    float rightSlope;
    float lean;       // columns the ridge line drifts per row below the summit
    float tallness;   // 0..1 within the range's heights, for snow
    std::uint32_t id; // seeds the peak's own irregularities
};

class PeakRange
{
public:
    // The range repeats every `period` columns; it is laid out over columns 0..period-1.
    PeakRange(const PeakRangeShape& shape, int period);

    float crest(int column) const { return crestY[static_cast<std::size_t>(column)]; }
    float coneAt(const Peak& peak, float x) const;
    // The peak whose cone stands highest at x: the mountain a point at x belongs to.
    const Peak& ownerAt(float x) const;
    // dx brought into -period/2..period/2, the offset to the nearest copy of a peak.
    float wrapped(float dx) const;

private:
    int period;
    std::vector<Peak> peaks;
    std::vector<float> crestY;
};
} // namespace assetgen
