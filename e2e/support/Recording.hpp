#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <vector>

// What was heard: stereo frames at one rate, samples in -1..1, and when frame 0 was played.
struct Recording
{
    unsigned rate = 0;
    std::vector<float> left;
    std::vector<float> right;
    std::optional<std::chrono::steady_clock::time_point> frameZero;

    [[nodiscard]] std::size_t frames() const { return left.size(); }
    [[nodiscard]] bool silentAt(std::size_t frame) const { return left[frame] == 0.f && right[frame] == 0.f; }
    [[nodiscard]] double secondsOf(std::size_t frames) const { return static_cast<double>(frames) / rate; }
    [[nodiscard]] std::size_t framesOf(double seconds) const { return static_cast<std::size_t>(seconds * rate); }
    // The frame played at `time`.
    [[nodiscard]] double frameAt(std::chrono::steady_clock::time_point time) const;
};

// A sound file as the game loads it, each channel in -1..1.
struct SoundFile
{
    unsigned rate = 0;
    std::vector<std::vector<float>> channels;
};
[[nodiscard]] SoundFile readSoundFile(const std::filesystem::path& path);

// The span from the first to the last frame that is not digital silence (`last` exclusive).
struct Span
{
    std::size_t first = 0;
    std::size_t last = 0;
};
[[nodiscard]] std::optional<Span> soundSpan(const Recording& recording);

// Runs of digital silence on both channels within `span`, at least `shortest` and at most `longest`
// frames long, as their lengths.
[[nodiscard]] std::vector<std::size_t> silences(const Recording& recording, Span span, std::size_t shortest,
                                                std::size_t longest);

// Samples at full scale, where anything louder has been clipped.
[[nodiscard]] int samplesAtFullScale(const Recording& recording);

// Where a mono sound starts playing within `span`, found by matching its loudest stretch against the
// recording's middle (left plus right), where a sound played on both channels alike stands out from the
// stereo tune. A sound started again before it ended is found again, once its loudest part is heard.
// `searchLikeness` is how alike a short stretch must be to be looked at further: the squawk and the death
// sound keep 0.84 or more of it over the tune, the soft flap only 0.48 over the tune's loudest passages.
[[nodiscard]] std::vector<std::size_t> findSound(const Recording& recording, Span span, const std::vector<float>& sound,
                                                 double searchLikeness = 0.75);

// A stretch of the recording and where in a file the same stretch lies.
struct Block
{
    std::size_t heard = 0; // first frame in the recording
    std::size_t held = 0;  // first frame in the file
    std::size_t length = 0;
};

// How much louder (positive) or quieter, in dB, the recording plays `file`'s channel `channel` than
// the file holds it: the median over the `blocks` where the file's level is above -40 dBFS.
[[nodiscard]] std::optional<double> levelAgainst(const Recording& recording, const SoundFile& file, unsigned channel,
                                                 const std::vector<Block>& blocks);
