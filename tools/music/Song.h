#pragma once

// The score of "心动": a 24-bar ballad in F major at 76 beats a minute, written as chords, a
// bass line and a tune, and turned into timed notes for the instruments of Synth.h.

#include <vector>

namespace music {

constexpr double kTempo = 76;  // beats a minute
constexpr int kBeatsPerBar = 4;
constexpr double kBeat = 60.0 / kTempo;        // seconds
constexpr double kBar = kBeat * kBeatsPerBar;  // seconds

enum class Voice { Lead, MusicBox, Pad, Bass };

struct Note {
    Voice voice;
    double start;     // seconds from the top
    double length;    // seconds the key is held
    int pitch;        // MIDI note number, 69 = A4 = 440 Hz
    double velocity;  // 0..1
    double pan;       // -1 left .. 1 right
};

// How many bars the song has; its length is barCount() * kBar and its last bar leads back into
// the first, so the page can loop it.
int barCount();

// Every note of the song, or an empty list with `error` set when a bar of the score does not
// add up (a typing slip in the tune).
std::vector<Note> songNotes(const char** error);

double frequency(int pitch);

}  // namespace music
