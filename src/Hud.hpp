#pragma once

#include <string>

// The HUD's two lines: "Score: N" and "Lives: M", in plain decimal.
[[nodiscard]] std::string hudString(int score, int lives);
