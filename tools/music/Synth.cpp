// Additive and FM voices, the echo and the reverb, all in floating point until the very end.

#include "Synth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace music {

namespace {

constexpr double kTwoPi = 6.283185307179586;
// Partials above this are left out: they would only add hiss, and far above it they would fold
// back below the Nyquist frequency as aliases.
constexpr double kBrightest = 9000;
// Enough for the longest release plus the reverb to die away.
constexpr double kTail = 7.0;

struct Bus {
    explicit Bus(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    std::vector<float> left;
    std::vector<float> right;
};

// Phases that differ from note to note but not from run to run.
class Phases {
public:
    double next() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state_ >> 11) / static_cast<double>(1ull << 53) * kTwoPi;
    }

private:
    std::uint64_t state_ = 0x1234abcdull;
};

// Writes a mono voice into the bus with an equal-power pan.
template <typename Sample>
void play(Bus& bus, double start, double seconds, double pan, Sample sample) {
    const double angle = (pan + 1) * kTwoPi / 8;
    const double gl = std::cos(angle);
    const double gr = std::sin(angle);
    const auto first = static_cast<std::size_t>(std::max(0.0, start) * kSampleRate);
    const std::size_t count = static_cast<std::size_t>(seconds * kSampleRate);
    for (std::size_t i = 0; i < count && first + i < bus.left.size(); ++i) {
        const double v = sample(static_cast<double>(i) / kSampleRate);
        bus.left[first + i] += static_cast<float>(v * gl);
        bus.right[first + i] += static_cast<float>(v * gr);
    }
}

// A soft felt piano: slightly stretched partials, the upper ones dying first, so a note starts
// round and mellows further as it rings.
void piano(Bus& bus, const Note& n, Phases& phases) {
    static const Envelope kEnv{0.006, 1.6, 0.22, 0.45};
    const double f = frequency(n.pitch);
    struct Partial {
        double freq, amp, damping, phase;
    };
    std::vector<Partial> partials;
    for (int k = 1; k <= 10; ++k) {
        const double fk = f * k * std::sqrt(1 + 0.00018 * k * k);
        if (fk > kBrightest)
            break;
        const double edge = 1 - std::pow(fk / kBrightest, 2);
        const double amp = edge * std::pow(k, -1.6) * (k == 2 ? 1.3 : 1.0);
        partials.push_back({kTwoPi * fk, amp, 0.6 * k, phases.next()});
    }
    const double gate = n.length;
    play(bus, n.start, gate + kEnv.release, n.pan, [&](double t) {
        double v = 0;
        for (const Partial& p : partials)
            v += p.amp * std::exp(-p.damping * t) * std::sin(p.freq * t + p.phase);
        return 0.5 * n.velocity * envelopeLevel(kEnv, t, gate) * v;
    });
}

// A music box tine: a sine frequency-modulated at four times its pitch, the modulation fading
// within a tenth of a second, so the strike chimes and the ring is a pure tone.
void musicBox(Bus& bus, const Note& n, Phases& phases, double level) {
    static const Envelope kEnv{0.002, 1.8, 0.0, 0.3};
    const double w = kTwoPi * frequency(n.pitch);
    const double phase = phases.next();
    play(bus, n.start, n.length + kEnv.release + 1.2, n.pan, [&](double t) {
        const double index = 1.1 * std::exp(-t * 14);
        const double v = std::sin(w * t + phase + index * std::sin(4 * w * t));
        return level * n.velocity * envelopeLevel(kEnv, t, n.length + 1.2) * v;
    });
}

// A warm pad: two gently detuned band-limited saw-like tones per note, one leaning each way,
// slowly breathing.
void pad(Bus& bus, const Note& n, Phases& phases) {
    static const Envelope kEnv{0.9, 0.8, 0.8, 1.6};
    const double f = frequency(n.pitch);
    for (int side = 0; side < 2; ++side) {
        const double cents = side == 0 ? -5 : 5;
        const double fs = f * std::pow(2.0, cents / 1200);
        std::array<double, 6> phase{};
        for (double& p : phase)
            p = phases.next();
        const double sway = phases.next();
        play(bus, n.start, n.length + kEnv.release, side == 0 ? -0.45 : 0.45, [&](double t) {
            double v = 0;
            for (int k = 1; k <= 6; ++k) {
                if (fs * k > 4000)
                    break;
                v += std::pow(k, -1.5) * std::sin(kTwoPi * fs * k * t + phase[k - 1]);
            }
            const double breath = 1 + 0.12 * std::sin(kTwoPi * 0.23 * t + sway);
            return 0.055 * n.velocity * breath * envelopeLevel(kEnv, t, n.length) * v;
        });
    }
}

// A round bass: the fundamental with a little of its octave and twelfth, so it carries on
// small speakers too.
void bass(Bus& bus, const Note& n, Phases& phases) {
    static const Envelope kEnv{0.012, 0.5, 0.6, 0.3};
    const double w = kTwoPi * frequency(n.pitch);
    const double phase = phases.next();
    play(bus, n.start, n.length + kEnv.release, n.pan, [&](double t) {
        const double v = std::sin(w * t + phase) + 0.28 * std::sin(2 * w * t + phase) +
                         0.08 * std::sin(3 * w * t + phase);
        return 0.32 * n.velocity * envelopeLevel(kEnv, t, n.length) * v;
    });
}

