// The score of "心动" and how each part is played from it.

#include "Song.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>

namespace music {

namespace {

enum class Section { Intro, Verse, Chorus, Coda };

struct Bar {
    Section section;
    const char* chord;   // pitch classes, root, third, fifth first
    const char* bass;    // the note the bass sits on (the lower note of a slash chord)
    const char* melody;  // notes as NAME:EIGHTHS, "r" a rest; every bar holds eight eighths
};

// A falling bass under the verse (F E D C, B♭ A G C), a chorus that climbs to C6 over a ii-V,
// and a coda that settles on F so that the loop's restart on Fmaj7 sounds like a breath rather
// than a cut. The tune moves in two-bar questions and answers: the verse's first line ends open
// on E, its answer on G over C7; the coda repeats the opening line and closes on F.
const Bar kScore[] = {
    // Intro: the music box alone over the pad.
    {Section::Intro, "F A C E", "F2", "r:8"},
    {Section::Intro, "Bb D F A", "Bb2", "r:8"},
    // Verse.
    {Section::Verse, "F A C", "F2", "A4:2 C5:2 F5:4"},
    {Section::Verse, "C E G", "E2", "E5:3 D5:1 C5:4"},
    {Section::Verse, "D F A", "D2", "D5:2 F5:2 A5:2 G5:2"},
    {Section::Verse, "A C E", "C3", "E5:6 C5:2"},
    {Section::Verse, "Bb D F", "Bb2", "D5:2 C5:2 D5:2 F5:2"},
    {Section::Verse, "F A C", "A2", "C5:6 A4:2"},
    {Section::Verse, "G Bb D F", "G2", "Bb4:2 D5:2 G5:3 F5:1"},
    {Section::Verse, "C E G Bb", "C3", "E5:3 F5:1 G5:4"},
    // Chorus.
    {Section::Chorus, "Bb D F A", "Bb2", "F5:2 A5:2 A5:3 G5:1"},
    {Section::Chorus, "C E G", "C3", "G5:2 E5:2 C5:4"},
    {Section::Chorus, "A C E", "A2", "E5:2 A5:2 C6:3 A5:1"},
    {Section::Chorus, "D F A", "D2", "A5:6 F5:2"},
    {Section::Chorus, "G Bb D F", "G2", "Bb5:2 A5:2 G5:2 F5:2"},
    {Section::Chorus, "C E G", "C3", "E5:2 G5:2 C6:4"},
    {Section::Chorus, "Bb D F A", "Bb2", "Bb5:4 A5:2 F5:2"},
    {Section::Chorus, "C E G Bb", "C3", "G5:6 C5:2"},
    // Coda.
    {Section::Coda, "F A C", "F2", "A4:2 C5:2 F5:4"},
    {Section::Coda, "C E G", "E2", "E5:3 D5:1 C5:4"},
    {Section::Coda, "D F A", "D2", "D5:2 F5:2 A5:2 G5:2"},
    {Section::Coda, "Bb D F A", "Bb2", "A5:3 G5:1 F5:2 D5:2"},
    {Section::Coda, "C E G Bb", "C3", "E5:3 D5:1 C5:2 E5:2"},
    {Section::Coda, "F A C", "F2", "F5:8"},
};
constexpr int kBarCount = static_cast<int>(sizeof(kScore) / sizeof(kScore[0]));

struct Levels {
    double lead, box, pad, bass;
};

Levels levels(Section section) {
    switch (section) {
        case Section::Intro:
            return {0, 1.0, 0.8, 0.7};
        case Section::Verse:
            return {0.82, 0.55, 0.85, 0.85};
        case Section::Chorus:
            return {0.95, 0.6, 1.0, 1.0};
        case Section::Coda:
            return {0.85, 0.6, 0.9, 0.9};
    }
    return {};
}

// A fixed sequence, so that every run writes the same file.
class Dice {
public:
    double next() {  // -1..1
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<double>(state_ >> 11) / static_cast<double>(1ull << 52) - 1.0;
    }

private:
    std::uint64_t state_ = 0x5eed1e55ull;
};

// "C" -> 0 ... "B" -> 11, with a trailing "b" or "#"; `pos` moves past the name.
int pitchClass(const std::string& text, std::size_t& pos) {
    static const int kNatural[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[pos])));
    if (letter < 'A' || letter > 'G')
        return -1;
    int pc = kNatural[letter - 'A'];
    ++pos;
    if (pos < text.size() && text[pos] == 'b') {
        pc += 11;
        ++pos;
    } else if (pos < text.size() && text[pos] == '#') {
        pc += 1;
        ++pos;
    }
    return pc % 12;
}

