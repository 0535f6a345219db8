#pragma once
// The three attacks, each on a fresh service of its own (TargetService), each printing its
// table of figures. Source addresses of the attacks:
//   bodies, slow-heads   attack 127.0.1.1 .. 127.0.1.16, probe 127.0.0.200
//   hash-flood           round r: flood 127.0.(10+r).1 .. .30, owner 127.0.(10+r).250

#include <string>
#include <vector>

namespace attacks {

struct RunOptions {
    std::string program;             // the zenri-service to attack
    std::string site;                // its --site
    std::vector<std::string> extra;  // further options of serve
    int seconds = 40;                // length of bodies and slow-heads; a hash-flood round
                                     // waits at most three times this
    int rounds = 3;                  // hash-flood rounds
    bool keep = false;               // keep each service's folder (database, log)
    long lowMemoryKb = 2L << 20;     // stop an attack when the machine has less available
};

// Each returns false when the service could not be started.
bool RunBodies(const RunOptions& options, bool whole);
bool RunSlowHeads(const RunOptions& options);
bool RunHashFlood(const RunOptions& options);

}  // namespace attacks
