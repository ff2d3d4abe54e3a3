// A reader beside its peer on the same files, one line per file: MB/s of
// output for each (CPU time per decode, the median of alternating rounds),
// their ratio, and the resident memory each decode held at its peak beside
// the output's size; where the C library is glibc, a second line with the
// heap keeping freed memory for the next picture. Each figure comes from a
// process of its own. Not a test: nothing here passes or fails.
#ifndef BENCH_IMAGE_DECODE_TABLE_H
#define BENCH_IMAGE_DECODE_TABLE_H

#include <stdint.h>

#include <string>
#include <vector>

// Decodes the file once and frees the picture; false when refused.
using DecodeFunction = bool (*)(const char *path);

struct Decoder {
    const char *name;
    DecodeFunction decode;
};

struct DecodeForm {
    std::string name;
    std::string path;
    uint64_t outputBytes; // width x height x 3
};

// True in a process the table runs to measure (this program again, with
// "--measure ..."): it has printed its figures and should end.
bool MeasureIfAsked(int argc, char **argv, Decoder ours, Decoder peer);

void PrintDecodeTable(const char *title, const std::vector<DecodeForm> &forms, Decoder ours, Decoder peer,
                      int rounds);

// In the system's temp folder.
std::string WriteBenchFile(const std::string &name, const std::vector<unsigned char> &bytes);

#endif
