#include "PixelRegion.hpp"

#include <algorithm>

sf::IntRect overlap(const sf::IntRect& rectangle, const sf::IntRect& within)
{
    const int left = std::max(rectangle.position.x, within.position.x);
    const int top = std::max(rectangle.position.y, within.position.y);
    const int right = std::min(rectangle.position.x + rectangle.size.x, within.position.x + within.size.x);
    const int bottom = std::min(rectangle.position.y + rectangle.size.y, within.position.y + within.size.y);
    if (right <= left || bottom <= top)
        return {};
    return {{left, top}, {right - left, bottom - top}};
}

void subtract(PixelRegion& region, const sf::IntRect& cut, PixelRegion& scratch)
{
    scratch.clear();
    for (const sf::IntRect& part : region)
    {
        const sf::IntRect common = overlap(part, cut);
        if (common.size.x == 0)
        {
            scratch.push_back(part);
            continue;
        }
        const int left = part.position.x;
        const int top = part.position.y;
        const int right = left + part.size.x;
        const int bottom = top + part.size.y;
        const int commonBottom = common.position.y + common.size.y;
        const int commonRight = common.position.x + common.size.x;
        // Whole rows above and below the cut, then what is left and right of it on its rows.
        if (common.position.y > top)
            scratch.push_back({{left, top}, {part.size.x, common.position.y - top}});
        if (commonBottom < bottom)
            scratch.push_back({{left, commonBottom}, {part.size.x, bottom - commonBottom}});
        if (common.position.x > left)
            scratch.push_back({{left, common.position.y}, {common.position.x - left, common.size.y}});
        if (commonRight < right)
            scratch.push_back({{commonRight, common.position.y}, {right - commonRight, common.size.y}});
    }
    region.swap(scratch);
}
