// The sample song has to be gentle and loop cleanly: a tune in its key without shrill highs,
// envelopes without clicks, nothing above the brightness limit, and an end that flows into
// the start.

#include "Song.h"
#include "Synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace {

constexpr double kStep = 1.0 / music::kSampleRate;

std::vector<music::Note> song() {
    const char* error = nullptr;
    std::vector<music::Note> notes = music::songNotes(&error);
    EXPECT_EQ(error, nullptr) << (error ? error : "");
    return notes;
}

std::vector<music::Note> tune() {
    std::vector<music::Note> lead;
    for (const music::Note& n : song()) {
        if (n.voice == music::Voice::Lead)
            lead.push_back(n);
    }
    std::sort(lead.begin(), lead.end(),
              [](const music::Note& a, const music::Note& b) { return a.start < b.start; });
    return lead;
}

// The largest change from one sample to the next: a click shows as a jump.
double largestJump(const music::Envelope& e, double gate, double until) {
    double jump = 0;
    double previous = 0;
    for (double t = 0; t < until; t += kStep) {
        const double v = music::envelopeLevel(e, t, gate);
        jump = std::max(jump, std::abs(v - previous));
        previous = v;
    }
    return jump;
}

// The strength of one frequency in a signal (Goertzel), relative units.
double strength(const std::vector<float>& signal, double hz) {
    const double w = 2 * 3.141592653589793 * hz / music::kSampleRate;
    double s1 = 0;
    double s2 = 0;
    for (float x : signal) {
        const double s = x + 2 * std::cos(w) * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    return std::sqrt(s1 * s1 + s2 * s2 - 2 * std::cos(w) * s1 * s2) / signal.size();
}

TEST(Envelope, RisesToFullHoldsAtTheSustainAndFallsToSilence) {
    const music::Envelope e{0.01, 0.5, 0.4, 0.3};
    EXPECT_EQ(music::envelopeLevel(e, -0.001, 0.8), 0);
    EXPECT_NEAR(music::envelopeLevel(e, 0.01, 0.8), 1.0, 1e-6);
    EXPECT_NEAR(music::envelopeLevel(e, 0.79, 0.8), 0.4, 0.01);
    EXPECT_GT(music::envelopeLevel(e, 0.9, 0.8), 0);
    EXPECT_EQ(music::envelopeLevel(e, 1.1, 0.8), 0);
    EXPECT_EQ(music::envelopeLevel(e, 5, 0.8), 0);
}

TEST(Envelope, NeverJumps) {
    // The steepest honest slope is the attack's: full level in 10 ms.
    const double attackStep = kStep / 0.01;
    EXPECT_LE(largestJump({0.01, 0.5, 0.4, 0.3}, 0.8, 1.5), attackStep * 1.01);
    // Let go during the attack: the release starts from where the level had got to.
    EXPECT_LE(largestJump({0.2, 0.5, 0.4, 0.3}, 0.05, 0.5), kStep / 0.2 * 1.01);
    // No sustain: the level is (nearly) gone when the key is let go, and stays smooth.
    EXPECT_LE(largestJump({0.002, 1.8, 0.0, 0.3}, 3, 4), kStep / 0.002 * 1.01);
}

TEST(Song, IsWholeBarsOfSlowFourFourBetweenOneAndOneAndAHalfMinutes) {
    EXPECT_GE(music::kTempo, 70);
    EXPECT_LE(music::kTempo, 90);
    const double length = music::barCount() * music::kBar;
    EXPECT_GE(length, 60);
    EXPECT_LE(length, 90);
    for (const music::Note& n : song()) {
        EXPECT_GE(n.start, 0);
        EXPECT_LT(n.start, length) << "a note past the end would not loop";
    }
}

TEST(Song, TuneStaysInFMajorBetweenA4AndC6) {
    const std::set<int> fMajor = {5, 7, 9, 10, 0, 2, 4};
    const std::vector<music::Note> lead = tune();
    ASSERT_GE(lead.size(), 60u);
    for (const music::Note& n : lead) {
        EXPECT_TRUE(fMajor.count(n.pitch % 12)) << n.pitch;
        EXPECT_GE(n.pitch, 69);
        EXPECT_LE(n.pitch, 84) << "no shrill notes";
    }
}

TEST(Song, TuneEndsOnTheKeyNoteAndItsOpeningLineComesBack) {
    const std::vector<music::Note> lead = tune();
    ASSERT_FALSE(lead.empty());
    EXPECT_EQ(lead.back().pitch % 12, 5) << "home on F";
    // The first three bars of the tune return, note for note, before the end.
    const auto line = [&lead](double from) {
        std::vector<int> pitches;
        for (const music::Note& n : lead) {
            if (n.start >= from && n.start < from + 3 * music::kBar)
                pitches.push_back(n.pitch);
        }
        return pitches;
    };
    const double opening = lead.front().start - std::fmod(lead.front().start, music::kBar);
    const std::vector<int> first = line(opening);
    ASSERT_GE(first.size(), 8u);
    bool returns = false;
    for (int bar = 4; bar < music::barCount() - 2; ++bar)
        returns |= line(bar * music::kBar) == first;
    EXPECT_TRUE(returns);
}

TEST(Render, PeaksWhereAsked) {
    const std::vector<music::Note> notes = {{music::Voice::Lead, 0.1, 0.5, 72, 0.9, 0},
                                            {music::Voice::Pad, 0, 1.5, 60, 1, 0},
                                            {music::Voice::Bass, 0.2, 1, 41, 1, 0}};
    const music::Stereo out = music::render(notes, 2.0, 0.891);
    ASSERT_EQ(out.left.size(), std::size_t(2 * music::kSampleRate));
    float peak = 0;
    for (std::size_t i = 0; i < out.left.size(); ++i)
        peak = std::max({peak, std::abs(out.left[i]), std::abs(out.right[i])});
    EXPECT_NEAR(peak, 0.891, 1e-4);
}

TEST(Render, WhatRingsPastTheEndSoundsAtTheStart) {
    // One note just before the end of a two-second loop, nothing at its start.
    const music::Stereo out = music::render({{music::Voice::Lead, 1.8, 0.4, 69, 1, 0}}, 2.0, 0.5);
    double start = 0;
    for (std::size_t i = 0; i < std::size_t(0.2 * music::kSampleRate); ++i)
        start = std::max(start, double(std::abs(out.left[i])));
    EXPECT_GT(start, 0.05) << "the note's ring carries over the loop's seam";
}

TEST(Render, TheHighestNoteHasNothingAboveTheBrightnessLimit) {
    const music::Stereo out = music::render({{music::Voice::Lead, 0, 0.8, 84, 1, 0}}, 1.0, 0.5);
    const double fundamental = strength(out.left, music::frequency(84));
    ASSERT_GT(fundamental, 0);
    double brightest = 0;
    for (double hz = 11000; hz < 22000; hz += 37)
        brightest = std::max(brightest, strength(out.left, hz));
    // 60 dB down: inaudible under the tune, and no aliases folding back.
    EXPECT_LT(brightest, fundamental * 1e-3);
}

}  // namespace