// "Bb4" -> 70.
int pitch(const std::string& text, std::size_t& pos) {
    const int pc = pitchClass(text, pos);
    if (pc < 0 || pos >= text.size() || !std::isdigit(static_cast<unsigned char>(text[pos])))
        return -1;
    const int octave = text[pos++] - '0';
    return (octave + 1) * 12 + pc;
}

std::vector<int> chordClasses(const char* chord) {
    std::vector<int> classes;
    const std::string text(chord);
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == ' ') {
            ++pos;
            continue;
        }
        classes.push_back(pitchClass(text, pos));
    }
    return classes;
}

// The lowest `count` notes at or above `from` whose pitch class is one of `classes`.
std::vector<int> notesFrom(int from, const std::vector<int>& classes, std::size_t count) {
    std::vector<int> notes;
    for (int n = from; notes.size() < count; ++n) {
        for (int pc : classes) {
            if (n % 12 == pc) {
                notes.push_back(n);
                break;
            }
        }
    }
    return notes;
}

// The pitch of class `pc` closest to `near`.
int nearest(int pc, int near) {
    int best = near;
    for (int n = near - 6; n <= near + 6; ++n) {
        if (n % 12 == pc) {
            best = n;
            break;
        }
    }
    return best;
}

}  // namespace

int barCount() {
    return kBarCount;
}

double frequency(int pitch) {
    return 440.0 * std::pow(2.0, (pitch - 69) / 12.0);
}

std::vector<Note> songNotes(const char** error) {
    std::vector<Note> notes;
    Dice dice;
    const double eighth = kBeat / 2;
    for (int b = 0; b < kBarCount; ++b) {
        const Bar& bar = kScore[b];
        const double top = b * kBar;
        const Levels level = levels(bar.section);
        const std::vector<int> classes = chordClasses(bar.chord);

        // The tune: a touch of timing and touch variation, a lift on the bar's first note.
        const std::string tune(bar.melody);
        std::size_t pos = 0;
        int eighths = 0;
        while (pos < tune.size()) {
            if (tune[pos] == ' ') {
                ++pos;
                continue;
            }
            int p = -1;
            if (tune[pos] == 'r') {
                ++pos;
            } else {
                p = pitch(tune, pos);
                if (p < 0) {
                    *error = "a note of the tune cannot be read";
                    return {};
                }
            }
            if (pos >= tune.size() || tune[pos] != ':') {
                *error = "a note of the tune has no length";
                return {};
            }
            ++pos;
            int length = 0;
            while (pos < tune.size() && std::isdigit(static_cast<unsigned char>(tune[pos])))
                length = length * 10 + (tune[pos++] - '0');
            if (p >= 0 && level.lead > 0) {
                const double accent = eighths == 0 ? 1.0 : 0.9;
                const double start = top + eighths * eighth + 0.006 * (dice.next() + 1);
                notes.push_back({Voice::Lead, start, length * eighth * 0.96, p,
                                 level.lead * accent * (1 + 0.05 * dice.next()), 0.05});
            }
            eighths += length;
        }
        if (eighths != 8) {
            *error = "a bar of the tune does not hold eight eighths";
            return {};
        }

        // The pad: every chord tone in the octave from G3, held over the bar line so that the
        // next chord fades in under it.
        for (int n : notesFrom(55, classes, classes.size())) {
            notes.push_back({Voice::Pad, top, kBar * 1.02, n, level.pad, 0});
        }

        // The music box rolls the triad up and down in eighths, swaying left and right.
        const std::vector<int> ladder =
            notesFrom(57, std::vector<int>(classes.begin(), classes.begin() + 3), 5);
        static const int kRoll[] = {0, 1, 2, 3, 4, 3, 2, 1};
        for (int i = 0; i < 8; ++i) {
            const double accent = i % 2 == 0 ? 1.0 : 0.8;
            notes.push_back({Voice::MusicBox, top + i * eighth, eighth * 1.5,
                             ladder[static_cast<std::size_t>(kRoll[i])],
                             level.box * accent * (1 + 0.04 * dice.next()),
                             i % 2 == 0 ? -0.35 : 0.35});
        }

        // The bass: the root long, the fifth on the "and" of three; the intro only holds.
        std::size_t at = 0;
        const std::string bassName(bar.bass);
        const int root = pitch(bassName, at);
        if (root < 0) {
            *error = "a bass note cannot be read";
            return {};
        }
        if (bar.section == Section::Intro) {
            notes.push_back({Voice::Bass, top, kBar * 0.98, root, level.bass, 0});
        } else {
            notes.push_back({Voice::Bass, top, 2.5 * kBeat, root, level.bass, 0});
            notes.push_back({Voice::Bass, top + 2.5 * kBeat, 1.4 * kBeat, nearest(classes[2], root),
                             level.bass * 0.8, 0});
        }
    }
    return notes;
}

}  // namespace music
