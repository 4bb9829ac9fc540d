// The tune: 38 bars in C major at 96 BPM, in five sections - theme (A), theme with arpeggios (A'),
// a lyrical turn to A minor (B), a bridge that climbs back to G, and the theme again (A''). It loops:
// the last bar turns back to the first, and both leave the bar line itself quiet (the last bar stops
// half a beat early, the first enters after an eighth), so the game's restart falls on a breath.
#include "Score.hpp"

#include <array>
#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace assetgen::audio
{
namespace
{
enum class BassLine
{
    Breath,
    Drive,
    Hold,
    Walk,
    Pulse,
    Last
};

enum class Groove
{
    Breath,
    Main,
    Fill,
    Light,
    Build,
    Roll,
    Turn
};

struct Bar
{
    const char* chord;
    const char* melody; // "pitch:beats" tokens, "r" for a rest
    BassLine bass;
    Groove groove;
    bool arpeggio;
    bool crash;      // a cymbal opens the section
    double padBeats; // how long the pad holds the chord
};

constexpr double fullBar = beatsPerBar;
constexpr double lastPadBeats = 3.0; // the pad lets go before the loop point

constexpr std::array<Bar, barCount> score{{
    // A: the theme.
    {"C", "r:0.5 E4:0.5 G4:0.5 C5:1 B4:0.5 G4:1", BassLine::Breath, Groove::Breath, false, false, fullBar},
    {"G", "A4:0.5 B4:0.5 D5:1 B4:1 G4:1", BassLine::Drive, Groove::Main, false, false, fullBar},
    {"Am", "r:0.5 C5:0.5 B4:0.5 A4:0.5 E4:1 A4:1", BassLine::Drive, Groove::Main, false, false, fullBar},
    {"F", "G4:0.5 F4:0.5 E4:0.5 F4:0.5 A4:2", BassLine::Drive, Groove::Main, false, false, fullBar},
    {"C", "r:0.5 E4:0.5 G4:0.5 C5:1 D5:0.5 E5:1", BassLine::Drive, Groove::Main, false, false, fullBar},
    {"G", "D5:0.5 B4:0.5 G4:1 A4:0.5 B4:0.5 D5:1", BassLine::Drive, Groove::Main, false, false, fullBar},
    {"F", "C5:1 A4:0.5 F4:0.5 A4:1 C5:1", BassLine::Drive, Groove::Main, false, false, fullBar},
    {"G", "B4:1.5 A4:0.5 G4:2", BassLine::Drive, Groove::Fill, false, false, fullBar},
    // A': the theme climbs higher over arpeggios.
    {"C", "r:0.5 E4:0.5 G4:0.5 C5:1 B4:0.5 G4:1", BassLine::Drive, Groove::Main, true, true, fullBar},
    {"G", "A4:0.5 B4:0.5 D5:1 G5:1 D5:1", BassLine::Drive, Groove::Main, true, false, fullBar},
    {"Am", "r:0.5 E5:0.5 D5:0.5 C5:0.5 B4:1 A4:1", BassLine::Drive, Groove::Main, true, false, fullBar},
    {"F", "C5:0.5 A4:0.5 F4:0.5 A4:0.5 C5:2", BassLine::Drive, Groove::Main, true, false, fullBar},
    {"Dm", "D5:1 F5:0.5 E5:0.5 D5:1 A4:1", BassLine::Drive, Groove::Main, true, false, fullBar},
    {"G", "B4:0.5 C5:0.5 D5:1 G4:1 B4:1", BassLine::Drive, Groove::Main, true, false, fullBar},
    {"C", "C5:1.5 E5:0.5 D5:0.5 C5:0.5 G4:1", BassLine::Drive, Groove::Main, true, false, fullBar},
    {"C", "C5:3 r:1", BassLine::Hold, Groove::Fill, true, false, fullBar},
    // B: longer notes, A minor, a lighter beat.
    {"Am", "A4:1.5 C5:0.5 B4:1 A4:1", BassLine::Walk, Groove::Light, false, true, fullBar},
    {"F", "A4:1 G4:0.5 F4:0.5 C5:2", BassLine::Walk, Groove::Light, false, false, fullBar},
    {"C", "G4:1.5 E4:0.5 G4:1 C5:1", BassLine::Walk, Groove::Light, false, false, fullBar},
    {"G", "B4:2 D5:1 B4:1", BassLine::Walk, Groove::Light, false, false, fullBar},
    {"Am", "A4:1.5 C5:0.5 E5:1 C5:1", BassLine::Walk, Groove::Light, false, false, fullBar},
    {"F", "F5:1 E5:0.5 D5:0.5 C5:1 A4:1", BassLine::Walk, Groove::Light, false, false, fullBar},
    {"Dm", "D5:1 C5:0.5 A4:0.5 F4:1 A4:1", BassLine::Walk, Groove::Light, false, false, fullBar},
    {"E", "G#4:2 B4:1 E5:1", BassLine::Walk, Groove::Fill, false, false, fullBar},
    // Bridge: a pulsing climb back to G.
    {"F", "r:1 A4:0.5 C5:0.5 F5:1 E5:1", BassLine::Pulse, Groove::Build, true, true, fullBar},
    {"G", "D5:1 B4:0.5 G4:0.5 D5:2", BassLine::Pulse, Groove::Build, true, false, fullBar},
    {"Em", "r:1 G4:0.5 B4:0.5 E5:1 D5:1", BassLine::Pulse, Groove::Build, true, false, fullBar},
    {"Am", "C5:1 A4:0.5 E4:0.5 A4:2", BassLine::Pulse, Groove::Build, true, false, fullBar},
    {"Dm", "F4:0.5 A4:0.5 D5:0.5 F5:0.5 E5:1 D5:1", BassLine::Pulse, Groove::Build, true, false, fullBar},
    {"G7", "B4:0.5 D5:0.5 G5:1 F5:1 D5:1", BassLine::Pulse, Groove::Roll, true, false, fullBar},
    // A'': the theme once more, turning back to the start.
    {"C", "r:0.5 E4:0.5 G4:0.5 C5:1 B4:0.5 G4:1", BassLine::Drive, Groove::Main, true, true, fullBar},
    {"G", "A4:0.5 B4:0.5 D5:1 B4:1 G4:1", BassLine::Drive, Groove::Main, true, false, fullBar},
    {"Am", "r:0.5 C5:0.5 B4:0.5 A4:0.5 E4:1 A4:1", BassLine::Drive, Groove::Main, true, false, fullBar},
    {"F", "G4:0.5 F4:0.5 E4:0.5 F4:0.5 A4:2", BassLine::Drive, Groove::Main, true, false, fullBar},
    {"C", "r:0.5 E4:0.5 G4:0.5 C5:1 D5:0.5 E5:1", BassLine::Drive, Groove::Main, true, false, fullBar},
    {"G", "D5:0.5 B4:0.5 G4:1 A4:0.5 B4:0.5 D5:1", BassLine::Drive, Groove::Main, true, false, fullBar},
    {"F", "C5:1 A4:0.5 F4:0.5 A4:1 C5:1", BassLine::Drive, Groove::Main, true, false, fullBar},
    {"G", "B4:1 A4:0.5 G4:0.5 D4:1 r:1", BassLine::Last, Groove::Turn, false, false, lastPadBeats},
}};

// Bass lines in eighths: R root, 3 third, 5 fifth, 8 octave, - holds the note before, . rests.
std::string_view bassSteps(BassLine line)
{
    switch (line)
    {
    case BassLine::Breath:
        return ". R - 8 5 - 8 R";
    case BassLine::Drive:
        return "R - R 8 5 - 8 R";
    case BassLine::Hold:
        return "R - - - 5 - 8 -";
    case BassLine::Walk:
        return "R - - 5 8 - 5 3";
    case BassLine::Pulse:
        return "R R R R R R 5 5";
    case BassLine::Last:
        return "R - 5 - 8 - . .";
    }
    return "";
}

// Drum patterns in sixteenths, one line per drum: X accent, x normal, g ghost, . silent.
struct GrooveSteps
{
    std::string_view kick;
    std::string_view snare;
    std::string_view hat; // x closed, o open
};

GrooveSteps grooveSteps(Groove groove)
{
    switch (groove)
    {
    case Groove::Breath:
        return {"..x.....x.x.....", "....X.......X...", "..x.x.x.x.x.x.o."};
    case Groove::Main:
        return {"X.......x.x.....", "....X.......X..g", "x.x.x.x.x.x.x.o."};
    case Groove::Fill:
        return {"X.......x.x.....", "....X.....x.xXxX", "x.x.x.x.x.x....."};
    case Groove::Light:
        return {"X.........x.....", "....X.......X...", "..x...x...o...x."};
    case Groove::Build:
        return {"X...x...X...x...", "........X.......", "xgxgxgxgxgxgxgxg"};
    case Groove::Roll:
        return {"X.......x.......", "g.g.x.x.xxxxXXXX", "x.x.x.x........."};
    case Groove::Turn:
        return {"X.......x.......", "....X...x.x.xX..", "x.x.x.x.x.x....."};
    }
    return {};
}

constexpr double sixteenth = 0.25;
constexpr double eighth = 0.5;
constexpr float accentVelocity = 1.f;
constexpr float normalVelocity = 0.75f;
constexpr float ghostVelocity = 0.35f;
constexpr float bassOctaveBase = 36.f; // C2
constexpr float padCentre = 60.f;      // pad voicings gather around middle C
constexpr float arpeggioBase = 72.f;   // C5
constexpr float leadVelocity = 0.9f;
constexpr float downbeatLift = 0.1f;
constexpr float padVelocity = 0.8f;
constexpr float arpeggioVelocity = 0.7f;
constexpr double detached = 0.9; // short notes are played slightly apart
constexpr double tolerance = 1e-9;

struct Chord
{
    int root;                 // pitch class, C = 0
    std::array<int, 4> tones; // intervals above the root; the fourth is only used by seventh chords
    int toneCount;
};

Chord readChord(std::string_view symbol)
{
    static constexpr std::string_view letters = "C D EF G A B";
    const std::size_t letter = letters.find(symbol.empty() ? '?' : symbol[0]);
    if (letter == std::string_view::npos || symbol[0] == ' ')
        throw std::invalid_argument("unreadable chord " + std::string(symbol));
    const std::string_view quality = symbol.substr(1);
    Chord chord{static_cast<int>(letter), {0, 4, 7, 0}, 3};
    if (quality == "m")
        chord.tones = {0, 3, 7, 0};
    else if (quality == "7")
        chord = {chord.root, {0, 4, 7, 10}, 4};
    else if (!quality.empty())
        throw std::invalid_argument("unreadable chord " + std::string(symbol));
    return chord;
}

float readPitch(std::string_view name)
{
    static constexpr std::string_view letters = "C D EF G A B";
    constexpr int semitonesPerOctave = 12;
    constexpr int midiOctaveOffset = 1; // MIDI 60 is C4
    const std::size_t letter = name.empty() ? std::string_view::npos : letters.find(name[0]);
    if (letter == std::string_view::npos || name[0] == ' ' || name.size() < 2)
        throw std::invalid_argument("unreadable note " + std::string(name));
    int pitch = static_cast<int>(letter);
    std::size_t at = 1;
    if (name[at] == '#')
        ++pitch, ++at;
    else if (name[at] == 'b')
        --pitch, ++at;
    if (at + 1 != name.size() || name[at] < '0' || name[at] > '9')
        throw std::invalid_argument("unreadable note " + std::string(name));
    return static_cast<float>(pitch + (name[at] - '0' + midiOctaveOffset) * semitonesPerOctave);
}

float stepVelocity(char step)
{
    return step == 'X' ? accentVelocity : step == 'g' ? ghostVelocity : normalVelocity;
}

void addMelody(Arrangement& out, const Bar& bar, double barStart)
{
    std::istringstream tokens{std::string(bar.melody)};
    std::string token;
    double beat = 0.0;
    while (tokens >> token)
    {
        const std::size_t colon = token.find(':');
        if (colon == std::string::npos)
            throw std::invalid_argument("melody token without a length: " + token);
        const double length = std::stod(token.substr(colon + 1));
        const std::string name = token.substr(0, colon);
        if (name != "r")
        {
            const bool onBeat = std::abs(beat - std::round(beat)) < tolerance;
            const double played = length <= 1.0 ? length * detached : length;
            out.lead.push_back(
                {barStart + beat, played, readPitch(name), leadVelocity + (onBeat ? downbeatLift : 0.f)});
        }
        beat += length;
    }
    if (std::abs(beat - beatsPerBar) > tolerance)
        throw std::invalid_argument("a bar of the melody lasts " + std::to_string(beat) + " beats: " + bar.melody);
}

void addBass(Arrangement& out, const Chord& chord, BassLine line, double barStart)
{
    std::istringstream steps{std::string(bassSteps(line))};
    std::string step;
    double beat = 0.0;
    while (steps >> step)
    {
        const char s = step[0];
        if (s == '-' && !out.bass.empty())
            out.bass.back().length += eighth;
        else if (s != '.' && s != '-')
        {
            const int interval = s == 'R' ? 0 : s == '3' ? chord.tones[1] : s == '5' ? 7 : 12;
            out.bass.push_back({barStart + beat, eighth, bassOctaveBase + static_cast<float>(chord.root + interval),
                                beat == 0.0 ? accentVelocity : normalVelocity});
        }
        beat += eighth;
    }
}

// Each chord tone placed in the octave nearest the pad's centre, so the voicing moves smoothly.
void addPad(Arrangement& out, const Chord& chord, double barStart, double beats)
{
    for (int i = 0; i < chord.toneCount; ++i)
    {
        float pitch = static_cast<float>(chord.root + chord.tones[static_cast<std::size_t>(i)]);
        while (pitch < padCentre - 6.f)
            pitch += 12.f;
        out.pad.push_back({barStart, beats, pitch, padVelocity});
    }
}

void addArpeggio(Arrangement& out, const Chord& chord, double barStart)
{
    // Up and back down the chord, one tone per eighth.
    constexpr std::array<int, 8> order{0, 1, 2, 3, 2, 1, 0, 1};
    for (std::size_t i = 0; i < order.size(); ++i)
    {
        const int tone = order[i];
        const int interval = tone < 3 ? chord.tones[static_cast<std::size_t>(tone)] : 12;
        out.arpeggio.push_back({barStart + static_cast<double>(i) * eighth, eighth,
                                arpeggioBase + static_cast<float>(chord.root + interval), arpeggioVelocity});
    }
}

void addDrums(Arrangement& out, const Bar& bar, double barStart)
{
    const GrooveSteps steps = grooveSteps(bar.groove);
    const auto place = [&](std::string_view line, Drum drum, Drum open)
    {
        for (std::size_t i = 0; i < line.size(); ++i)
            if (line[i] != '.')
                out.drums.push_back({barStart + static_cast<double>(i) * sixteenth, line[i] == 'o' ? open : drum,
                                     stepVelocity(line[i])});
    };
    place(steps.kick, Drum::Kick, Drum::Kick);
    place(steps.snare, Drum::Snare, Drum::Snare);
    place(steps.hat, Drum::ClosedHat, Drum::OpenHat);
    if (bar.crash)
        out.drums.push_back({barStart, Drum::Crash, accentVelocity});
}
} // namespace

Arrangement arrange()
{
    Arrangement out;
    for (std::size_t i = 0; i < score.size(); ++i)
    {
        const Bar& bar = score[i];
        const double barStart = static_cast<double>(i) * beatsPerBar;
        const Chord chord = readChord(bar.chord);
        addMelody(out, bar, barStart);
        addBass(out, chord, bar.bass, barStart);
        addPad(out, chord, barStart, bar.padBeats);
        if (bar.arpeggio)
            addArpeggio(out, chord, barStart);
        addDrums(out, bar, barStart);
    }
    return out;
}
} // namespace assetgen::audio
