#include "SleepUntil.hpp"

#include <SFML/System/Sleep.hpp>

#include <thread>

namespace
{
// More than the sleep usually overshoots on Linux; the waiting awake costs at most this much a frame.
constexpr sf::Time awakeBeforeDeadline = sf::microseconds(200);
} // namespace

void sleepUntil(const sf::Clock& clock, sf::Time deadline)
{
    const sf::Time asleepFor = deadline - awakeBeforeDeadline - clock.getElapsedTime();
    if (asleepFor > sf::Time::Zero)
        sf::sleep(asleepFor);
    while (clock.getElapsedTime() < deadline)
        std::this_thread::yield();
}
