#pragma once

// The instruments and the room: a soft piano lead with a music-box shimmer, an FM music box,
// a warm detuned pad and a round bass, each shaped by an ADSR envelope, then a ping-pong echo
// on the lead and a Freeverb-style reverb over everything.

#include "Song.h"

#include <vector>

namespace music {

constexpr int kSampleRate = 44100;

struct Envelope {
    double attack;   // seconds to full level
    double decay;    // seconds to fall (most of the way) to the sustain level
    double sustain;  // level while the key is held
    double release;  // seconds to silence after the key is let go
};

// The envelope's level `t` seconds after the key went down, the key held for `gate` seconds;
// continuous everywhere and zero from gate + release on.
double envelopeLevel(const Envelope& e, double t, double gate);

struct Stereo {
    std::vector<float> left;
    std::vector<float> right;
};

// Plays `notes` and returns `length` seconds of sound peaking at `peak` (linear). Whatever
// rings past the end (release tails, echoes, reverb) is folded back onto the beginning, as it
// would sound when the piece repeats, so the end meets the start without a cut.
Stereo render(const std::vector<Note>& notes, double length, double peak);

}  // namespace music
