#include "support/Recording.hpp"

#include <SFML/Audio/InputSoundFile.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <stdexcept>

namespace
{
constexpr double fullScale = 32767.0 / 32768.0;
// A short stretch of a sound finds where it plays, even under a louder sound; a longer one, which a
// note of the tune that happens to resemble the short one does not match, confirms it.
constexpr double searchSeconds = 0.03;
constexpr double confirmSeconds = 0.25;
// How alike (normalised cross-correlation, 0 to 1) the recording must be to the long stretch: sounds
// found are alike at 0.44 to 1, notes of the tune and the other sounds at most 0.25. (The short one
// only proposes places; see findSound.)
constexpr double confirmThreshold = 0.35;
constexpr double quietestBlock = 0.01; // -40 dBFS

double rms(const std::vector<float>& samples, std::size_t from, std::size_t to)
{
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

double energyOf(const std::vector<float>& samples, std::size_t from, std::size_t length)
{
    return std::inner_product(samples.begin() + static_cast<long>(from),
                              samples.begin() + static_cast<long>(from + length),
                              samples.begin() + static_cast<long>(from), 0.0);
}

// Normalised cross-correlation (1: the same shape at any level) of `pattern` with `samples` from
// `at`, given the energies of the pattern and of that stretch of `samples`.
double likenessAt(const std::vector<float>& samples, std::size_t at, const std::vector<float>& pattern,
                  double patternEnergy, double energy)
{
    if (energy <= 0.0)
        return 0.0;
    float dot = 0.f;
    for (std::size_t i = 0; i < pattern.size(); ++i)
        dot += samples[at + i] * pattern[i];
    return dot / std::sqrt(energy * patternEnergy);
}

// The loudest stretch of `length` frames in the sound: where it begins.
std::size_t loudestStretch(const std::vector<float>& sound, std::size_t length)
{
    double energy = 0.0;
    for (std::size_t i = 0; i < length; ++i)
        energy += static_cast<double>(sound[i]) * sound[i];
    double loudest = energy;
    std::size_t at = 0;
    for (std::size_t i = length; i < sound.size(); ++i)
    {
        energy += static_cast<double>(sound[i]) * sound[i] - static_cast<double>(sound[i - length]) * sound[i - length];
        if (energy > loudest)
        {
            loudest = energy;
            at = i - length + 1;
        }
    }
    return at;
}
} // namespace

double Recording::frameAt(std::chrono::steady_clock::time_point time) const
{
    return std::chrono::duration<double>(time - *frameZero).count() * rate;
}

SoundFile readSoundFile(const std::filesystem::path& path)
{
    sf::InputSoundFile in;
    if (!in.openFromFile(path))
        throw std::runtime_error("cannot read " + path.string());
    std::vector<std::int16_t> samples(static_cast<std::size_t>(in.getSampleCount()));
    samples.resize(static_cast<std::size_t>(in.read(samples.data(), samples.size())));
    SoundFile file;
    file.rate = in.getSampleRate();
    const unsigned channels = in.getChannelCount();
    file.channels.resize(channels);
    for (std::size_t i = 0; i < samples.size(); ++i)
        file.channels[i % channels].push_back(samples[i] / 32768.f);
    return file;
}

std::optional<Span> soundSpan(const Recording& recording)
{
    std::size_t first = 0;
    while (first < recording.frames() && recording.silentAt(first))
        ++first;
    if (first == recording.frames())
        return std::nullopt;
    std::size_t last = recording.frames();
    while (recording.silentAt(last - 1))
        --last;
    return Span{first, last};
}

std::vector<std::size_t> silences(const Recording& recording, Span span, std::size_t shortest, std::size_t longest)
{
    std::vector<std::size_t> runs;
    for (std::size_t i = span.first; i < span.last;)
    {
        std::size_t end = i;
        while (end < span.last && recording.silentAt(end))
            ++end;
        const std::size_t length = end - i;
        if (length >= shortest && length <= longest)
            runs.push_back(length);
        i = std::max(end, i + 1);
    }
    return runs;
}

int samplesAtFullScale(const Recording& recording)
{
    const auto atFullScale = [](float s) { return std::abs(s) >= fullScale; };
    return static_cast<int>(std::count_if(recording.left.begin(), recording.left.end(), atFullScale) +
                            std::count_if(recording.right.begin(), recording.right.end(), atFullScale));
}

std::vector<std::size_t> findSound(const Recording& recording, Span span, const std::vector<float>& sound,
                                   double searchLikeness)
{
    std::vector<float> middle(span.last - span.first);
    for (std::size_t i = 0; i < middle.size(); ++i)
        middle[i] = 0.5f * (recording.left[span.first + i] + recording.right[span.first + i]);

    // Candidates: where the sound's loudest short stretch matches, the best place of each match.
    const std::size_t length = std::min(sound.size(), recording.framesOf(searchSeconds));
    const std::size_t from = loudestStretch(sound, length);
    const std::vector<float> stretch(sound.begin() + static_cast<long>(from),
                                     sound.begin() + static_cast<long>(from + length));
    if (middle.size() < length)
        return {};
    const double stretchEnergy = energyOf(stretch, 0, length);
    std::vector<float> likeness(middle.size() - length + 1, 0.f);
    double energy = std::inner_product(middle.begin(), middle.begin() + static_cast<long>(length), middle.begin(), 0.0);
    for (std::size_t t = 0; t < likeness.size(); ++t)
    {
        if (t > 0)
            energy += static_cast<double>(middle[t + length - 1]) * middle[t + length - 1] -
                      static_cast<double>(middle[t - 1]) * middle[t - 1];
        likeness[t] = static_cast<float>(likenessAt(middle, t, stretch, stretchEnergy, energy));
    }

    // Each candidate is confirmed by a long stretch from the sound's start, which a tone of the
    // tune that happens to resemble a short stretch does not match.
    const std::size_t confirmLength = std::min(sound.size(), recording.framesOf(confirmSeconds));
    const std::size_t confirmFrom = loudestStretch(sound, confirmLength);
    const std::vector<float> loudest(sound.begin() + static_cast<long>(confirmFrom),
                                     sound.begin() + static_cast<long>(confirmFrom + confirmLength));
    const double loudestEnergy = energyOf(loudest, 0, confirmLength);
    std::vector<std::size_t> starts;
    for (std::size_t t = 0; t < likeness.size();)
    {
        if (likeness[t] < searchLikeness)
        {
            ++t;
            continue;
        }
        std::size_t best = t;
        for (std::size_t near = t; near < likeness.size() && near < t + length; ++near)
            best = likeness[near] > likeness[best] ? near : best;
        const std::size_t onset = best >= from ? best - from : 0;
        const double confirmed = best >= from && onset + confirmFrom + confirmLength <= middle.size()
                                     ? likenessAt(middle, onset + confirmFrom, loudest, loudestEnergy,
                                                  energyOf(middle, onset + confirmFrom, confirmLength))
                                     : 0.0;
        if (confirmed >= confirmThreshold)
            starts.push_back(span.first + onset);
        // A sound started again, even before it ended, has its loudest stretch later than this one's.
        t = best + length;
    }
    return starts;
}

std::optional<double> levelAgainst(const Recording& recording, const SoundFile& file, unsigned channel,
                                   const std::vector<Block>& blocks)
{
    const std::vector<float>& heard = channel == 0 ? recording.left : recording.right;
    const std::vector<float>& held = file.channels.at(channel);
    std::vector<double> differences;
    for (const Block& block : blocks)
    {
        if (block.held + block.length > held.size() || block.heard + block.length > heard.size())
            continue;
        const double fileLevel = rms(held, block.held, block.held + block.length);
        if (fileLevel < quietestBlock)
            continue;
        differences.push_back(20.0 * std::log10(rms(heard, block.heard, block.heard + block.length) / fileLevel));
    }
    if (differences.empty())
        return std::nullopt;
    std::nth_element(differences.begin(), differences.begin() + static_cast<long>(differences.size() / 2),
                     differences.end());
    return differences[differences.size() / 2];
}
