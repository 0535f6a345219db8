#include "TargetService.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

extern char** environ;

namespace attacks {
namespace {

constexpr auto kStartLimit = std::chrono::seconds(30);
constexpr auto kStopLimit = std::chrono::seconds(30);
constexpr auto kSampleEvery = std::chrono::milliseconds(100);

// Runs the program with the arguments, standard output and error to the given files (appended);
// returns its pid, or 0.
pid_t Spawn(const std::vector<std::string>& arguments, const std::string& out,
            const std::string& err) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? 0 : pid;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Joined(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& w : words)
        line += (line.empty() ? "" : " ") + w;
    return line;
}

}  // namespace

TargetService::TargetService(Settings settings) : settings_(std::move(settings)) {}

TargetService::~TargetService() {
    Stop();
}

std::string TargetService::ServeLine() const {
    std::vector<std::string> line{"serve", "--listen", "127.0.0.1:0", "--db",
                                  "DB",    "--site",   settings_.site};
    line.insert(line.end(), settings_.serve.begin(), settings_.serve.end());
    return Joined(line);
}

bool TargetService::Start(std::string* error) {
    std::string pattern = (std::filesystem::temp_directory_path() / "zr-attacks-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        *error = "no temporary folder";
        return false;
    }
    folder_ = pattern;
    const std::string db = folder_ + "/service.db";
    const std::string out = folder_ + "/service.out";

    std::vector<std::string> init{settings_.program, "init", "--demo", "--db", db};
    if (!settings_.initHashCost.empty()) {
        init.push_back("--hash-cost");
        init.push_back(settings_.initHashCost);
    }
    const pid_t initPid = Spawn(init, out, LogPath());
    int status = 0;
    if (!initPid || waitpid(initPid, &status, 0) != initPid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        *error = "init failed: " + ReadWhole(out) + ReadWhole(LogPath());
        return false;
    }

    std::vector<std::string> serve{settings_.program, "serve",       "--listen",
                                   "127.0.0.1:0",     "--db",        db,
                                   "--site",          settings_.site};
    serve.insert(serve.end(), settings_.serve.begin(), settings_.serve.end());
    const size_t before = ReadWhole(out).size();
    pid_ = Spawn(serve, out, LogPath());
    if (!pid_) {
        *error = "cannot start " + settings_.program;
        return false;
    }
    static const std::regex listening("listening on http://([0-9.]+):([0-9]+)");
    const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string text = ReadWhole(out).substr(before);
        std::smatch match;
        if (std::regex_search(text, match, listening)) {
            address_.sin_family = AF_INET;
            address_.sin_port = htons(static_cast<uint16_t>(std::stoi(match[2].str())));
            inet_pton(AF_INET, match[1].str().c_str(), &address_.sin_addr);
            return true;
        }
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = 0;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    *error = "the service did not report its address: " + ReadWhole(out) + ReadWhole(LogPath());
    Stop();
    return false;
}

void TargetService::Stop() {
    if (pid_) {
        kill(pid_, SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + kStopLimit;
        int status = 0;
        while (waitpid(pid_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() >= deadline) {
                kill(pid_, SIGKILL);
                waitpid(pid_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        pid_ = 0;
    }
    if (!folder_.empty() && !settings_.keep) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        folder_.clear();
    }
}

MemorySample ReadMemory(pid_t pid) {
    MemorySample sample;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            sample.rssKb = std::atol(line.c_str() + 6);
        else if (line.rfind("VmHWM:", 0) == 0)
            sample.peakKb = std::atol(line.c_str() + 6);
    }
    std::ifstream meminfo("/proc/meminfo");
    while (std::getline(meminfo, line)) {
        if (line.rfind("MemAvailable:", 0) == 0) {
            sample.availableKb = std::atol(line.c_str() + 13);
            break;
        }
    }
    return sample;
}

double CpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!std::getline(in, text))
        return -1;
    // The command name may hold blanks; the fields after it are plain numbers.
    const size_t paren = text.rfind(')');
    if (paren == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(paren + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14 || i == 15)  // utime, stime
            ticks += std::atof(field.c_str());
    }
    return ticks / double(sysconf(_SC_CLK_TCK));
}

double OwnCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int OpenSockets(pid_t pid) {
    std::error_code error;
    std::filesystem::directory_iterator fds("/proc/" + std::to_string(pid) + "/fd", error);
    if (error)
        return -1;
    int sockets = 0;
    for (const auto& fd : fds) {
        const auto target = std::filesystem::read_symlink(fd.path(), error);
        if (!error && target.string().rfind("socket:", 0) == 0)
            ++sockets;
    }
    return sockets;
}

MemoryWatch::MemoryWatch(pid_t pid, long lowKb)
    : pid_(pid), lowKb_(lowKb), start_(std::chrono::steady_clock::now()) {
    Sample();
    thread_ = std::thread([this] {
        auto next = start_;
        while (running_.load()) {
            next += kSampleEvery;
            std::this_thread::sleep_until(next);
            Sample();
        }
    });
}

MemoryWatch::~MemoryWatch() {
    running_ = false;
    thread_.join();
}

void MemoryWatch::Sample() {
    MemorySample sample = ReadMemory(pid_);
    sample.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    if (sample.rssKb > highest_.load())
        highest_ = sample.rssKb;
    if (sample.availableKb > 0 && sample.availableKb < lowKb_)
        low_ = true;
    std::lock_guard lock(mutex_);
    samples_.push_back(sample);
}

std::vector<MemorySample> MemoryWatch::Samples() const {
    std::lock_guard lock(mutex_);
    return samples_;
}

namespace {

// "YYYY-MM-DD HH:MM:SS.mmm CLIENT WHAT "OUTCOME" STATUS DURATIONms": the part between the
// client and the duration, or nothing when the line is not a request line.
std::optional<std::string> RequestPart(const std::string& line) {
    static const std::string shape = "dddd-dd-dd dd:dd:dd.ddd ";
    if (line.size() <= shape.size() || line.size() < 2 || line.substr(line.size() - 2) != "ms")
        return std::nullopt;
    for (size_t i = 0; i < shape.size(); ++i) {
        const bool digit = line[i] >= '0' && line[i] <= '9';
        if (shape[i] == 'd' ? !digit : line[i] != shape[i])
            return std::nullopt;
    }
    const size_t client = line.find(' ', shape.size());
    const size_t duration = line.rfind(' ');
    if (client == std::string::npos || duration <= client)
        return std::nullopt;
    return line.substr(client + 1, duration - client - 1);
}

}  // namespace

LogSummary SummariseLog(const std::string& path) {
    LogSummary summary;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        ++summary.lines;
        if (const auto part = RequestPart(line))
            ++summary.requests[*part];
        else
            ++summary.other[line.substr(0, 300)];
    }
    return summary;
}

}  // namespace attacks
