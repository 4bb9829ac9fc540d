// Renders the score: four pitched instruments from wavetables, a drum kit, and an echo and reverb,
// all into buffers one loop long that wrap around, so a note or echo that rings past the loop's end
// sounds at its start instead, as it will when the loop repeats.
#include "Tune.hpp"

#include "Drums.hpp"
#include "Score.hpp"
#include "Space.hpp"
#include "Synth.hpp"

#include <algorithm>
#include <cmath>

namespace assetgen::audio
{
namespace
{
constexpr double samplesPerBeat = sampleRate * secondsPerBeat;
constexpr float quarterTurn = twoPi / 4.f;
constexpr float centsPerSemitone = 100.f;
constexpr float vibratoFadeIn = 0.2f;
constexpr float semitonesPerOctave = 12.f;
constexpr double unisonPhaseOffset = 0.37; // unison voices start apart so they do not flange at the attack

// The tune peaks well below the effects (at -8..-11 dBFS) so that they sit clearly over it.
constexpr float tunePeakDecibels = -13.f;
constexpr double tailBars = 1.0;
constexpr double tailFadeSeconds = 0.5;

constexpr double echoBeats = 0.75; // a dotted eighth
constexpr float echoFeedback = 0.35f;
constexpr float echoReturn = 0.8f;
constexpr float reverbReturn = 0.9f;

// A pitched instrument's settings; unset fields leave that feature off.
struct Instrument
{
    std::vector<float> harmonics; // the timbre: amplitude of each harmonic, fundamental first
    Envelope envelope;
    float gain = 0.f;
    float pan = 0.f; // -1 left .. +1 right
    int unison = 1;  // voices per note, detuned against each other
    float detuneCents = 0.f;
    float unisonSpread = 0.f; // how far apart the unison voices are panned
    float vibratoSemitones = 0.f;
    float vibratoHz = 0.f;
    float vibratoDelay = 0.f; // vibrato creeps in after the attack, as a player's would
    float lowPassHz = 0.f;
    float echoSend = 0.f;
    float reverbSend = 0.f;
};

// A soft, hollow lead between a flute and a clarinet.
Instrument lead()
{
    Instrument i;
    i.harmonics = {1.f, 0.28f, 0.32f, 0.08f, 0.12f, 0.04f, 0.05f, 0.02f};
    i.envelope = {0.012f, 0.15f, 0.75f, 0.09f};
    i.gain = 0.34f;
    i.pan = 0.12f;
    i.vibratoSemitones = 0.12f;
    i.vibratoHz = 5.5f;
    i.vibratoDelay = 0.18f;
    i.lowPassHz = 6000.f;
    i.echoSend = 0.28f;
    i.reverbSend = 0.3f;
    return i;
}

// A round bass with enough upper harmonics to be heard on small speakers.
Instrument bass()
{
    Instrument i;
    i.harmonics = {1.f, 0.55f, 0.22f, 0.1f, 0.05f};
    i.envelope = {0.006f, 0.18f, 0.55f, 0.05f};
    i.gain = 0.5f;
    i.lowPassHz = 1800.f;
    i.reverbSend = 0.04f;
    return i;
}

// Two detuned saws, darkened and slow to swell: the harmony's bed.
Instrument pad()
{
    Instrument i;
    i.harmonics = {1.f, 0.5f, 0.33f, 0.25f, 0.2f, 0.17f, 0.14f, 0.12f, 0.11f, 0.1f, 0.09f, 0.08f};
    i.envelope = {0.35f, 0.6f, 0.8f, 0.45f};
    i.gain = 0.075f;
    i.unison = 2;
    i.detuneCents = 8.f;
    i.unisonSpread = 0.55f;
    i.lowPassHz = 1500.f;
    i.reverbSend = 0.5f;
    return i;
}

// A short pluck for the arpeggios, off to the left.
Instrument pluck()
{
    Instrument i;
    i.harmonics = {1.f, 0.5f, 0.33f, 0.25f, 0.2f, 0.16f};
    i.envelope = {0.003f, 0.22f, 0.f, 0.08f};
    i.gain = 0.14f;
    i.pan = -0.35f;
    i.lowPassHz = 3200.f;
    i.echoSend = 0.2f;
    i.reverbSend = 0.3f;
    return i;
}

struct DrumVoice
{
    Drum drum;
    float gain;
    float pan;
    float reverbSend;
};
// drum, gain, pan, reverb send: the kick in the middle and dry, hats right, crash left.
constexpr DrumVoice kit[] = {
    {Drum::Kick, 0.85f, 0.f, 0.f},       {Drum::Snare, 0.42f, -0.05f, 0.25f}, {Drum::ClosedHat, 0.16f, 0.3f, 0.f},
    {Drum::OpenHat, 0.13f, 0.3f, 0.05f}, {Drum::Crash, 0.2f, -0.35f, 0.2f},
};

struct Mix
{
    explicit Mix(std::size_t length)
        : dry{Samples(length, 0.f), Samples(length, 0.f)}, echoSend(length, 0.f), reverbSend(length, 0.f)
    {
    }
    Stereo dry;
    Samples echoSend;
    Samples reverbSend;
};

// Constant-power pan gains.
std::pair<float, float> panGains(float pan)
{
    const float angle = (pan + 1.f) * 0.5f * quarterTurn;
    return {std::cos(angle), std::sin(angle)};
}

std::size_t startSample(double beat)
{
    return static_cast<std::size_t>(std::llround(beat * samplesPerBeat));
}

void renderNote(const NoteEvent& note, const Instrument& instrument, const Wavetable& table, Mix& mix)
{
    const std::size_t length = mix.echoSend.size();
    const float held = static_cast<float>(note.length * secondsPerBeat);
    const std::size_t count = samplesFor(instrument.envelope.length(held));
    const std::size_t start = startSample(note.beat);
    for (int u = 0; u < instrument.unison; ++u)
    {
        const float offset =
            instrument.unison > 1 ? static_cast<float>(u) / static_cast<float>(instrument.unison - 1) - 0.5f : 0.f;
        const float hz = midiToFrequency(note.pitch + offset * instrument.detuneCents / centsPerSemitone);
        const auto [left, right] =
            panGains(std::clamp(instrument.pan + offset * 2.f * instrument.unisonSpread, -1.f, 1.f));
        OnePoleLowPass tone(instrument.lowPassHz);
        double phase = unisonPhaseOffset * u;
        const float level = instrument.gain * note.velocity / static_cast<float>(instrument.unison);
        std::size_t at = start % length;
        for (std::size_t i = 0; i < count; ++i, at = at + 1 == length ? 0 : at + 1)
        {
            const float t = timeOf(i);
            float bend = 1.f;
            if (instrument.vibratoSemitones > 0.f)
            {
                const float vibrato = instrument.vibratoSemitones * std::sin(twoPi * instrument.vibratoHz * t) *
                                      smoothstep(instrument.vibratoDelay, instrument.vibratoDelay + vibratoFadeIn, t);
                bend = std::exp2(vibrato / semitonesPerOctave);
            }
            phase += hz * bend / sampleRateF;
            const float s = tone.process(table.at(phase)) * instrument.envelope.at(t, held) * level;
            mix.dry.left[at] += s * left;
            mix.dry.right[at] += s * right;
            mix.echoSend[at] += s * instrument.echoSend;
            mix.reverbSend[at] += s * instrument.reverbSend;
        }
    }
}

void renderPart(const std::vector<NoteEvent>& notes, const Instrument& instrument, Mix& mix)
{
    const Wavetable table(instrument.harmonics);
    for (const NoteEvent& note : notes)
        renderNote(note, instrument, table, mix);
}

void renderDrums(const std::vector<DrumHit>& hits, Mix& mix)
{
    const std::size_t length = mix.echoSend.size();
    for (const DrumVoice& voice : kit)
    {
        const Samples sound = drumSound(voice.drum);
        const auto [left, right] = panGains(voice.pan);
        for (const DrumHit& hit : hits)
        {
            if (hit.drum != voice.drum)
                continue;
            const std::size_t start = startSample(hit.beat);
            const float level = voice.gain * hit.velocity;
            for (std::size_t i = 0; i < sound.size(); ++i)
            {
                const std::size_t at = (start + i) % length;
                const float s = sound[i] * level;
                mix.dry.left[at] += s * left;
                mix.dry.right[at] += s * right;
                mix.reverbSend[at] += s * voice.reverbSend;
            }
        }
    }
}

void addInto(Stereo& target, const Stereo& source, float gain)
{
    for (std::size_t i = 0; i < target.left.size(); ++i)
    {
        target.left[i] += source.left[i] * gain;
        target.right[i] += source.right[i] * gain;
    }
}
} // namespace

std::size_t loopLength()
{
    return startSample(loopBeats);
}

Stereo backgroundTune()
{
    const Arrangement arrangement = arrange();
    const std::size_t length = loopLength();
    Mix mix(length);
    renderPart(arrangement.lead, lead(), mix);
    renderPart(arrangement.bass, bass(), mix);
    renderPart(arrangement.pad, pad(), mix);
    renderPart(arrangement.arpeggio, pluck(), mix);
    renderDrums(arrangement.drums, mix);

    Stereo loop = std::move(mix.dry);
    addInto(loop, loopedEcho(mix.echoSend, startSample(echoBeats), echoFeedback), echoReturn);
    addInto(loop, loopedReverb(mix.reverbSend), reverbReturn);
    normaliseTo(loop, tunePeakDecibels);

    // The tail repeats the loop's start; only its last half second fades, where no restart reaches.
    const std::size_t tail = startSample(tailBars * beatsPerBar);
    const std::size_t fade = samplesFor(tailFadeSeconds);
    loop.left.reserve(length + tail);
    loop.right.reserve(length + tail);
    for (std::size_t i = 0; i < tail; ++i)
    {
        const float gain = i + fade < tail ? 1.f : static_cast<float>(tail - i) / static_cast<float>(fade);
        loop.left.push_back(loop.left[i] * gain);
        loop.right.push_back(loop.right[i] * gain);
    }
    return loop;
}
} // namespace assetgen::audio
