#pragma once

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <optional>
#include <string>

// One obstacle: a tall column scrolling 2 px left per update, whose opening lies 750 to 850 px below
// its top edge. It re-enters at the right edge with a new random height once it is 300 px past the
// left edge. A missing picture is reported and tolerated: the obstacle still moves and collides.
class Obstacle
{
public:
    // Loads the picture, places the obstacle at (x, y), reseeds the shared random generator from the
    // calendar time and draws one random height.
    Obstacle(const std::string& fileName, float x, float y);
    // A copy shows its own picture, never the one of the obstacle it came from.
    Obstacle(const Obstacle& other);
    Obstacle& operator=(const Obstacle& other);
    // Takes the picture over instead of copying it, as the game's replacements do.
    Obstacle& operator=(Obstacle&& other);
    ~Obstacle() = default;

    void moveObstacle();
    void initializeObstacle(float x);
    [[nodiscard]] const sf::Sprite& getObstacle() const { return *obstacleSprite; }
    // Whether the picture is smoothed where it is shown enlarged.
    void setSmooth(bool smooth) { obstacleTexture.setSmooth(smooth); }

private:
    void drawGapOffset();

    sf::Texture obstacleTexture;
    std::optional<sf::Sprite> obstacleSprite;
    float gapOffset = 0.f;
};