// Dotted-eighth ping-pong echo, each repeat darker than the one before.
void echo(Bus& bus, double delay, double feedback, double wet) {
    const auto d = static_cast<std::size_t>(delay * kSampleRate);
    std::vector<float> l(bus.left.size(), 0.0f);
    std::vector<float> r(bus.right.size(), 0.0f);
    float dampL = 0;
    float dampR = 0;
    for (std::size_t i = d; i < bus.left.size(); ++i) {
        // The left repeat comes from the right's past, and the other way round.
        const float inL = bus.left[i - d] * 0.5f + r[i - d] * static_cast<float>(feedback);
        const float inR = bus.right[i - d] * 0.5f + l[i - d] * static_cast<float>(feedback);
        dampL += 0.35f * (inR - dampL);
        dampR += 0.35f * (inL - dampR);
        l[i] = dampL;
        r[i] = dampR;
    }
    for (std::size_t i = 0; i < bus.left.size(); ++i) {
        bus.left[i] += static_cast<float>(wet) * l[i];
        bus.right[i] += static_cast<float>(wet) * r[i];
    }
}

// Freeverb's structure: eight damped combs in parallel, four allpasses in series, the right
// channel's delays a little longer than the left's for width.
class Reverb {
public:
    explicit Reverb(int spread) {
        static const int kCombs[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
        static const int kAllpasses[] = {556, 441, 341, 225};
        for (int c : kCombs)
            combs_.push_back({std::vector<float>(static_cast<std::size_t>(c + spread), 0.0f)});
        for (int a : kAllpasses)
            allpasses_.push_back({std::vector<float>(static_cast<std::size_t>(a + spread), 0.0f)});
    }

    float process(float input) {
        float out = 0;
        for (Line& c : combs_) {
            const float y = c.buffer[c.at];
            c.store = y * (1 - kDamp) + c.store * kDamp;
            c.buffer[c.at] = input * 0.015f + c.store * kRoom;
            c.at = (c.at + 1) % c.buffer.size();
            out += y;
        }
        for (Line& a : allpasses_) {
            const float b = a.buffer[a.at];
            a.buffer[a.at] = out + b * 0.5f;
            a.at = (a.at + 1) % a.buffer.size();
            out = b - out;
        }
        return out;
    }

private:
    static constexpr float kRoom = 0.83f;
    static constexpr float kDamp = 0.35f;
    struct Line {
        std::vector<float> buffer;
        std::size_t at = 0;
        float store = 0;
    };
    std::vector<Line> combs_;
    std::vector<Line> allpasses_;
};

}  // namespace

double envelopeLevel(const Envelope& e, double t, double gate) {
    const auto held = [&e](double u) {
        if (u < e.attack)
            return u / e.attack;
        // Exponential fall: 95 % of the way to the sustain level after `decay`.
        return e.sustain + (1 - e.sustain) * std::exp(-3 * (u - e.attack) / e.decay);
    };
    if (t < 0)
        return 0;
    if (t < gate)
        return held(t);
    const double r = (t - gate) / e.release;
    if (r >= 1)
        return 0;
    // A squared ramp meets zero with zero slope: no click at the very end.
    return held(gate) * (1 - r) * (1 - r);
}

Stereo render(const std::vector<Note>& notes, double length, double peak) {
    const auto frames = static_cast<std::size_t>(length * kSampleRate);
    const std::size_t total = frames + static_cast<std::size_t>(kTail * kSampleRate);
    Bus lead(total);
    Bus box(total);
    Bus warm(total);
    Phases phases;
    for (const Note& n : notes) {
        switch (n.voice) {
            case Voice::Lead:
                piano(lead, n, phases);
                // The same note faintly on the music box gives the piano a sparkle.
                musicBox(lead, n, phases, 0.07);
                break;
            case Voice::MusicBox:
                musicBox(box, n, phases, 0.14);
                break;
            case Voice::Pad:
                pad(warm, n, phases);
                break;
            case Voice::Bass:
                bass(warm, n, phases);
                break;
        }
    }
    echo(lead, 0.75 * kBeat, 0.3, 0.22);

    Reverb roomL(0);
    Reverb roomR(23);
    Stereo out{std::vector<float>(total), std::vector<float>(total)};
    for (std::size_t i = 0; i < total; ++i) {
        const float sendL = 0.5f * lead.left[i] + 0.7f * box.left[i] + 0.35f * warm.left[i];
        const float sendR = 0.5f * lead.right[i] + 0.7f * box.right[i] + 0.35f * warm.right[i];
        const float wetL = roomL.process(sendL);
        const float wetR = roomR.process(sendR);
        out.left[i] = lead.left[i] + box.left[i] + warm.left[i] + 0.9f * wetL + 0.15f * wetR;
        out.right[i] = lead.right[i] + box.right[i] + warm.right[i] + 0.9f * wetR + 0.15f * wetL;
    }

    // What rings past the end sounds over the start of the next time round.
    for (std::size_t i = frames; i < total; ++i) {
        out.left[i - frames] += out.left[i];
        out.right[i - frames] += out.right[i];
    }
    out.left.resize(frames);
    out.right.resize(frames);

    float loudest = 0;
    for (std::size_t i = 0; i < frames; ++i)
        loudest = std::max({loudest, std::abs(out.left[i]), std::abs(out.right[i])});
    if (loudest > 0) {
        const auto gain = static_cast<float>(peak / loudest);
        for (std::size_t i = 0; i < frames; ++i) {
            out.left[i] *= gain;
            out.right[i] *= gain;
        }
    }
    return out;
}

}  // namespace music
