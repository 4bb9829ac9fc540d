#include "Hud.hpp"

std::string hudString(int score, int lives)
{
    return "Score: " + std::to_string(score) + "\nLives: " + std::to_string(lives);
}
