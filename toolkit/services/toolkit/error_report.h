// The toolkit's error reporter, which the image readers share: the one
// switch errorBoxes decides for both whether their messages are shown.
#ifndef TOOLKIT_ERROR_REPORT_H
#define TOOLKIT_ERROR_REPORT_H

#include <stddef.h>

// The texts the reporter shows hold at most this many bytes.
constexpr int kErrorTextLimit = 255;

// Formats with the platform's wsprintf rules, cuts to kErrorTextLimit bytes
// and shows the text in an "Error" box while errorBoxes is on.
void ReportError(const char *format, ...);

// Where a cut of 8-bit text at most cut bytes long must stop so that it keeps
// whole characters: the portable build's texts are UTF-8, so the cut steps
// back over continuation bytes; Windows' 8-bit texts are taken as one byte a
// character. text holds at least cut bytes.
size_t WholeCharacterCut(const char *text, size_t cut);

#endif
