#include "file_names.h"

#include <stdint.h>
#include <string.h>

namespace {

size_t EncodeUtf8(uint32_t c, char *out)
{
    if (c < 0x80) {
        out[0] = char(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = char(0xC0 | c >> 6);
        out[1] = char(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = char(0xE0 | c >> 12);
        out[1] = char(0x80 | (c >> 6 & 0x3F));
        out[2] = char(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = char(0xF0 | c >> 18);
    out[1] = char(0x80 | (c >> 12 & 0x3F));
    out[2] = char(0x80 | (c >> 6 & 0x3F));
    out[3] = char(0x80 | (c & 0x3F));
    return 4;
}

bool IsHigh(uint32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(uint32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The code point at text, or 0xFFFFFFFF for a byte sequence that is not UTF-8
// (overlong, a surrogate, beyond U+10FFFF, cut short); *length its bytes.
uint32_t DecodeUtf8(const unsigned char *text, size_t *length)
{
    static const uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    const unsigned char lead = text[0];
    size_t extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : 4;
    if (extra == 4)
        return UINT32_MAX;
    uint32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (size_t i = 1; i <= extra; ++i) {
        if ((text[i] & 0xC0) != 0x80) // the terminator stops here too
            return UINT32_MAX;
        c = c << 6 | (text[i] & 0x3F);
    }
    *length = extra + 1;
    if (c < kLeast[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return UINT32_MAX;
    return c;
}

} // namespace

size_t Utf16ToUtf8(const WCHAR *name, char *out, size_t limit)
{
    size_t at = 0;
    for (size_t i = 0; name[i] != 0; ++i) {
        uint32_t c = name[i];
        if (IsHigh(c) && IsLow(name[i + 1]))
            c = 0x10000 + ((c - 0xD800) << 10) + (name[++i] - 0xDC00);
        else if (IsHigh(c) || IsLow(c))
            c = 0xFFFD;
        char bytes[4];
        const size_t length = EncodeUtf8(c, bytes);
        if (at + length > limit)
            break;
        memcpy(out + at, bytes, length);
        at += length;
    }
    out[at] = '\0';
    return at;
}

bool Utf8ToUtf16(const char *name, std::vector<WCHAR> *out)
{
    std::vector<WCHAR> wide;
    const unsigned char *text = reinterpret_cast<const unsigned char *>(name);
    while (*text != 0) {
        size_t length = 0;
        const uint32_t c = DecodeUtf8(text, &length);
        if (c == UINT32_MAX)
            return false;
        if (c < 0x10000) {
            wide.push_back(WCHAR(c));
        } else {
            wide.push_back(WCHAR(0xD800 + ((c - 0x10000) >> 10)));
            wide.push_back(WCHAR(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
        text += length;
    }
    wide.push_back(0);
    *out = std::move(wide);
    return true;
}
