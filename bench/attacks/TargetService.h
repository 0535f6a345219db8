#pragma once
// TargetService: a zenri-service program run as the target of an attack, on a fresh
// temporary database, with its memory watched from outside.
//
// Start() runs "PROGRAM init --demo --db FILE" (the demo account 88888888 / zenri520), then
// "PROGRAM serve --listen 127.0.0.1:0 --db FILE --site DIR ARGS...", and waits for its
// "listening on http://HOST:PORT" line. Only options every version of the service knows are
// given (the caller's ARGS included), so that an older build can be measured the same way.
// Standard output and standard error go to files in the folder; Stop() ends the process with
// SIGTERM (SIGKILL after 30 s) and removes the folder unless it is to be kept.
//
// MemoryWatch samples the process's VmRSS and VmHWM (/proc/PID/status) every 100 ms, and the
// machine's MemAvailable, on a thread of its own.

#include <netinet/in.h>
#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace attacks {

class TargetService {
public:
    struct Settings {
        std::string program;
        std::string site;
        std::string initHashCost;        // "--hash-cost" of init; empty: the default
        std::vector<std::string> serve;  // further options of serve
        bool keep = false;               // keep the folder (database, logs) for a look
    };

    explicit TargetService(Settings settings);
    ~TargetService();
    TargetService(const TargetService&) = delete;
    TargetService& operator=(const TargetService&) = delete;

    bool Start(std::string* error);
    void Stop();

    pid_t Pid() const { return pid_; }
    sockaddr_in Address() const { return address_; }
    std::string Folder() const { return folder_; }
    std::string LogPath() const { return folder_ + "/service.log"; }
    std::string ServeLine() const;  // the serve command line, for the report

private:
    Settings settings_;
    std::string folder_;
    pid_t pid_ = 0;
    sockaddr_in address_{};
};

struct MemorySample {
    double seconds = 0;    // since the watch started
    long rssKb = 0;        // VmRSS
    long peakKb = 0;       // VmHWM, the kernel's own high-water mark of VmRSS
    long availableKb = 0;  // the machine's MemAvailable
};

// Reads the memory figures of a process once; rssKb 0 when it is gone.
MemorySample ReadMemory(pid_t pid);

// The processor time a process has used (user and system), in seconds; -1 when it is gone.
double CpuSeconds(pid_t pid);
// The processor time of this program, every thread.
double OwnCpuSeconds();
// The sockets a process holds open (its listening socket included); -1 when it is gone.
int OpenSockets(pid_t pid);

class MemoryWatch {
public:
    // lowKb: when the machine's MemAvailable falls below it, Low() becomes true (the attack is
    // stopped early rather than let the machine run out of memory).
    MemoryWatch(pid_t pid, long lowKb);
    ~MemoryWatch();
    MemoryWatch(const MemoryWatch&) = delete;
    MemoryWatch& operator=(const MemoryWatch&) = delete;

    long HighestRssKb() const { return highest_.load(); }
    const std::atomic<bool>& Low() const { return low_; }
    std::vector<MemorySample> Samples() const;

private:
    void Sample();

    pid_t pid_;
    long lowKb_;
    std::chrono::steady_clock::time_point start_;
    std::atomic<bool> running_{true};
    std::atomic<bool> low_{false};
    std::atomic<long> highest_{0};
    mutable std::mutex mutex_;
    std::vector<MemorySample> samples_;
    std::thread thread_;
};

// The service's standard error in short: request log lines counted by what they say (the time,
// the client address and the duration taken out), and the other lines counted as they are.
struct LogSummary {
    int lines = 0;
    std::map<std::string, int> requests;  // "zc=1 \"select-system-settings\" 200" -> count
    std::map<std::string, int> other;
};
LogSummary SummariseLog(const std::string& path);

}  // namespace attacks
