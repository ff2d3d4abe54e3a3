#include "bench/image/decode_table.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifndef _WIN32
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

constexpr double kMega = 1e6;

// How the C heap treats picture-sized blocks, the same for both decoders:
// each picture's memory new from the system (glibc's way with blocks this
// large), or freed memory kept and handed out again, as a program reading
// picture after picture may have it. The first costs the page faults.
struct HeapPolicy {
    const char *label;
    int mapped;    // M_MMAP_MAX: 0, never mapped
    int threshold; // M_MMAP_THRESHOLD (at most 32 MiB) and M_TRIM_THRESHOLD
};

#ifdef __GLIBC__
const HeapPolicy kPolicies[] = {{"", 65536, 128 * 1024}, {"  memory reused", 0, 1 << 30}};

void Apply(const HeapPolicy &policy)
{
    mallopt(M_MMAP_MAX, policy.mapped);
    mallopt(M_MMAP_THRESHOLD, std::min(policy.threshold, 32 << 20));
    mallopt(M_TRIM_THRESHOLD, policy.threshold);
}
#else
const HeapPolicy kPolicies[] = {{"", 0, 0}};
void Apply(const HeapPolicy &) {}
#endif

#ifdef _WIN32
const char *const kClock = "wall time";
#else
const char *const kClock = "CPU time";
#endif

// Process CPU time where the system keeps it, so that other processes on
// the machine weigh less; the page faults of a decode are in it.
double Seconds()
{
#ifdef _WIN32
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
#else
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
#endif
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Median MB/s of each decoder under a heap policy, alternating, after one
// decode each; negative for a refused file.
std::string TimeHere(const Decoder decoders[2], const HeapPolicy &policy, const char *path, uint64_t outputBytes,
                     int rounds)
{
    Apply(policy);
    std::vector<double> times[2];
    bool decodes[2];
    for (int which = 0; which < 2; ++which)
        decodes[which] = decoders[which].decode(path);
    for (int round = 0; round < rounds; ++round)
        for (int which = 0; which < 2; ++which) {
            if (!decodes[which])
                continue;
            double start = Seconds();
            decoders[which].decode(path);
            times[which].push_back(Seconds() - start);
        }
    Apply(kPolicies[0]);
    std::string speeds;
    for (int which = 0; which < 2; ++which)
        speeds += std::to_string(decodes[which] ? double(outputBytes) / kMega / Median(times[which]) : -1) + " ";
    return speeds;
}

#ifndef _WIN32
long StatusKilobytes(const char *field)
{
    FILE *status = fopen("/proc/self/status", "r");
    char line[256];
    long value = -1;
    size_t length = strlen(field);
    while (status && fgets(line, sizeof line, status))
        if (strncmp(line, field, length) == 0)
            value = atol(line + length);
    if (status)
        fclose(status);
    return value;
}

// The resident memory one decode added at its peak: the file's mapped pages,
// every buffer and the output; negative when refused or not measurable.
std::string PeakHere(DecodeFunction decode, const char *path)
{
    FILE *reset = fopen("/proc/self/clear_refs", "w");
    bool resettable = reset && fputs("5", reset) >= 0;
    if (reset && fclose(reset) != 0)
        resettable = false;
    long before = StatusKilobytes("VmRSS:");
    bool decoded = decode(path);
    long peak = resettable && decoded ? StatusKilobytes("VmHWM:") - before : -1;
    return std::to_string(peak < 0 ? -1 : double(peak) * 1024 / kMega);
}

// This program again, run as "--measure ...", so that every figure comes
// from a process whose heap no other measurement has shaped; its answer,
// or empty after a minute without one.
std::string AskChild(const std::vector<std::string> &arguments)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return "";
    pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        std::vector<char *> argv{const_cast<char *>("bench"), const_cast<char *>("--measure")};
        for (const std::string &argument : arguments)
            argv.push_back(const_cast<char *>(argument.c_str()));
        argv.push_back(nullptr);
        execv("/proc/self/exe", argv.data());
        _exit(1);
    }
    close(pipeEnds[1]);
    std::string answer;
    char buffer[256];
    pollfd ready{pipeEnds[0], POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (child > 0 && std::chrono::steady_clock::now() < deadline) {
        int events = poll(&ready, 1, 1000);
        if (events == 0)
            continue;
        ssize_t got = events > 0 ? read(pipeEnds[0], buffer, sizeof buffer) : -1;
        if (got <= 0)
            break;
        answer.append(buffer, size_t(got));
    }
    close(pipeEnds[0]);
    if (child > 0) {
        kill(child, SIGKILL); // ended already, or stuck
        waitpid(child, nullptr, 0);
    }
    return answer;
}
#endif

