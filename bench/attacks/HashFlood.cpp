// The hash flood: sign-in lookups for accounts that do not exist, each of which costs the
// service a password hash, from enough addresses that every one of them stays inside its
// per-address limit; then the owner of the demo account signs in and waits behind them.

#include "Report.h"
#include "Requests.h"
#include "Scenarios.h"
#include "Swarm.h"
#include "TargetService.h"
#include "server/ServiceProgram.h"

#include <QString>

#include <cstdio>
#include <map>
#include <thread>

namespace attacks {
namespace {

constexpr int kAddresses = 30;
constexpr int kPerAddress = 30;  // the sign-in limit per address per minute, used up exactly
constexpr int kFirstAccount = 20000000;
constexpr char kWrongPassword[] = "wrong-password";
constexpr auto kOwnerAfter = std::chrono::milliseconds(200);
constexpr auto kOwnerRetry = std::chrono::seconds(1);  // a person clicks again
constexpr auto kBetweenRounds = std::chrono::seconds(2);

struct RoundFigures {
    std::optional<double> ownerWaitMs;
    std::vector<int> ownerStatuses;    // of each attempt; 0: no answer
    std::map<std::string, int> flood;  // "200", "429", "503", "other", "no answer"
    double hashesPerSecond = 0;
    double hashSpanMs = 0;
    double medianFloodMs = 0;
};

// The owner signs in until the service answers with the account's row, or the round ends.
void SignInOwner(const TargetService& service, const std::string& source,
                 Clock::time_point roundEnd, const std::atomic<bool>& stop, RoundFigures* f) {
    const std::string request =
        SignInRequest(QString::fromUtf16(server::kDemoUser).toStdString(),
                      QString::fromUtf16(server::kDemoPassword).toStdString());
    const Clock::time_point first = Clock::now();
    while (Clock::now() < roundEnd && !stop.load()) {
        const Clock::time_point attempt = Clock::now();
        Swarm owner(service.Address());
        owner.Add({.source = source, .head = request, .untilAnswer = true});
        owner.Run(attempt, roundEnd, &stop);
        const Outcome& o = owner.Outcomes().front();
        f->ownerStatuses.push_back(o.answered ? o.status : 0);
        if (o.answered && AnsweredWithRow(o.response)) {
            f->ownerWaitMs = std::chrono::duration_cast<Milliseconds>(attempt - first).count() +
                             o.answered->count();
            return;
        }
        std::this_thread::sleep_for(kOwnerRetry);
    }
}

RoundFigures RunRound(const TargetService& service, int round, std::chrono::seconds limit,
                      const std::atomic<bool>& stop) {
    const std::string prefix = "127.0." + std::to_string(10 + round) + ".";
    Swarm flood(service.Address());
    for (int a = 1; a <= kAddresses; ++a) {
        for (int k = 0; k < kPerAddress; ++k) {
            const int account =
                kFirstAccount + ((round - 1) * kAddresses + (a - 1)) * kPerAddress + k;
            flood.Add({.source = prefix + std::to_string(a),
                       .head = SignInRequest(std::to_string(account), kWrongPassword),
                       .timeout = limit,
                       .untilAnswer = true});
        }
    }
    RoundFigures f;
    const Clock::time_point start = Clock::now();
    const Clock::time_point end = start + limit;
    std::thread flooding([&] { flood.Run(start, end, &stop); });
    std::this_thread::sleep_until(start + kOwnerAfter);
    SignInOwner(service, prefix + "250", end, stop, &f);
    flooding.join();

    double lastHash = 0;
    int hashed = 0;
    std::vector<double> latencies;
    for (const Outcome& o : flood.Outcomes()) {
        if (!o.answered) {
            ++f.flood["no answer"];
            continue;
        }
        latencies.push_back((*o.answered - o.started).count());
        if (o.status == 200 || o.status == 429 || o.status == 503)
            ++f.flood[std::to_string(o.status)];
        else
            ++f.flood["other"];
        if (o.status == 200) {
            ++hashed;
            lastHash = std::max(lastHash, o.answered->count());
        }
    }
    f.medianFloodMs = Median(latencies);
    f.hashSpanMs = lastHash;
    f.hashesPerSecond = lastHash > 0 ? hashed / (lastHash / 1000) : 0;
    return f;
}

}  // namespace

bool RunHashFlood(const RunOptions& options) {
    std::vector<std::string> serve{"--hash-cost", "standard", "--signin-limit", "30"};
    serve.insert(serve.end(), options.extra.begin(), options.extra.end());
    TargetService service({options.program, options.site, "standard", serve, options.keep});
    std::string error;
    if (!service.Start(&error)) {
        std::printf("== hash-flood: the service did not start: %s\n", error.c_str());
        return false;
    }
    std::printf(
        "\n== hash-flood: %d addresses x %d sign-in lookups at once (one connection "
        "each), the owner %lld ms later; %d rounds\n",
        kAddresses, kPerAddress, static_cast<long long>(kOwnerAfter.count()), options.rounds);
    Row("service", service.ServeLine());
    PrintLoad();
    std::fflush(stdout);

    MemoryWatch watch(service.Pid(), options.lowMemoryKb);
    const long beforeKb = ReadMemory(service.Pid()).rssKb;
    const auto limit = std::chrono::seconds(3 * options.seconds);
    std::vector<double> waits;
    std::map<std::string, int> totals;
    for (int round = 1; round <= options.rounds && !watch.Low().load(); ++round) {
        if (round > 1)
            std::this_thread::sleep_for(kBetweenRounds);
        const RoundFigures f = RunRound(service, round, limit, watch.Low());
        std::string owner = f.ownerWaitMs ? FormatMs(*f.ownerWaitMs) : "NO ROW within the round";
        owner += " (" + std::to_string(f.ownerStatuses.size()) + " attempt";
        owner += f.ownerStatuses.size() == 1 ? ":" : "s:";
        for (int s : f.ownerStatuses)
            owner += " " + (s ? std::to_string(s) : std::string("none"));
        owner += ")";
        if (f.ownerWaitMs)
            waits.push_back(*f.ownerWaitMs);
        std::string flood;
        for (const auto& [kind, count] : f.flood) {
            flood += (flood.empty() ? "" : ", ") + kind + " x" + std::to_string(count);
            totals[kind] += count;
        }
        char rate[128];
        std::snprintf(rate, sizeof rate, "%.1f answers 200 per second (over %s), median answer %s",
                      f.hashesPerSecond, FormatMs(f.hashSpanMs).c_str(),
                      FormatMs(f.medianFloodMs).c_str());
        Row("round " + std::to_string(round) + " owner wait", owner);
        Row("round " + std::to_string(round) + " flood", flood);
        Row("round " + std::to_string(round) + " hashing", rate);
        std::fflush(stdout);
    }
    if (watch.Low().load())
        Row("STOPPED EARLY",
            "the machine's available memory fell under " + FormatMb(options.lowMemoryKb));
    std::string list;
    for (double w : waits)
        list += (list.empty() ? "" : ", ") + FormatMs(w);
    Row("owner waits",
        (list.empty() ? "none answered" : list) + "; median " + FormatMs(Median(waits)));
    std::string all;
    for (const auto& [kind, count] : totals)
        all += (all.empty() ? "" : ", ") + kind + " x" + std::to_string(count);
    Row("flood answers, all rounds", all);
    const MemorySample last = ReadMemory(service.Pid());
    Row("service memory (VmRSS)",
        "before " + FormatMb(beforeKb) + ", peak " + FormatMb(watch.HighestRssKb()) + " (VmHWM " +
            FormatMb(last.peakKb) + "), at the end " + FormatMb(last.rssKb));
    PrintLog(service.LogPath());
    if (options.keep)
        Row("kept", service.Folder());
    std::fflush(stdout);
    return true;
}

}  // namespace attacks
