#include "Signal.hpp"

#include <SFML/Audio/OutputSoundFile.hpp>
#include <SFML/Audio/SoundChannel.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace assetgen::audio
{
namespace
{
constexpr float fullScale = 32767.f;
constexpr float decibelsPerDecade = 20.f;

std::int16_t toPcm(float sample)
{
    return static_cast<std::int16_t>(std::lround(std::clamp(sample, -1.f, 1.f) * fullScale));
}

void write(const std::filesystem::path& file, const std::vector<std::int16_t>& pcm,
           const std::vector<sf::SoundChannel>& channels)
{
    sf::OutputSoundFile out;
    if (!out.openFromFile(file, sampleRate, static_cast<unsigned>(channels.size()), channels))
        throw std::runtime_error("cannot write " + file.string());
    out.write(pcm.data(), pcm.size());
    out.close();
}
} // namespace

float decibelsToGain(float decibels)
{
    return std::pow(10.f, decibels / decibelsPerDecade);
}

float peakOf(const Samples& samples)
{
    float peak = 0.f;
    for (const float s : samples)
        peak = std::max(peak, std::abs(s));
    return peak;
}

void normaliseTo(Samples& samples, float peakDecibels)
{
    const float peak = peakOf(samples);
    if (peak <= 0.f)
        return;
    const float gain = decibelsToGain(peakDecibels) / peak;
    for (float& s : samples)
        s *= gain;
}

void normaliseTo(Stereo& sound, float peakDecibels)
{
    const float peak = std::max(peakOf(sound.left), peakOf(sound.right));
    if (peak <= 0.f)
        return;
    const float gain = decibelsToGain(peakDecibels) / peak;
    for (Samples* channel : {&sound.left, &sound.right})
        for (float& s : *channel)
            s *= gain;
}

void writeWav(const std::filesystem::path& file, const Samples& mono)
{
    std::vector<std::int16_t> pcm(mono.size());
    std::transform(mono.begin(), mono.end(), pcm.begin(), toPcm);
    write(file, pcm, {sf::SoundChannel::Mono});
}

void writeWav(const std::filesystem::path& file, const Stereo& stereo)
{
    // Frames interleave left and right.
    std::vector<std::int16_t> pcm(stereo.left.size() * 2);
    for (std::size_t i = 0; i < stereo.left.size(); ++i)
    {
        pcm[2 * i] = toPcm(stereo.left[i]);
        pcm[2 * i + 1] = toPcm(stereo.right[i]);
    }
    write(file, pcm, {sf::SoundChannel::FrontLeft, sf::SoundChannel::FrontRight});
}
} // namespace assetgen::audio
