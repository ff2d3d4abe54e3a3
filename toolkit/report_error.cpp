// The toolkit's error reporter, also used by the image readers.
#include <stdarg.h>
#include <string.h>

#include "platform/platform.h"
#include "toolkit/toolkit_state.h"

namespace {

// wvsprintfA writes at most 1024 characters, the terminator included.
constexpr int kFormatterLimit = 1024;

// Length of text cut to at most limit bytes. The portable build's texts are
// UTF-8, so the cut never splits a character there.
size_t CutLength(const char *text, size_t limit)
{
    size_t length = strnlen(text, limit + 1);
    if (length <= limit)
        return length;
    length = limit;
#ifndef _WIN32
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
#endif
    return length;
}

} // namespace

void ReportError(const char *format, ...)
{
    char scratch[kFormatterLimit + 1] = {};
    va_list arguments;
    va_start(arguments, format);
    platform.wvsprintfA(scratch, format, arguments);
    va_end(arguments);

    char text[kErrorTextLimit + 1];
    size_t length = CutLength(scratch, kErrorTextLimit);
    memcpy(text, scratch, length);
    text[length] = '\0';

    if (toolkitState.errorBoxes)
        platform.MessageBoxA(platform.GetFocus(), text, "Error", MB_OK);
}
