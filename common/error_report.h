// How the libraries report a failure: the calling thread's record, the
// program's callback and, for the specified entry points, the "Error" box
// under the one switch. The toolkit, the image readers and the texture table
// all report through here.
#ifndef COMMON_ERROR_REPORT_H
#define COMMON_ERROR_REPORT_H

#include <stddef.h>
#include <stdint.h>

#include "toolkit/tk_error.h"

// The texts the boxes show hold at most this many bytes.
constexpr int kErrorTextLimit = 255;

// What the platform's wvsprintfA writes at most, the terminator included.
constexpr int kFormatterLimit = 1024;

// Formats with the platform's wsprintf rules, cuts to kErrorTextLimit bytes,
// records the text under code and shows it in an "Error" box while boxes are on.
void ReportError(int32_t code, const char *format, ...);

// Records recordText (without a final line feed) under code, calls the
// program's callback, then shows boxText, when not null, while boxes are on.
void ReportFailure(int32_t code, const char *recordText, const char *boxText);

// Whether a failure on this thread would show its box now.
bool ErrorBoxesOn();

// No box on this thread while one of these lives: for entry points that
// report through the record alone.
class QuietFailures {
public:
    QuietFailures();
    ~QuietFailures();
    QuietFailures(const QuietFailures &) = delete;
    QuietFailures &operator=(const QuietFailures &) = delete;
};

// Where a cut of 8-bit text at most cut bytes long must stop so that it keeps
// whole characters: the portable build's texts are UTF-8, so the cut steps
// back over continuation bytes; Windows' 8-bit texts are taken as one byte a
// character. text holds at least cut bytes.
size_t WholeCharacterCut(const char *text, size_t cut);

#endif
