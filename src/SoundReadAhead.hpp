#pragma once

#include <SFML/Audio/SoundBuffer.hpp>

#include <memory>
#include <optional>
#include <string>
#include <thread>

// A sound file read and decoded on a thread of its own from the moment this is made: the tune (17 MB)
// is the slowest file to load, and loads while the pictures load and the window opens. Whoever then
// asks for the file takes what loading it at that moment would have given: the same samples or the
// same failure, and the same lines on standard error, said when it is taken.
class SoundReadAhead
{
public:
    explicit SoundReadAhead(std::string fileName);
    ~SoundReadAhead();
    SoundReadAhead(const SoundReadAhead&) = delete;
    SoundReadAhead& operator=(const SoundReadAhead&) = delete;

    // Where a read-ahead of `fileName` lives and was not taken yet: waits for it, says on standard
    // error what its loading said, and gives its buffer (none where the loading failed). Elsewhere
    // nothing.
    [[nodiscard]] static std::optional<std::unique_ptr<sf::SoundBuffer>> take(const std::string& fileName);
    // Waits for every read-ahead still loading, before the process ends.
    static void finish();

private:
    std::string fileName;
    std::unique_ptr<sf::SoundBuffer> buffer = std::make_unique<sf::SoundBuffer>();
    std::string said;
    bool taken = false;
    std::thread loading;
    SoundReadAhead* before;
    static SoundReadAhead* latest;
};
