// bench_attacks: three attacks on a zenri-service, reproduced on loopback, with the figures
// of what the service did under them (figures, never pass/fail).
//
//   build/default/bench/attacks/bench_attacks [--scenario NAME] [--seconds N] [--rounds N]
//       [--service PATH] [--site DIR] [--extra "ARGS"] [--keep] [--low-memory MB]
//
// Each scenario starts the service itself (default: the zenri-service of this build) on a
// fresh temporary database made by "init --demo", with only options every version of the
// service knows, plus the --extra ones (split at blanks; may be given more than once), so
// that an older build can be attacked the same way. It watches the service's VmRSS and VmHWM
// every 100 ms. Scenarios (default: all, one after the other, each on a fresh service):
//
//   bodies        16 source addresses (127.0.1.1-16) x 63 connections each send
//                 "POST /asp/index.asp" announcing Content-Length 8388608, then 1 MB of the
//                 body ("zc=49&sql=" and a number list), then one more byte every 5 s. A probe
//                 from 127.0.0.200 sends the settings query once a second from 1 s on, each on
//                 a new connection with a 5 s time-out (the last one 5 s before the end).
//                 40 s. Figures: the service's memory (before, peak, at the end, 3 s after),
//                 probes answered, their median and worst latency, what became of the attack
//                 connections (answers and their statuses, closes and when).
//   bodies-whole  the same 1,008 connections each send the whole 8 MB body at once.
//   slow-heads    the same 1,008 connections each send "POST /asp/index.asp HTTP/1.1",
//                 "Host: x", then a header line ("Xa: b") one byte every 5 s; the probe as
//                 above. Adds the longest stretch without an answered probe.
//   hash-flood    the service with --hash-cost standard --signin-limit 30; 30 addresses
//                 (127.0.(10+r).1-30 in round r) each send 30 sign-in lookups for accounts
//                 that do not exist (20000000 and on, a wrong password), one connection each,
//                 all at once; 200 ms later the owner (88888888 / zenri520, from
//                 127.0.(10+r).250) signs in, again each second until the answer holds the
//                 account's row. 3 rounds on new addresses (a fresh minute of limits each).
//                 Figures: each owner wait and their median, the flood's answers by status,
//                 answers 200 per second (the hashes done).
//
// --seconds N shortens bodies and slow-heads (default 40) and bounds a hash-flood round to 3N.
// --keep leaves each service's folder (database, service.log) in place and prints its path.
// --low-memory MB (default 2048) stops an attack early when the machine's MemAvailable falls
// below it, so that a service that takes all the memory does not take the machine with it.
// The open file limit is raised to its hard limit at start: the attacks hold 1,000+ sockets.

#include "Scenarios.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kScenarios[] = {"bodies", "bodies-whole", "slow-heads", "hash-flood"};

void Usage(std::FILE* to) {
    std::fprintf(to,
                 "usage: bench_attacks [--scenario bodies|bodies-whole|slow-heads|hash-flood|all]"
                 "\n       [--seconds N] [--rounds N] [--service PATH] [--site DIR]"
                 " [--extra \"ARGS\"]\n       [--keep] [--low-memory MB]\n"
                 "defaults: all, 40 s, 3 rounds, %s, %s\n",
                 ZR_SERVICE_BINARY, ZR_SITE_FOLDER);
}

void RaiseFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
    getrlimit(RLIMIT_NOFILE, &limit);
    std::printf("open file limit %llu\n", static_cast<unsigned long long>(limit.rlim_cur));
}

}  // namespace

int main(int argc, char** argv) {
    attacks::RunOptions options;
    options.program = ZR_SERVICE_BINARY;
    options.site = ZR_SITE_FOLDER;
    std::string scenario = "all";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return 0;
        } else if (arg == "--keep") {
            options.keep = true;
        } else if (arg == "--scenario" && hasValue) {
            scenario = argv[++i];
        } else if (arg == "--seconds" && hasValue) {
            options.seconds = std::atoi(argv[++i]);
        } else if (arg == "--rounds" && hasValue) {
            options.rounds = std::atoi(argv[++i]);
        } else if (arg == "--service" && hasValue) {
            options.program = std::filesystem::absolute(argv[++i]).string();
        } else if (arg == "--site" && hasValue) {
            options.site = std::filesystem::absolute(argv[++i]).string();
        } else if (arg == "--low-memory" && hasValue) {
            options.lowMemoryKb = std::atol(argv[++i]) * 1024;
        } else if (arg == "--extra" && hasValue) {
            std::istringstream words(argv[++i]);
            for (std::string word; words >> word;)
                options.extra.push_back(word);
        } else {
            Usage(stderr);
            return 2;
        }
    }
    if (options.seconds < 6 || options.rounds < 1) {
        std::fprintf(stderr, "--seconds takes 6 or more (a probe has 5 s), --rounds 1 or more\n");
        return 2;
    }
    std::vector<std::string> chosen;
    for (const char* name : kScenarios) {
        if (scenario == "all" || scenario == name)
            chosen.push_back(name);
    }
    if (chosen.empty()) {
        Usage(stderr);
        return 2;
    }

    RaiseFileLimit();
    std::printf("service program %s\n", options.program.c_str());
    int failed = 0;
    for (const std::string& name : chosen) {
        bool started = false;
        if (name == "bodies" || name == "bodies-whole")
            started = attacks::RunBodies(options, name == "bodies-whole");
        else if (name == "slow-heads")
            started = attacks::RunSlowHeads(options);
        else
            started = attacks::RunHashFlood(options);
        failed += started ? 0 : 1;
    }
    // Figures only: the exit code says whether every scenario could run at all.
    return failed ? 1 : 0;
}
