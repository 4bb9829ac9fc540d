#pragma once

#include "Painter.hpp"

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

// Three clouds and two copies of one mountain strip drifting left behind the bird at their own
// speeds. Decoration only: nothing collides with it, and a new game does not put it back.
class Scenery
{
public:
    // Loads the pictures; a missing one is reported and its sprites show nothing but still move.
    Scenery();
    Scenery(const Scenery&) = delete;
    Scenery& operator=(const Scenery&) = delete;

    // One update: every sprite moves left by its step, or re-enters at its wrap position.
    void scroll();
    // Mountains behind clouds.
    void addTo(Painter& painter) const;
    // Whether the pictures are smoothed where they are shown enlarged.
    void setSmooth(bool smooth);

    [[nodiscard]] const sf::Sprite& getCloud1() const { return cloud1Sprite; }
    [[nodiscard]] const sf::Sprite& getCloud2() const { return cloud2Sprite; }
    [[nodiscard]] const sf::Sprite& getCloud3() const { return cloud3Sprite; }
    [[nodiscard]] const sf::Sprite& getMountain1() const { return mountainSprite1; }
    [[nodiscard]] const sf::Sprite& getMountain2() const { return mountainSprite2; }

private:
    sf::Texture cloud1Texture;
    sf::Texture cloud2Texture;
    sf::Texture cloud3Texture;
    sf::Texture mountainTexture;
    sf::Sprite cloud1Sprite{cloud1Texture};
    sf::Sprite cloud2Sprite{cloud2Texture};
    sf::Sprite cloud3Sprite{cloud3Texture};
    sf::Sprite mountainSprite1{mountainTexture};
    sf::Sprite mountainSprite2{mountainTexture};
};
