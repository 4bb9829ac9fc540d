#include "SoundReadAhead.hpp"

#include "Assets.hpp"
#include "ErrorCapture.hpp"

#include <iostream>

SoundReadAhead* SoundReadAhead::latest = nullptr;

SoundReadAhead::SoundReadAhead(std::string name) : fileName(std::move(name)), before(latest)
{
    latest = this;
    ErrorCapture::routeStreams();
    loading = std::thread(
        [this]
        {
            const ErrorCapture capture(said);
            if (!readSound(*buffer, fileName))
                buffer.reset();
        });
}

SoundReadAhead::~SoundReadAhead()
{
    if (loading.joinable())
        loading.join();
    latest = before;
}

std::optional<std::unique_ptr<sf::SoundBuffer>> SoundReadAhead::take(const std::string& fileName)
{
    for (SoundReadAhead* readAhead = latest; readAhead != nullptr; readAhead = readAhead->before)
    {
        if (readAhead->taken || readAhead->fileName != fileName)
            continue;
        if (readAhead->loading.joinable())
            readAhead->loading.join();
        readAhead->taken = true;
        std::cerr << readAhead->said;
        return std::move(readAhead->buffer);
    }
    return std::nullopt;
}

void SoundReadAhead::finish()
{
    for (SoundReadAhead* readAhead = latest; readAhead != nullptr; readAhead = readAhead->before)
        if (readAhead->loading.joinable())
            readAhead->loading.join();
}
