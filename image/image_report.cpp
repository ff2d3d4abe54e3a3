// Failure messages of both image readers: the box shows the specified text,
// the record names the file.
#include "image_report.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "common/error_report.h"
#include "file_names.h"
#include "image/image.h"
#include "platform/platform.h"

namespace {

constexpr size_t kMessageLimit = kErrorTextLimit; // what a box shows
constexpr size_t kRecordNameLimit = 400;

int32_t CodeOf(const char *text)
{
    if (text == kImageOutOfMemory)
        return TK_ERROR_OUT_OF_MEMORY;
    if (text == kImagePixelLimit)
        return TK_ERROR_PIXEL_LIMIT;
    if (text == kDibConversionError)
        return TK_ERROR_CONVERSION;
    return TK_ERROR_FILE_FORMAT;
}

// The name as the record shows it: an 8-bit name as given, a UTF-16 one as UTF-8.
void RecordName(const void *name, bool wide, char (&out)[kRecordNameLimit + 1])
{
    if (wide) {
        Utf16ToUtf8(static_cast<const WCHAR *>(name), out, kRecordNameLimit);
        return;
    }
    const char *text = static_cast<const char *>(name);
    size_t length = strnlen(text, kRecordNameLimit + 1);
    if (length > kRecordNameLimit)
        length = WholeCharacterCut(text, kRecordNameLimit);
    memcpy(out, text, length);
    out[length] = '\0';
}

size_t NameLength(const void *name, bool wide)
{
    size_t length = 0;
    if (wide) {
        const WCHAR *text = static_cast<const WCHAR *>(name);
        while (text[length] != 0)
            ++length;
    } else {
        length = strlen(static_cast<const char *>(name));
    }
    return length;
}

// Steps a cut back so that it does not split a character of the name.
size_t SafeCut(const void *name, bool wide, size_t cut)
{
    if (!wide)
        return WholeCharacterCut(static_cast<const char *>(name), cut);
    const WCHAR *text = static_cast<const WCHAR *>(name);
    if (cut > 0 && text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF)
        --cut;
    return cut;
}

// The first count characters of the name, terminated, in the buffer of its width.
void CopyNamePrefix(const void *name, bool wide, size_t count, WCHAR *wideCut, char *narrowCut)
{
    if (wide) {
        memcpy(wideCut, name, count * sizeof(WCHAR));
        wideCut[count] = 0;
    } else {
        memcpy(narrowCut, name, count);
        narrowCut[count] = '\0';
    }
}

int Format(char *out, const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    int length = platform.wvsprintfA(out, format, arguments);
    va_end(arguments);
    return length;
}

} // namespace

void ReportImageFailure(const char *text, const void *name, bool wide)
{
    char shown[kRecordNameLimit + 1] = "(null)";
    if (name != nullptr)
        RecordName(name, wide, shown);
    char record[kRecordNameLimit + 64];
    snprintf(record, sizeof record, "%s: %s", shown, text);
    ReportFailure(CodeOf(text), record, text);
}

void ReportImageOpenFailure(const char *narrowFormat, const char *wideFormat, const void *name, bool wide)
{
    static const char kNullName[] = "(null)";
    if (name == nullptr) {
        name = kNullName;
        wide = false;
    }
    const char *format = wide ? wideFormat : narrowFormat;

    // A character may widen when written out as 8-bit text, so the longest
    // prefix of the name whose message fits is searched for.
    WCHAR wideCut[kMessageLimit + 1];
    char narrowCut[kMessageLimit + 1];
    char message[kFormatterLimit + 1] = {};
    auto formatWith = [&](size_t count) {
        CopyNamePrefix(name, wide, SafeCut(name, wide, count), wideCut, narrowCut);
        int length = wide ? Format(message, format, wideCut) : Format(message, format, narrowCut);
        return length >= 0 && static_cast<size_t>(length) <= kMessageLimit;
    };
    size_t fitting = 0;
    size_t longest = NameLength(name, wide);
    if (longest > kMessageLimit)
        longest = kMessageLimit;
    while (fitting < longest) {
        size_t middle = (fitting + longest + 1) / 2;
        if (formatWith(middle))
            fitting = middle;
        else
            longest = middle - 1;
    }
    formatWith(fitting);
    char shown[kRecordNameLimit + 1];
    RecordName(name, wide, shown);
    char record[kFormatterLimit + 1] = {};
    Format(record, narrowFormat, shown);
    ReportFailure(TK_ERROR_FILE_OPEN, record, message);
}
