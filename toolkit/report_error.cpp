// The toolkit's error reporter, also used by the image readers.
#include <stdarg.h>
#include <string.h>

#include "platform/platform.h"
#include "toolkit/toolkit_state.h"

namespace {

// wvsprintfA writes at most 1024 characters, the terminator included.
constexpr int kFormatterLimit = 1024;

// Length of text cut to at most limit bytes.
size_t CutLength(const char *text, size_t limit)
{
    size_t length = strnlen(text, limit + 1);
    return length <= limit ? length : WholeCharacterCut(text, limit);
}

} // namespace

size_t WholeCharacterCut(const char *text, size_t cut)
{
#ifndef _WIN32
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
#else
    (void)text;
#endif
    return cut;
}

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
