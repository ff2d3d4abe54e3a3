// The per-thread failure record, the program's callback and the box switch,
// shared by the toolkit, the image readers and the texture table.
#include "error_report.h"

#include <stdarg.h>
#include <string.h>
#include <atomic>

#include "platform/platform.h"

namespace {

constexpr size_t kRecordTextLimit = 511;

struct FailureRecord {
    int32_t code;
    char text[kRecordTextLimit + 1];
};

thread_local FailureRecord lastFailure = {TK_ERROR_NONE, ""};
thread_local int quietDepth = 0;
thread_local bool inCallback = false;

// Settings a program may change while another thread fails.
std::atomic<uint8_t> boxesShown{1};
std::atomic<TkErrorCallback> errorCallback{nullptr};

// Length of text cut to at most limit bytes.
size_t CutLength(const char *text, size_t limit)
{
    size_t length = strnlen(text, limit + 1);
    return length <= limit ? length : WholeCharacterCut(text, limit);
}

// The record is UTF-8 on both builds.
size_t Utf8CutLength(const char *text, size_t limit)
{
    size_t length = strnlen(text, limit + 1);
    if (length <= limit)
        return length;
    while (limit > 0 && (static_cast<unsigned char>(text[limit]) & 0xC0) == 0x80)
        --limit;
    return limit;
}

void Record(int32_t code, const char *text)
{
    if (!text)
        text = "";
    size_t length = Utf8CutLength(text, kRecordTextLimit);
    if (length > 0 && text[length - 1] == '\n')
        --length;
    memmove(lastFailure.text, text, length); // text may be the record itself
    lastFailure.text[length] = '\0';
    lastFailure.code = code;
    const TkErrorCallback callback = errorCallback.load();
    if (callback && !inCallback) {
        inCallback = true;
        callback(code, lastFailure.text);
        inCallback = false;
    }
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

bool ErrorBoxesOn()
{
    return quietDepth == 0 && boxesShown.load() != 0;
}

QuietFailures::QuietFailures() { ++quietDepth; }
QuietFailures::~QuietFailures() { --quietDepth; }

void ReportFailure(int32_t code, const char *recordText, const char *boxText)
{
    Record(code, recordText);
    if (boxText && ErrorBoxesOn())
        platform.MessageBoxA(platform.GetFocus(), boxText, "Error", MB_OK);
}

void ReportError(int32_t code, const char *format, ...)
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
    ReportFailure(code, text, text);
}

extern "C" {

int32_t tkLastError(void) { return lastFailure.code; }
const char *tkLastErrorText(void) { return lastFailure.text; }

void tkClearLastError(void)
{
    lastFailure.code = TK_ERROR_NONE;
    lastFailure.text[0] = '\0';
}

void tkOnError(TkErrorCallback callback) { errorCallback.store(callback); }
void tkRecordError(int32_t code, const char *text) { Record(code, text); }
void tkShowErrorBoxes(uint8_t flag) { boxesShown.store(flag); }

} // extern "C"