// Speeds under policy, and the two peaks after it when asked.
std::vector<double> Measure(const Decoder decoders[2], int policy, const DecodeForm &form, int rounds, bool peaks)
{
    std::string answer;
#ifdef _WIN32
    answer = TimeHere(decoders, kPolicies[policy], form.path.c_str(), form.outputBytes, rounds) + "-1 -1";
    (void)peaks;
#else
    (void)decoders; // they run in the child
    answer = AskChild({"time", std::to_string(policy), form.path, std::to_string(form.outputBytes),
                       std::to_string(rounds)});
    for (int which = 0; which < 2 && peaks; ++which)
        answer += " " + AskChild({"peak", std::to_string(which), form.path});
#endif
    std::vector<double> figures;
    char *at = &answer[0];
    for (char *end = at; figures.size() < 4; at = end) {
        double value = strtod(at, &end);
        figures.push_back(end == at ? -1 : value);
    }
    return figures;
}

void PrintFigure(double value, int width, int decimals = 1)
{
    if (value < 0)
        printf("%*s", width, "-");
    else
        printf("%*.*f", width, decimals, value);
}

} // namespace

bool MeasureIfAsked(int argc, char **argv, Decoder ours, Decoder peer)
{
    if (argc < 2 || strcmp(argv[1], "--measure") != 0)
        return false;
#ifndef _WIN32
    const Decoder decoders[2] = {ours, peer};
    if (argc == 7 && strcmp(argv[2], "time") == 0)
        printf("%s\n", TimeHere(decoders, kPolicies[atoi(argv[3]) ? 1 : 0], argv[4], strtoull(argv[5], nullptr, 10),
                                atoi(argv[6])).c_str());
    else if (argc == 5 && strcmp(argv[2], "peak") == 0)
        printf("%s\n", PeakHere(decoders[atoi(argv[3]) ? 1 : 0].decode, argv[4]).c_str());
#else
    (void)argv, (void)ours, (void)peer; // every figure is taken in this process
#endif
    return true;
}

void PrintDecodeTable(const char *title, const std::vector<DecodeForm> &forms, Decoder ours, Decoder peer,
                      int rounds)
{
    printf("%s: MB/s of output (10^6 bytes, %s, median of %d rounds), peak resident MB per decode\n", title,
           kClock, rounds);
    printf("%-22s %10s %10s %7s %10s %10s %10s\n", "form", "ours", peer.name, "ratio", "ours peak", "peer peak",
           "output MB");
    const Decoder decoders[2] = {ours, peer};
    for (const DecodeForm &form : forms)
        for (int policy = 0; policy < int(sizeof kPolicies / sizeof kPolicies[0]); ++policy) {
            const std::vector<double> figures = Measure(decoders, policy, form, rounds, policy == 0);
            printf("%-22s", policy == 0 ? form.name.c_str() : kPolicies[policy].label);
            PrintFigure(figures[0], 11);
            PrintFigure(figures[1], 11);
            PrintFigure(figures[0] > 0 && figures[1] > 0 ? figures[0] / figures[1] : -1, 8, 2);
            if (policy == 0) {
                PrintFigure(figures[2], 11);
                PrintFigure(figures[3], 11);
                PrintFigure(double(form.outputBytes) / kMega, 11);
            }
            printf("\n");
            fflush(stdout);
        }
}

std::string WriteBenchFile(const std::string &name, const std::vector<unsigned char> &bytes)
{
    const std::string path = (std::filesystem::temp_directory_path() / ("ov_bench_" + name)).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}
