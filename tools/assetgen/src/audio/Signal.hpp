#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

// Sound as floating point samples in -1..1, and their way into 16-bit WAV files.
namespace assetgen::audio
{
constexpr unsigned sampleRate = 44100;
constexpr float sampleRateF = static_cast<float>(sampleRate);

using Samples = std::vector<float>;

struct Stereo
{
    Samples left;
    Samples right;
};

inline std::size_t samplesFor(double seconds)
{
    return static_cast<std::size_t>(seconds * sampleRate + 0.5);
}
inline float timeOf(std::size_t sample)
{
    return static_cast<float>(sample) / sampleRateF;
}

float decibelsToGain(float decibels);
float peakOf(const Samples& samples);

// Scales the sound so that its loudest sample sits at peakDecibels (relative to full scale).
void normaliseTo(Samples& samples, float peakDecibels);
void normaliseTo(Stereo& sound, float peakDecibels);

// Both write 16-bit PCM at 44.1 kHz and throw std::runtime_error when the file cannot be written.
void writeWav(const std::filesystem::path& file, const Samples& mono);
void writeWav(const std::filesystem::path& file, const Stereo& stereo);
} // namespace assetgen::audio
