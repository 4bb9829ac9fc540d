#pragma once

#include <vector>

// The background tune as timed events: what plays when, before any sound is made.
namespace assetgen::audio
{
constexpr double tempoBpm = 96.0;
constexpr int beatsPerBar = 4;
// 38 bars of 2.5 s: the loop is exactly 95 s long, the point where the game starts the tune again.
constexpr int barCount = 38;
constexpr double loopBeats = static_cast<double>(barCount * beatsPerBar);
constexpr double secondsPerBeat = 60.0 / tempoBpm;

struct NoteEvent
{
    double beat;   // from the start of the loop
    double length; // in beats
    float pitch;   // MIDI note number
    float velocity;
};

enum class Drum
{
    Kick,
    Snare,
    ClosedHat,
    OpenHat,
    Crash
};

struct DrumHit
{
    double beat;
    Drum drum;
    float velocity;
};

struct Arrangement
{
    std::vector<NoteEvent> lead;
    std::vector<NoteEvent> bass;
    std::vector<NoteEvent> pad;
    std::vector<NoteEvent> arpeggio;
    std::vector<DrumHit> drums;
};

// Reads the written score into events. Throws std::invalid_argument when a bar of the score does
// not add up to four beats or names a note or chord it cannot read.
Arrangement arrange();
} // namespace assetgen::audio
