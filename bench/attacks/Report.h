#pragma once
// The figures of an attack as short tables: what the probe saw, what became of the attack
// connections, the service's memory and its log. Figures only; nothing here passes or fails.

#include "Swarm.h"
#include "TargetService.h"

#include <optional>
#include <string>
#include <vector>

namespace attacks {

double Median(std::vector<double> values);  // 0 for none

// "12.3 ms", "4.56 s"
std::string FormatMs(double ms);
std::string FormatMb(long kb);

// One line of the table: a label in a column of its own, then the figures.
void Row(const std::string& label, const std::string& figures);

// The probes of a run: answered means status 200 with the settings row.
struct ProbeFigures {
    int sent = 0;
    int answered = 0;
    int timedOut = 0;
    int closedUnanswered = 0;  // closed or reset by the service before a whole answer
    int connectFailed = 0;
    int otherAnswer = 0;  // a whole answer that was not the settings row
    std::vector<int> otherStatuses;
    double medianMs = 0;
    double worstMs = 0;           // of the answered ones
    double longestSilenceMs = 0;  // longest stretch of the window without an answered probe
};
ProbeFigures ProbeFiguresOf(const std::vector<Outcome>& probes, Milliseconds windowStart,
                            Milliseconds windowEnd);
void PrintProbes(const ProbeFigures& figures, bool withSilence);

// What became of the attack connections.
void PrintConnections(const std::vector<Outcome>& outcomes);

// before / peak / end / after, and the resident memory every few seconds.
struct MemoryFigures {
    long beforeKb = 0;
    long endKb = 0;    // when the attack ended, its connections still open
    long afterKb = 0;  // a while after the attack's connections were closed
    long highestKb = 0;
    long hwmKb = 0;
    std::vector<MemorySample> samples;
};
void PrintMemory(const MemoryFigures& figures, double everySeconds);

// The machine's load average now (other work on the machine shows in the figures).
void PrintLoad();

// The service's log in short (the most frequent request lines and other lines).
void PrintLog(const std::string& path);

}  // namespace attacks
