#include "Report.h"

#include "Requests.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

namespace attacks {
namespace {

constexpr int kLabelWidth = 26;
constexpr size_t kLogGroupsShown = 10;

std::string Statuses(const std::map<int, int>& counts) {
    std::string text;
    for (const auto& [status, count] : counts)
        text += (text.empty() ? "" : ", ") + std::to_string(status) + " x" + std::to_string(count);
    return text.empty() ? "none" : text;
}

template <typename Map>
void PrintMostFrequent(const char* label, const Map& counts) {
    std::vector<std::pair<int, std::string>> rows;
    for (const auto& [text, count] : counts)
        rows.emplace_back(count, text);
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    for (size_t i = 0; i < rows.size() && i < kLogGroupsShown; ++i)
        Row(i == 0 ? label : "", std::to_string(rows[i].first) + " x " + rows[i].second);
    if (rows.size() > kLogGroupsShown)
        Row("", "... " + std::to_string(rows.size() - kLogGroupsShown) + " more kinds");
}

}  // namespace

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string FormatMs(double ms) {
    char text[32];
    if (ms < 1000)
        std::snprintf(text, sizeof text, "%.1f ms", ms);
    else
        std::snprintf(text, sizeof text, "%.2f s", ms / 1000);
    return text;
}

std::string FormatMb(long kb) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", double(kb) / 1024);
    return text;
}

void Row(const std::string& label, const std::string& figures) {
    std::printf("  %-*s %s\n", kLabelWidth, label.c_str(), figures.c_str());
}

ProbeFigures ProbeFiguresOf(const std::vector<Outcome>& probes, Milliseconds windowStart,
                            Milliseconds windowEnd) {
    ProbeFigures f;
    std::vector<double> latencies;
    std::vector<double> answeredAt;
    for (const Outcome& o : probes) {
        ++f.sent;
        if (o.answered && AnsweredWithRow(o.response)) {
            ++f.answered;
            latencies.push_back((*o.answered - o.started).count());
            answeredAt.push_back(o.answered->count());
        } else if (o.answered) {
            ++f.otherAnswer;
            f.otherStatuses.push_back(o.status);
        } else if (o.connectError) {
            ++f.connectFailed;
        } else if (o.timedOut || o.openAtEnd) {
            ++f.timedOut;
        } else {
            ++f.closedUnanswered;
        }
    }
    f.medianMs = Median(latencies);
    f.worstMs = latencies.empty() ? 0 : *std::max_element(latencies.begin(), latencies.end());
    std::sort(answeredAt.begin(), answeredAt.end());
    double last = windowStart.count();
    for (double at : answeredAt) {
        f.longestSilenceMs = std::max(f.longestSilenceMs, at - last);
        last = std::max(last, at);
    }
    f.longestSilenceMs = std::max(f.longestSilenceMs, windowEnd.count() - last);
    return f;
}

void PrintProbes(const ProbeFigures& f, bool withSilence) {
    Row("probes answered", std::to_string(f.answered) + " / " + std::to_string(f.sent));
    if (f.answered)
        Row("probe latency", "median " + FormatMs(f.medianMs) + ", worst " + FormatMs(f.worstMs));
    std::string failed = "timed out " + std::to_string(f.timedOut) + ", closed unanswered " +
                         std::to_string(f.closedUnanswered) + ", connect failed " +
                         std::to_string(f.connectFailed);
    if (f.otherAnswer) {
        failed += ", other answers " + std::to_string(f.otherAnswer) + " (status";
        for (int s : f.otherStatuses)
            failed += " " + std::to_string(s);
        failed += ")";
    }
    Row("probes not answered", failed);
    if (withSilence)
        Row("longest without an answer", FormatMs(f.longestSilenceMs));
}

void PrintConnections(const std::vector<Outcome>& outcomes) {
    int connected = 0, answered = 0, headOnly = 0, closedUnanswered = 0, closedAfter = 0,
        resets = 0, openAtEnd = 0;
    std::map<int, int> statuses;
    std::map<std::string, int> connectErrors;
    std::vector<double> closeAfterMs;
    std::vector<double> answerAfterMs;
    long long sent = 0;
    for (const Outcome& o : outcomes) {
        sent += o.sent;
        if (o.connectError) {
            ++connectErrors[std::strerror(o.connectError)];
            continue;
        }
        if (o.connected)
            ++connected;
        if (o.status) {
            ++statuses[o.status];
            if (o.answered) {
                ++answered;
                answerAfterMs.push_back((*o.answered - o.started).count());
            } else {
                ++headOnly;
            }
        }
        if (o.closed) {
            ++(o.status ? closedAfter : closedUnanswered);
            closeAfterMs.push_back((*o.closed - o.started).count());
            if (o.reset)
                ++resets;
        }
        if (o.openAtEnd)
            ++openAtEnd;
    }
    Row("attack connections", std::to_string(outcomes.size()) + ", handshake done " +
                                  std::to_string(connected) + ", " + FormatMb(long(sent / 1024)) +
                                  " sent in all");
    std::string failed;
    for (const auto& [text, count] : connectErrors)
        failed += (failed.empty() ? "" : ", ") + text + " x" + std::to_string(count);
    if (!failed.empty())
        Row("connect failed", failed);
    std::string answers = std::to_string(answered) + " (" + Statuses(statuses) + ")";
    if (headOnly)
        answers += ", " + std::to_string(headOnly) + " more with a head only";
    if (answered)
        answers += ", median after " + FormatMs(Median(answerAfterMs));
    Row("answered", answers);
    std::string closed = std::to_string(closedUnanswered) + " unanswered + " +
                         std::to_string(closedAfter) + " after an answer";
    if (!closeAfterMs.empty()) {
        closed += " (" + std::to_string(resets) + " by reset), median after " +
                  FormatMs(Median(closeAfterMs)) + ", longest " +
                  FormatMs(*std::max_element(closeAfterMs.begin(), closeAfterMs.end()));
    }
    Row("closed by the service", closed);
    Row("still open at the end", std::to_string(openAtEnd));
}

void PrintMemory(const MemoryFigures& m, double everySeconds) {
    Row("service memory (VmRSS)", "before " + FormatMb(m.beforeKb) + ", peak " +
                                      FormatMb(m.highestKb) + " (VmHWM " + FormatMb(m.hwmKb) +
                                      "), at the end " + FormatMb(m.endKb) + ", 3 s after " +
                                      FormatMb(m.afterKb));
    std::string series;
    double next = 0;
    for (const MemorySample& s : m.samples) {
        if (s.seconds + 0.05 < next)
            continue;
        char item[48];
        std::snprintf(item, sizeof item, "%s%.0fs %.0f", series.empty() ? "" : " | ", s.seconds,
                      double(s.rssKb) / 1024);
        series += item;
        next += everySeconds;
    }
    Row("VmRSS MB over time", series);
}

void PrintLoad() {
    std::FILE* file = std::fopen("/proc/loadavg", "r");
    char text[128] = "";
    if (file) {
        if (!std::fgets(text, sizeof text, file))
            text[0] = 0;
        std::fclose(file);
    }
    std::string load(text);
    while (!load.empty() && load.back() == '\n')
        load.pop_back();
    Row("machine load average", load);
}

void PrintLog(const std::string& path) {
    const LogSummary summary = SummariseLog(path);
    Row("service log", std::to_string(summary.lines) + " lines");
    PrintMostFrequent("  request lines", summary.requests);
    PrintMostFrequent("  other lines", summary.other);
}

}  // namespace attacks
