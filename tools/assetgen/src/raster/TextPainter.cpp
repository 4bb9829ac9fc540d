#include "TextPainter.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace assetgen
{
namespace
{
// The mask grown by `radius` pixels with a round pen: the outline's coverage.
std::vector<float> dilate(const TextMask& mask, float radius)
{
    std::vector<float> grown(mask.coverage.size(), 0.f);
    const int reach = static_cast<int>(std::ceil(radius));
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
        {
            float best = 0.f;
            for (int dy = -reach; dy <= reach && best < 1.f; ++dy)
                for (int dx = -reach; dx <= reach; ++dx)
                {
                    const float pen = clamp01(radius + 0.5f - std::sqrt(static_cast<float>(dx * dx + dy * dy)));
                    if (pen > best)
                        best = std::max(best, std::min(pen, mask.at(x + dx, y + dy)));
                }
            grown[static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.width) + x] = best;
        }
    return grown;
}
} // namespace

void paintText(Canvas& canvas, const TextMask& mask, int left, int baseline, const TextStyle& style)
{
    const int top = baseline - mask.baseline;
    const std::vector<float> outline = dilate(mask, style.outlineWidth);
    const auto cell = [&mask](const std::vector<float>& layer, int x, int y)
    { return layer[static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.width) + x]; };
    const int shadowX = static_cast<int>(std::lround(style.shadowOffset.x));
    const int shadowY = static_cast<int>(std::lround(style.shadowOffset.y));
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            canvas.blend(left + x + shadowX, top + y + shadowY, style.outline, style.shadowAlpha * cell(outline, x, y));
    int letterTop = 0;
    while (letterTop < mask.baseline &&
           std::none_of(mask.coverage.begin() + letterTop * mask.width,
                        mask.coverage.begin() + (letterTop + 1) * mask.width, [](float c) { return c > 0.f; }))
        ++letterTop;
    const float fillSpan = static_cast<float>(std::max(1, mask.baseline - letterTop));
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
        {
            canvas.blend(left + x, top + y, style.outline, cell(outline, x, y));
            const float t = clamp01(static_cast<float>(y - letterTop) / fillSpan);
            canvas.blend(left + x, top + y, mix(style.fillTop, style.fillBottom, t), mask.at(x, y));
        }
}
} // namespace assetgen
