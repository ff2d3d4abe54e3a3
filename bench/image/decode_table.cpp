#include "bench/image/decode_table.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

constexpr double kMega = 1e6;

// Process CPU time where the system keeps it, so that other processes on
// the machine weigh less; the page faults of a decode are in it.
#ifdef _WIN32
const char *const kClock = "wall time";
#else
const char *const kClock = "CPU time";
#endif

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

// The resident memory of one decode in a fresh process (this program again,
// run as "--peak DECODER FILE"), above what it held before: the file's mapped
// pages, every buffer and the output. Negative when the decode was refused or
// the system cannot tell.
double PeakMegabytes(int decoder, const char *path)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return -1;
    pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        std::string which = std::to_string(decoder);
        execl("/proc/self/exe", "bench", "--peak", which.c_str(), path, (char *)nullptr);
        _exit(1);
    }
    close(pipeEnds[1]);
    char answer[64] = {};
    pollfd ready{pipeEnds[0], POLLIN, 0};
    if (child > 0 && poll(&ready, 1, 60000) == 1 && read(pipeEnds[0], answer, sizeof answer - 1) <= 0)
        answer[0] = 0;
    close(pipeEnds[0]);
    if (child > 0) {
        kill(child, SIGKILL); // ended already, or stuck
        waitpid(child, nullptr, 0);
    }
    long peak = answer[0] ? atol(answer) : -1;
    return peak < 0 ? -1 : double(peak) * 1024 / kMega;
}

long PeakKilobytesHere(DecodeFunction decode, const char *path)
{
    FILE *reset = fopen("/proc/self/clear_refs", "w");
    bool resettable = reset && fputs("5", reset) >= 0;
    if (reset && fclose(reset) != 0)
        resettable = false;
    long before = StatusKilobytes("VmRSS:");
    bool decoded = decode(path);
    return resettable && decoded ? StatusKilobytes("VmHWM:") - before : -1;
}
#else
double PeakMegabytes(int, const char *) { return -1; }
long PeakKilobytesHere(DecodeFunction, const char *) { return -1; }
#endif

struct Figures {
    double megabytesPerSecond = -1;
    double peakMegabytes = -1;
};

void PrintFigure(double value, int width, int decimals = 1)
{
    if (value < 0)
        printf("%*s", width, "-");
    else
        printf("%*.*f", width, decimals, value);
}

} // namespace

bool MeasurePeakIfAsked(int argc, char **argv, Decoder ours, Decoder peer)
{
    if (argc != 4 || strcmp(argv[1], "--peak") != 0)
        return false;
    printf("%ld\n", PeakKilobytesHere(atoi(argv[2]) == 0 ? ours.decode : peer.decode, argv[3]));
    return true;
}

void PrintDecodeTable(const char *title, const std::vector<DecodeForm> &forms, Decoder ours, Decoder peer,
                      int rounds)
{
    printf("%s: MB/s of output (10^6 bytes, %s, median of %d rounds), peak resident MB per decode\n", title,
           kClock, rounds);
    printf("%-22s %10s %10s %7s %10s %10s %10s\n", "form", "ours", peer.name, "ratio", "ours peak", "peer peak",
           "output MB");
    for (const DecodeForm &form : forms) {
        Figures figures[2];
        const Decoder decoders[2] = {ours, peer};
        std::vector<double> times[2];
        bool refused[2] = {!ours.decode(form.path.c_str()), !peer.decode(form.path.c_str())}; // warm the file
        for (int round = 0; round < rounds; ++round)
            for (int which = 0; which < 2; ++which) {
                if (refused[which])
                    continue;
                double start = Seconds();
                decoders[which].decode(form.path.c_str());
                times[which].push_back(Seconds() - start);
            }
        for (int which = 0; which < 2; ++which)
            if (!refused[which]) {
                figures[which].megabytesPerSecond = double(form.outputBytes) / kMega / Median(times[which]);
                figures[which].peakMegabytes = PeakMegabytes(which, form.path.c_str());
            }
        printf("%-22s", form.name.c_str());
        PrintFigure(figures[0].megabytesPerSecond, 11);
        PrintFigure(figures[1].megabytesPerSecond, 11);
        bool both = !refused[0] && !refused[1];
        PrintFigure(both ? figures[0].megabytesPerSecond / figures[1].megabytesPerSecond : -1, 8, 2);
        PrintFigure(figures[0].peakMegabytes, 11);
        PrintFigure(figures[1].peakMegabytes, 11);
        PrintFigure(double(form.outputBytes) / kMega, 11);
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
