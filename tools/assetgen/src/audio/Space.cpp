#include "Space.hpp"

#include "Synth.hpp"

#include <algorithm>
#include <array>

namespace assetgen::audio
{
namespace
{
// Long enough for any echo or reverb tail to have died away (below -60 dB).
constexpr double warmUpSeconds = 6.0;
constexpr float echoTone = 3500.f; // each repeat duller than the one before
constexpr float echoSpread = 0.5f;

constexpr std::array<std::size_t, 4> combLengths{1116, 1188, 1277, 1356};
constexpr std::array<std::size_t, 2> allpassLengths{556, 441};
constexpr std::size_t stereoSpread = 23;
constexpr float combFeedback = 0.8f;
constexpr float combDamping = 0.3f;
constexpr float allpassFeedback = 0.5f;
constexpr float reverbInputGain = 0.1f;

// Runs `process` over the loop's last seconds (output dropped) and then over the whole loop, so
// the effect starts the loop in the state the loop's own end leaves it in.
template <class Process> void runLooped(const Samples& input, Process process)
{
    const std::size_t n = input.size();
    const std::size_t warmUp = std::min(n, samplesFor(warmUpSeconds));
    for (std::size_t i = n - warmUp; i < n; ++i)
        process(i, input[i], false);
    for (std::size_t i = 0; i < n; ++i)
        process(i, input[i], true);
}

class DelayLine
{
public:
    explicit DelayLine(std::size_t length) : buffer(length, 0.f) {}
    float read() const { return buffer[position]; }
    void write(float value)
    {
        buffer[position] = value;
        if (++position == buffer.size())
            position = 0;
    }

private:
    std::vector<float> buffer;
    std::size_t position = 0;
};

class Comb
{
public:
    explicit Comb(std::size_t length) : line(length) {}
    float process(float input)
    {
        const float out = line.read();
        filtered = out * (1.f - combDamping) + filtered * combDamping;
        line.write(input + filtered * combFeedback);
        return out;
    }

private:
    DelayLine line;
    float filtered = 0.f;
};

class Allpass
{
public:
    explicit Allpass(std::size_t length) : line(length) {}
    float process(float input)
    {
        const float delayed = line.read();
        line.write(input + delayed * allpassFeedback);
        return delayed - input;
    }

private:
    DelayLine line;
};

class ReverbChannel
{
public:
    explicit ReverbChannel(std::size_t spread)
    {
        for (const std::size_t length : combLengths)
            combs.emplace_back(length + spread);
        for (const std::size_t length : allpassLengths)
            allpasses.emplace_back(length + spread);
    }
    float process(float input)
    {
        float sum = 0.f;
        for (Comb& comb : combs)
            sum += comb.process(input * reverbInputGain);
        for (Allpass& allpass : allpasses)
            sum = allpass.process(sum);
        return sum;
    }

private:
    std::vector<Comb> combs;
    std::vector<Allpass> allpasses;
};
} // namespace

Stereo loopedEcho(const Samples& send, std::size_t delaySamples, float feedback)
{
    Stereo out{Samples(send.size(), 0.f), Samples(send.size(), 0.f)};
    DelayLine line(delaySamples);
    DelayLine offset(delaySamples / 2);
    OnePoleLowPass tone(echoTone);
    runLooped(send,
              [&](std::size_t i, float input, bool keep)
              {
                  const float echo = line.read();
                  line.write(input + tone.process(echo) * feedback);
                  const float late = offset.read();
                  offset.write(echo);
                  if (keep)
                  {
                      out.left[i] = echo;
                      out.right[i] = echo * (1.f - echoSpread) + late * echoSpread;
                  }
              });
    return out;
}

Stereo loopedReverb(const Samples& send)
{
    Stereo out{Samples(send.size(), 0.f), Samples(send.size(), 0.f)};
    ReverbChannel left(0);
    ReverbChannel right(stereoSpread);
    runLooped(send,
              [&](std::size_t i, float input, bool keep)
              {
                  const float l = left.process(input);
                  const float r = right.process(input);
                  if (keep)
                  {
                      out.left[i] = l;
                      out.right[i] = r;
                  }
              });
    return out;
}
} // namespace assetgen::audio
