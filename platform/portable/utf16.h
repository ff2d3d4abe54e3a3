// Windows names and texts are UTF-16; the portable build's are UTF-8.
#ifndef PLATFORM_PORTABLE_UTF16_H
#define PLATFORM_PORTABLE_UTF16_H

#include <string>

#include "platform/platform.h"

// Converts up to maxUnits units, stopping at a zero unit. An unpaired
// surrogate becomes U+FFFD.
inline std::string Utf16ToUtf8(const WCHAR *text, size_t maxUnits = static_cast<size_t>(-1))
{
    std::string out;
    for (size_t i = 0; i < maxUnits && text[i] != 0; ++i) {
        uint32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < maxUnits && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            out += char(code);
        } else if (code < 0x800) {
            out += char(0xC0 | code >> 6);
            out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += char(0xE0 | code >> 12);
            out += char(0x80 | (code >> 6 & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xF0 | code >> 18);
            out += char(0x80 | (code >> 12 & 0x3F));
            out += char(0x80 | (code >> 6 & 0x3F));
            out += char(0x80 | (code & 0x3F));
        }
    }
    return out;
}

#endif
